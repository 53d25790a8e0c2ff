// SPDX-License-Identifier: GPL-3.0-or-later
// The part display over the real sequencer, the clock being the sound rendered: it shows what
// the song sets on each part and on the module, its meters follow the parts, mute and solo act
// on the sound and last for the song, and a karaoke song's melody can be turned off.
#include "forms/views/view_hub.h"
#include "forms/views/worker_wait.h"
#include "midi_windows/views/form_parts_widget.h"
#include "midi_windows/views/part_meter.h"
#include "support/midi_fixture.h"

#include <QEvent>
#include <QLabel>
#include <QTest>
#include <QToolButton>

using namespace tobira;
using tobira::testing::SmfWriter;

namespace {

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

std::vector<std::uint8_t> GsSet(std::uint8_t a1, std::uint8_t a2, std::uint8_t a3,
                                std::uint8_t value) {
    const int sum = a1 + a2 + a3 + value;
    return {0x41, 0x10,  0x42,
            0x12, a1,    a2,
            a3,   value, static_cast<std::uint8_t>((128 - sum % 128) % 128),
            0xF7};
}

// Eight seconds of GS: Hall 1, piano on part 1, strings on part 2, drums on part 10.
SmfWriter GsSong() {
    SmfWriter w(0, 480);
    w.gsReset(0, 0);
    w.sysex(0, 10, GsSet(0x40, 0x01, 0x30, 0x03));
    w.programChange(0, 20, 1, 48);
    for (std::uint32_t tick = 240; tick < 7680; tick += 240) {
        w.note(0, tick, 0, 60, 100, 200);
        w.note(0, tick, 1, 67, 100, 200);
        w.note(0, tick, 9, 36, 110, 100);
    }
    w.endOfTrack(0, 7680);
    return w;
}

// A karaoke song: its syllables on part 3's notes, an accompaniment on the same beats and
// between them on part 1.
SmfWriter KaraokeSong() {
    SmfWriter w(1, 480);
    const int words = w.addTrack();
    for (std::uint32_t tick = 240; tick < 3840; tick += 480) {
        w.note(0, tick, 2, 72, 100, 400);
        w.note(0, tick, 0, 48, 90, 200);
        w.note(0, tick + 240, 0, 55, 90, 200);
        w.text(words, tick, 0x05, "la ");
    }
    w.endOfTrack(0, 3840);
    return w;
}

} // namespace

class PartsViewTest : public QObject {
    Q_OBJECT

    struct World : tobira::testing::MidiFixture {
        WorkerWait workerWait;
        ViewHub hub{workerWait};
        TFormParts& parts = forms.FormParts;
        FormPartsWidget partsView{forms.FormParts, hub};
        int redraws = 0;
        World() {
            hub.add(&partsView);
            GsSong().write(PathFromCp932(path("gs.mid")));
            KaraokeSong().write(PathFromCp932(path("karaoke.mid")));
            writeList({{"A GS", "gs.mid"}, {"B Karaoke", "karaoke.mid"}}, false);
        }
        // `seconds` of sound, the meters' tick after each tenth; the window is drawn when the
        // tick says something changed, as its timer does.
        void run(double seconds) {
            for (int i = 0; i < static_cast<int>(seconds * 10 + 0.5); ++i) {
                advance(0.1);
                if (parts.TimerPartsTimer()) {
                    ++redraws;
                    partsView.render();
                }
                QCoreApplication::processEvents();
            }
        }
        QString text(const char* name) { return partsView.findChild<QLabel*>(name)->text(); }
        int lit(int part) {
            return partsView.findChild<PartMeter*>(QStringLiteral("Meter%1").arg(part))->lit();
        }
        void click(const QString& name) {
            QTest::mouseClick(partsView.findChild<QToolButton*>(name), Qt::LeftButton);
        }
    };

  private slots:
    void partsFollowTheSongAndTheListener() {
        World w;
        w.press(&TFormMain::SpeedButtonPLAYClick);
        w.view.SpeedButtonPartsClick();
        w.hub.refreshAll();
        QVERIFY(w.partsView.isVisible());
        w.run(1.0);
        QCOMPARE(w.text("LabelMode"), QStringLiteral("GS"));
        QCOMPARE(w.text("LabelReverb"), QStringLiteral("Hall 1"));
        QCOMPARE(w.text("LabelMaster"), QStringLiteral("100%"));
        QVERIFY(w.text("LabelInstrument1").startsWith(QStringLiteral("000:000 ")));
        QVERIFY(w.text("LabelInstrument2").startsWith(QStringLiteral("000:048 ")));
        QVERIFY(w.text("LabelInstrument10").startsWith(QStringLiteral("Drum 000 ")));
        QVERIFY(w.text("LabelInstrument10").size() > 9); // the kit's name
        for (int part : {1, 2, 10})
            QVERIFY2(w.lit(part) > 0, qPrintable(QStringLiteral("part %1").arg(part)));
        QCOMPARE(w.lit(5), 0);

        // A silent part's meter is never redrawn; the window only when something changed.
        PaintCounter silent;
        w.partsView.findChild<PartMeter*>(QStringLiteral("Meter5"))->installEventFilter(&silent);
        const int redrawsBefore = w.redraws;
        w.run(1.0);
        QCOMPARE(silent.paints, 0);
        QVERIFY(w.redraws - redrawsBefore <= 10);

        // Mute part 2, then solo the drums: at once, and only those parts fall silent.
        w.click(QStringLiteral("SpeedButtonMute2"));
        w.run(1.5);
        QCOMPARE(w.lit(2), 0);
        QVERIFY(w.lit(1) > 0 && w.lit(10) > 0);
        w.click(QStringLiteral("SpeedButtonSolo10"));
        w.run(1.5);
        QCOMPARE(w.lit(1), 0);
        QVERIFY(w.lit(10) > 0);
        QVERIFY(
            w.partsView.findChild<QToolButton*>(QStringLiteral("SpeedButtonSolo10"))->isChecked());
        QVERIFY(!w.parts.SpeedButtonMelody.Enabled);

        // The next song, a karaoke one: mute and solo are gone; its melody is part 3.
        w.press(&TFormMain::SpeedButtonNXTClick);
        w.run(1.0);
        QVERIFY(
            !w.partsView.findChild<QToolButton*>(QStringLiteral("SpeedButtonSolo10"))->isChecked());
        QCOMPARE(w.parts.MelodyPart(), 2);
        QVERIFY(w.lit(3) > 0 && w.lit(1) > 0);
        w.click(QStringLiteral("SpeedButtonMelody"));
        w.run(1.5);
        QCOMPARE(w.lit(3), 0);
        QVERIFY(w.lit(1) > 0);

        // Closing the window stops the metering; the meters rest.
        w.partsView.close();
        QVERIFY(!w.parts.TimerPartsEnabled);
    }
};

QTEST_MAIN(PartsViewTest)
#include "parts_view_test.moc"
