// SPDX-License-Identifier: GPL-3.0-or-later
// The views of the setup window, the MIDI selector and the author window: clicks reach the
// models and the widgets show them. With TOBIRA_SCREENSHOTS set to a folder, each case also saves
// a picture of its window there.
#include "windows/views/form_msg_widget.h"
#include "app/form_set.h"
#include "forms/views/view_hub.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "controls/views/mixer_ctrl_widget.h"
#include "media/audio_engine.h"
#include "support/fake_media_device.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"
#include "windows/views/form_midi_widget.h"
#include "windows/views/form_setup_widget.h"
#include "forms/views/worker_wait.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <fstream>

using namespace tobira;

namespace {

void saveScreenshot(QWidget& window, const char* name) {
    const QString folder = qEnvironmentVariable("TOBIRA_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QApplication::processEvents();
    window.grab().save(QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
}

} // namespace

class WindowsViewTest : public QObject {
    Q_OBJECT

    struct World {
        testing::TempDir folder;
        testing::FakePorts fakes;
        testing::FakeMediaDevice cd, midi, wave;
        AudioEngine engine;
        TMixerCtrl mixer{&engine};
        FormSet forms{fakes.ports(), DataPaths::InFolder(folder.path()),
                      MediaDevices{cd, midi, wave}, mixer};
        WorkerWait workerWait;
        ViewHub hub{workerWait};
        FormSetUpWidget setup{forms.FormSetUp, mixer, hub};
        FormMidiWidget selector{forms.FormMidi, hub};
        FormMsgWidget msg{forms.FormMsg, hub};
        World() {
            mixer.CreateWnd();
            forms.CreateAll();
            hub.refreshAll();
        }
        template <typename T> T* find(QWidget& window, const char* name) {
            return window.findChild<T*>(QString::fromLatin1(name));
        }
    };

  private slots:
    void setupWindowClicksReachTheModelAndCloseAsksAboutChanges() {
        World w;
        w.forms.FormSetUp.Show();
        w.hub.refreshAll();
        QVERIFY(w.setup.isVisible());
        QCOMPARE(w.setup.size(), QSize(w.forms.FormSetUp.Width, w.forms.FormSetUp.Height));
        auto* autoPlay = w.find<QCheckBox>(w.setup, "CheckBoxAutoPlay");
        QVERIFY(autoPlay->text() == QString::fromUtf8("ＣＤの挿入で自動的に再生開始します"));
        QTest::mouseClick(autoPlay, Qt::LeftButton);
        QVERIFY(w.forms.FormSetUp.CheckBoxAutoPlay.Down);
        auto* range5 = w.find<QToolButton>(w.setup, "SpeedButtonRatio5");
        QVERIFY(range5 != nullptr);
        QTest::mouseClick(range5, Qt::LeftButton);
        QCOMPARE(w.forms.FormSetUp.CdVolumeRange(), 5);
        QVERIFY(range5->isChecked());
        QVERIFY(!w.find<QToolButton>(w.setup, "SpeedButtonRatio3")->isChecked());
        saveScreenshot(w.setup, "setup-window");

        // The window's own close box asks; Cancel keeps it.
        w.fakes.messages.threeWayAnswers = {Answer::Cancel};
        w.setup.close();
        QCOMPARE(w.fakes.messages.asked.size(), std::size_t{1});
        QVERIFY(w.setup.isVisible());

        QTest::mouseClick(w.find<QPushButton>(w.setup, "ButtonMixer"), Qt::LeftButton);
        QVERIFY(w.setup.mixerWindow()->isVisible());
        saveScreenshot(*w.setup.mixerWindow(), "mixer-panel");
        w.setup.mixerWindow()->close();
        QVERIFY(!w.forms.FormSetUp.MixerPanelVisible);

        w.fakes.messages.threeWayAnswers = {Answer::No};
        QTest::mouseClick(w.find<QPushButton>(w.setup, "ButtonClose"), Qt::LeftButton);
        QVERIFY(!w.setup.isVisible());
    }

    void selectorShowsFoldersAndAlbumsAndForwardsClicks() {
        World w;
        IniFile file(w.forms.FormMain.Paths.SettingsPath);
        WriteSetting(file, keys::MIDIFLD(0), Utf8ToCp932("/home/user/音楽/ゲーム"));
        WriteSetting(file, keys::MIDIFLD(1), "/home/user/midi/classic");
        std::ofstream(w.folder / "Best.ABM") << "";
        std::ofstream(w.folder / "\xe5\xa4\x8f.ABM") << ""; // 夏
        w.forms.FormMidi.Show();
        w.hub.refreshAll();
        auto* list = w.find<QListWidget>(w.selector, "ListBoxFolder");
        QCOMPARE(list->count(), 4);
        QVERIFY(list->findItems(QString::fromUtf8("■ALBUM■ Best"), Qt::MatchExactly).size() == 1);
        auto* del = w.find<QToolButton>(w.selector, "SpeedButtonDel");
        QVERIFY(!del->isEnabled());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QVERIFY(del->isEnabled());
        QCOMPARE(w.forms.FormMidi.ListBoxFolderItemIndex, 0);
        saveScreenshot(w.selector, "midi-selector");

        QTest::mouseClick(w.find<QToolButton>(w.selector, "SpeedButtonRnd"), Qt::LeftButton);
        QVERIFY(w.forms.FormView.SpeedButtonRnd.Down);
        // The right button on Add browses for a folder to play once; cancelled, nothing happens.
        w.fakes.choosers.folders = {std::nullopt};
        QTest::mousePress(w.find<QToolButton>(w.selector, "SpeedButtonAdd"), Qt::RightButton);
        QVERIFY(w.fakes.choosers.folders.empty());
        QVERIFY(w.selector.isVisible());
        QTest::mouseClick(w.find<QToolButton>(w.selector, "SpeedButtonClose"), Qt::LeftButton);
        QVERIFY(!w.selector.isVisible());
        QCOMPARE(ReadSetting(IniFile(w.forms.FormMain.Paths.SettingsPath), keys::MIDIWIDTH),
                 w.forms.FormMidi.Width);
    }

    void authorWindowShowsTheFactsOfTheRun() {
        World w;
        w.forms.FormMsg.Facts = [] {
            AboutFacts facts;
            facts.Qt = "6.4.2";
            facts.SoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
            facts.CdDevice = "/dev/sr0";
            facts.Folder = "/home/user/.local/share/tobira/";
            return facts;
        };
        w.forms.FormSetUp.SpeedButton1Click();
        w.hub.refreshAll();
        QVERIFY(w.msg.isVisible());
        QVERIFY(w.find<QLabel>(w.msg, "LabelFacts")->text().contains(QStringLiteral("/dev/sr0")));
        QVERIFY(w.find<QLineEdit>(w.msg, "EditFolder")->text() ==
                QStringLiteral("/home/user/.local/share/tobira/"));
        saveScreenshot(w.msg, "author-window");
    }
};

QTEST_MAIN(WindowsViewTest)
#include "windows_view_test.moc"
