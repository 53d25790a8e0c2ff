// SPDX-License-Identifier: GPL-3.0-or-later
// The devices in real time: SDL's audio thread pulls the engine, the CD worker reads ahead and
// FluidSynth renders, and the song's end reaches the UI thread through the Qt port's post. The
// thread-checking build runs this to see every hand-over between those threads.
#include "app/qt/qt_event_loop.h"
#include "media/audio_engine.h"
#include "media/cd/cd_device.h"
#include "media/cd/cue_bin_writer.h"
#include "media/midi/midi_device.h"
#include "media/output/sdl_audio_output.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "support/wait_until.h"
#include "forms/views/worker_wait.h"

#include <QApplication>
#include <QTest>
#include <QThread>

using namespace tobira;

class RealTimePlayTest : public QObject {
    Q_OBJECT

  private slots:
    void songEndReachesTheUiThreadOnceWhileTheCdPlays() {
        testing::TempDir dir;
        const CueImage image = WriteCueBin(dir.path(), "disc", {{.seconds = 10}, {.seconds = 10}});
        testing::SmfWriter song(0, 480);
        song.note(0, 0, 0, 60, 100, 240);
        song.endOfTrack(0, 300);
        song.write(dir / "song.mid");

        WorkerWait workerWait;
        QtEventLoop eventLoop{workerWait};
        AudioEngine engine;
        CdDevice cd(engine);
        MidiDevice midi(engine, eventLoop);
        int ends = 0;
        bool onUiThread = true;
        midi.setNotifyHandler([&](NotifyValue value) {
            onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
            if (value == NotifyValue::Successful)
                ++ends;
        });
        midi.setSoundFont(TOBIRA_TEST_SOUNDFONT);
        midi.setFileName((dir / "song.mid").string());
        midi.open();
        cd.setFileName(image.cue.string());
        cd.open();
        cd.waitIdle(); // the worker reads the disc first

        SdlAudioOutput output(engine);
        QCOMPARE(output.open(), std::string());
        output.play();
        cd.playFrom(PackTmsf(2, 0, 0, 0));
        for (int round = 0; round < 3; ++round) {
            midi.play();
            QVERIFY(testing::WaitUntil([&] { return ends > round; }));
            QCOMPARE(ends, round + 1);
        }
        QVERIFY(onUiThread);
        // The worker seeks first, then the audio thread plays on from the start of track 2.
        QVERIFY(testing::WaitUntil([&] { return cd.position() >= PackTmsf(2, 0, 1, 0); }));
        QCOMPARE(static_cast<int>(TmsfTrack(cd.position())), 2);
        output.close();
        cd.close();
        midi.close();
        // Whatever the devices posted before they closed arrives now; nothing may be a fourth.
        QCoreApplication::processEvents();
        QCOMPARE(ends, 3);
    }
};

QTEST_MAIN(RealTimePlayTest)
#include "real_time_play_test.moc"
