// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program as it starts for a user: real back ends (libcdio on a disc image, FluidSynth,
// SDL's disk driver writing what would reach the speakers), the real windows offscreen.
#include "app/qt/program.h"
#include "app/qt/start_failure.h"
#include "media/cd/cue_bin_writer.h"
#include "media/media_device.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QtTest>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <vector>

using tobira::testing::TempDir;
using tobira::testing::WaitUntil;

namespace {

// Answers every message box the program shows, as it shows, and keeps its text.
class MessageCatcher final : public QObject {
  public:
    MessageCatcher() { QApplication::instance()->installEventFilter(this); }
    QStringList texts;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                texts.push_back(box->text());
                // Once its own event loop runs.
                QMetaObject::invokeMethod(box, &QMessageBox::accept, Qt::QueuedConnection);
            }
        return QObject::eventFilter(watched, event);
    }
};

QWidget* mainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QStringLiteral("FormMain"))
            return widget;
    return nullptr;
}

// Three short tones: quick to write, and loud from their first sample.
tobira::CueImage WriteDisc(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    return tobira::WriteCueBin(folder, "disc",
                               {{.seconds = 4, .frequency = 440, .level = 0.3},
                                {.seconds = 4, .frequency = 550, .level = 0.3},
                                {.seconds = 4, .frequency = 660, .level = 0.3}});
}

QString labelText(const char* name) {
    QWidget* main = mainWindow();
    auto* label = main ? main->findChild<QLabel*>(QString::fromLatin1(name)) : nullptr;
    return label ? label->text() : QString();
}

// Peak of the float samples SDL's disk driver wrote.
float peakOf(const std::filesystem::path& raw) {
    std::ifstream in(raw, std::ios::binary);
    std::vector<float> samples(44100 * 2);
    float peak = 0.0f;
    while (in.read(reinterpret_cast<char*>(samples.data()),
                   static_cast<std::streamsize>(samples.size() * sizeof(float))) ||
           in.gcount() > 0) {
        const auto n = static_cast<std::size_t>(in.gcount()) / sizeof(float);
        for (std::size_t i = 0; i < n; ++i)
            peak = std::max(peak, std::fabs(samples[i]));
        if (!in)
            break;
    }
    return peak;
}

} // namespace

class ProgramSmokeTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { setenv("SDL_AUDIODRIVER", "disk", 1); }

    void startPlayAndClose() {
        TempDir folder;
        const auto output = folder / "speakers.raw";
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        const tobira::CueImage disc = WriteDisc(folder / "disc");
        setenv("TOBIRA_CDDEVICE", disc.cue.c_str(), 1);

        MessageCatcher messages;
        auto program = std::make_unique<tobira::Program>(folder.path());
        program->start();
        QVERIFY(mainWindow() && mainWindow()->isVisible());
        // Nothing that shows, and so reaches a screen reader, lies out of the window's sight.
        for (QWidget* part : mainWindow()->findChildren<QWidget*>())
            QVERIFY2(!part->isVisible() ||
                         mainWindow()->rect().intersects(
                             QRect(part->mapTo(mainWindow(), QPoint(0, 0)), part->size())),
                     part->metaObject()->className());
        // The first ticks read the disc: the track count appears.
        QVERIFY(WaitUntil([] { return !labelText("LabelTotalMUSIC").isEmpty(); }));

        auto* play = mainWindow()->findChild<QAbstractButton*>(QStringLiteral("SpeedButtonPLAY"));
        QVERIFY(play);
        QTest::mouseClick(play, Qt::LeftButton);
        QVERIFY(WaitUntil([&] { return peakOf(output) > 0.01f; }));
        QVERIFY(messages.texts.isEmpty());

        // Closing the window ends the program with the devices let go.
        mainWindow()->close();
        program.reset();
        QVERIFY(mainWindow() == nullptr || !mainWindow()->isVisible());
    }

    // An image that cannot be read is no disc: the program runs, says why once, and NO DISC
    // shows.
    void badImageIsNoDisc_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing bin") << "missing-bin"
                                     << "見つかりません";
        QTest::newRow("garbage sheet") << "garbage"
                                       << "1 行目";
        QTest::newRow("no such path") << "nothing"
                                      << "見つかりません";
    }
    void badImageIsNoDisc() {
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        TempDir folder;
        setenv("SDL_DISKAUDIOFILE", (folder / "speakers.raw").c_str(), 1);
        const auto cue = folder / "bad.cue";
        if (kind == QStringLiteral("missing-bin")) {
            const tobira::CueImage disc = WriteDisc(folder / "disc");
            std::filesystem::copy_file(disc.cue, cue);
        } else if (kind == QStringLiteral("garbage")) {
            std::ofstream(cue) << "\x01\x02 this is not a sheet\nTRACK banana\n";
            std::ofstream(folder / "bad.bin") << "1234";
        }
        setenv("TOBIRA_CDDEVICE", cue.c_str(), 1);

        MessageCatcher messages;
        auto program = std::make_unique<tobira::Program>(folder.path());
        program->start();
        QVERIFY(mainWindow() && mainWindow()->isVisible());
        QVERIFY(WaitUntil([] { return labelText("LabelPLAY") == QStringLiteral("NO DISC"); }));
        QCOMPARE(messages.texts.size(), 1);
        QVERIFY2(messages.texts.front().contains(expected), qPrintable(messages.texts.front()));
        QVERIFY(messages.texts.front().contains(QStringLiteral("bad.")));
        program.reset();
    }

    // Only a drive held by another program gives the busy-drive message; other failures say
    // what they are.
    void startFailureNamesItsCause() {
        QCOMPARE(
            tobira::StartFailureText(tobira::DeviceBusyError("busy")),
            QStringLiteral("ＣＤドライブが既に使用されているためＴＯＢＩＲＡを起動できません"));
        const QString other = tobira::StartFailureText(std::runtime_error("no audio output"));
        QVERIFY(other.contains(QStringLiteral("no audio output")));
        QVERIFY(!other.contains(QStringLiteral("ＣＤドライブ")));
    }

    void cleanup() { unsetenv("TOBIRA_CDDEVICE"); }
};

QTEST_MAIN(ProgramSmokeTest)
#include "program_smoke_test.moc"
