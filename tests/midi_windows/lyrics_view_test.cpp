// SPDX-License-Identifier: GPL-3.0-or-later
// Karaoke songs through the real sequencer: the lyrics window and the main window's title line
// show each line in time (the clock is the sound rendered), and follow pause, NEXT and STOP.
// With TOBIRA_SCREENSHOT_DIR set, both windows are saved there as PNG files (run under xvfb-run
// to see the real fonts).
#include "forms/views/view_hub.h"
#include "midi_windows/views/form_lyrics_widget.h"
#include "player/views/form_main_widget.h"
#include "support/midi_fixture.h"
#include "forms/views/worker_wait.h"

#include <QLabel>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>

using namespace tobira;
using tobira::testing::ShortSong;
using tobira::testing::Sjis;
using tobira::testing::SmfWriter;

namespace {

// Four seconds of piano, the lyrics at the given ticks (960 a second).
SmfWriter KaraokeSong(std::uint8_t type,
                      const std::vector<std::pair<std::uint32_t, std::string>>& words) {
    SmfWriter w(1, 480);
    const int t = w.addTrack();
    for (const auto& [tick, text] : words)
        w.text(t, tick, type, text);
    for (std::uint32_t tick = 0; tick < 3840; tick += 480)
        w.note(0, tick, 0, 60, 90, 400);
    w.endOfTrack(0, 3840);
    return w;
}

QString Plain(QLabel* label) {
    QTextDocument doc;
    doc.setHtml(label->text());
    return doc.toPlainText();
}

void Save(QWidget* widget, const char* name) {
    const QByteArray folder = qgetenv("TOBIRA_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        widget->grab().save(QString::fromUtf8(folder) + QLatin1Char('/') + QLatin1String(name) +
                            QStringLiteral(".png"));
}

} // namespace

class LyricsViewTest : public QObject {
    Q_OBJECT

    struct World : tobira::testing::MidiFixture {
        WorkerWait workerWait;
        ViewHub hub{workerWait};
        TFormLyrics& lyrics = forms.FormLyrics;
        FormLyricsWidget lyricsView{forms.FormLyrics, hub};
        FormMainWidget mainView{forms.FormMain, hub};
        World() {
            hub.add(&lyricsView);
            hub.add(&mainView);
            lyrics.LyricsFont = {"IPAGothic", 12};
            setup.CheckBoxLyricLine.Down = true;
            KaraokeSong(0x01, {{0, "@KMIDI KARAOKE FILE"},
                               {0, "@TSpring"},
                               {480, "\\When "},
                               {720, "the "},
                               {960, "spring"},
                               {1920, "/comes "},
                               {2400, "again"}})
                .write(PathFromCp932(path("spring.kar")));
            KaraokeSong(0x05, {{480, Sjis("さくら")},
                               {960, Sjis("さくら\r")},
                               {1920, Sjis("やよいの")},
                               {2400, Sjis("そらは")}})
                .write(PathFromCp932(path("sakura.mid")));
            ShortSong(1.0).write(PathFromCp932(path("plain.mid")));
            // Name order plays them as listed.
            writeList({{Sjis("A Spring"), "spring.kar"},
                       {Sjis("B さくら"), "sakura.mid"},
                       {Sjis("C Plain"), "plain.mid"}},
                      false);
            lyrics.Show();
            main.Show();
        }
        // Renders `seconds`, with the lyrics window's tick every 100 ms, then draws.
        void run(double seconds) {
            for (int i = 0; i < static_cast<int>(seconds * 10 + 0.5); ++i) {
                advance(0.1);
                if (lyrics.TimerLyricsEnabled)
                    lyrics.TimerLyricsTimer();
            }
            hub.refreshAll();
        }
        QString line() { return Plain(lyricsView.findChild<QLabel*>("LabelLine")); }
        QString next() { return Plain(lyricsView.findChild<QLabel*>("LabelNext")); }
        QString title() { return mainView.findChild<QLabel*>("LabelMidiTitle")->text(); }
    };

  private slots:
    void linesFollowTheSongs() {
        World w;
        w.press(&TFormMain::SpeedButtonPLAYClick);
        w.run(0.3);
        QCOMPARE(w.line(), QString());
        QCOMPARE(w.next(), QStringLiteral("When the spring"));
        w.run(0.5); // 0.8 s: "When the " sung
        QCOMPARE(w.line(), QStringLiteral("When the spring"));
        QCOMPARE(w.next(), QStringLiteral("comes again"));
        QCOMPARE(w.lyrics.LabelLineSung, std::size_t{9});
        QCOMPARE(w.title(), QStringLiteral("When the spring"));
        Save(&w.lyricsView, "lyrics-window-kar");
        Save(&w.mainView, "main-window-lyric-line");

        // Pause holds the line; after it the song goes on.
        w.press(&TFormMain::SpeedButtonPAUSEClick);
        w.run(2.0);
        QCOMPARE(w.line(), QStringLiteral("When the spring"));
        w.press(&TFormMain::SpeedButtonPAUSEClick);
        w.run(1.3); // 2.1 s of song
        QCOMPARE(w.line(), QStringLiteral("comes again"));
        QCOMPARE(w.next(), QString());

        // NEXT: the Shift-JIS song from its start.
        w.press(&TFormMain::SpeedButtonNXTClick);
        w.run(1.1);
        QCOMPARE(w.line(), QStringLiteral("さくらさくら"));
        QCOMPARE(w.next(), QStringLiteral("やよいのそらは"));
        QCOMPARE(w.title(), QStringLiteral("さくらさくら"));
        QVERIFY(w.view.SpeedButtonLyrics.Enabled);
        Save(&w.lyricsView, "lyrics-window-sjis");
        Save(&w.mainView, "main-window-lyric-line-sjis");

        // The song without lyrics that follows changes nothing: its title line is its title.
        w.run(3.5);
        QVERIFY(!w.lyrics.HasLyrics());
        QVERIFY(!w.view.SpeedButtonLyrics.Enabled);
        QCOMPARE(w.line(), QString());
        QVERIFY(w.title().contains(QStringLiteral("Plain")));

        w.press(&TFormMain::SpeedButtonSTOPClick);
        w.run(0.1);
        QCOMPARE(w.next(), QString());
    }
};

QTEST_MAIN(LyricsViewTest)
#include "lyrics_view_test.moc"
