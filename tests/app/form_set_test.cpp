#include "app/form_set.h"
#include "controls/mixer_ctrl.h"
#include "support/fake_media_device.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

namespace tobira {
namespace {

struct Fixture {
    testing::TempDir dir;
    testing::FakePorts fakes;
    testing::FakeMediaDevice cd, midi, wave;
    TMixerCtrl mixer; // no mixer device
    FormSet forms{fakes.ports(), DataPaths::InFolder(dir.path()), MediaDevices{cd, midi, wave},
                  mixer};
};

TEST(FormSet, CreatesTenHiddenWindowsWithTheirCaptions) {
    Fixture f;
    f.forms.CreateAll();
    const std::pair<FormModel*, const char*> expected[] = {
        {&f.forms.FormMain, ""},
        {&f.forms.FormSetUp, "TOBIRAの設定"},
        {&f.forms.FormList, "ＣＤ トラックコントロール"},
        {&f.forms.FormManage, "ＰＡＴＴＥＲＮ ファイルの管理"},
        {&f.forms.FormMsg, "作者からのメッセージ"},
        {&f.forms.FormPattern, "ＣＤプログラムセレクタ"},
        {&f.forms.FormMode, "TOBIRA"},
        {&f.forms.FormView, "ＭＩＤＩ コントロール"},
        {&f.forms.FormMidi, "ＭＩＤＩ セレクタ"},
        {&f.forms.FormReader, "ＭＩＤＩ ドキュメント表示"},
    };
    for (auto [form, caption] : expected) {
        EXPECT_EQ(Cp932ToUtf8(form->Caption), caption);
        EXPECT_FALSE(form->Visible) << caption;
    }
    EXPECT_TRUE(f.forms.FormMain.Borderless);
    EXPECT_TRUE(f.forms.FormMode.Borderless);
    EXPECT_EQ(f.forms.FormMain.Width, 282);
    EXPECT_EQ(f.forms.FormMain.Height, 68);
    EXPECT_EQ(f.cd.calls, std::vector<std::string>{"open"});
}

TEST(FormSet, TheCdDeviceIsTheDriveOrImageNamedInTheSettings) {
    Fixture f;
    f.forms.CreateAll();
    EXPECT_EQ(f.cd.fileName(), "") << "no settings file: the first drive";

    Fixture g;
    IniFile ini(g.forms.FormMain.Paths.SettingsPath);
    WriteSetting(ini, keys::CDDEVICE, "/home/me/discs/demo.cue");
    g.forms.CreateAll();
    EXPECT_EQ(g.cd.fileName(), "/home/me/discs/demo.cue");
}

// With no position stored, the window manager places the main window, and a side window opens
// beside it the first time it shows: below, above when there is no room, else at its side.
TEST(FormSet, SideWindowsWithoutAStoredPlaceOpenBesideTheMainWindow) {
    constexpr int kFrame = 32 + 4; // the frame counted before the window manager told it
    struct Case {
        ScreenPoint main;
        bool stored;
        ScreenPoint expected;
    } cases[] = {
        {{100, 100}, false, {100, 100 + 68 + 15}},
        {{900, 420}, false, {1024 - (4 + 246 + 4), 420 - 15 - 347 - kFrame}},
        {{5, 320}, false, {5 + 282 + 15, 320}},
        {{100, 100}, true, {300, 200}},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.fakes.screen.size = {1024, 768};
        if (c.stored) {
            IniFile ini(f.forms.FormMain.Paths.SettingsPath);
            WriteSetting(ini, keys::LPOSITION, 300);
            WriteSetting(ini, keys::TPOSITION, 200);
        }
        f.forms.CreateAll();
        TFormMain& main = f.forms.FormMain;
        EXPECT_EQ(main.PlacedByPlatform, !c.stored) << "a settings file centres the main window";
        main.Left = c.main.x;
        main.Top = c.main.y;
        f.forms.FormView.FormShow();
        EXPECT_EQ(f.forms.FormView.Left, c.expected.x) << c.main.x << "," << c.main.y;
        EXPECT_EQ(f.forms.FormView.Top, c.expected.y) << c.main.x << "," << c.main.y;
    }
}

TEST(FormSet, CdDeviceThatCannotBeOpenedFailsTheCreation) {
    Fixture f;
    f.cd.failing = {"open"};
    EXPECT_THROW(f.forms.CreateAll(), DeviceError);
}

TEST(FormMain, ClosingStopsAndClosesEveryDeviceIgnoringErrors) {
    Fixture f;
    f.forms.CreateAll();
    f.cd.failing = {"stop"};
    f.midi.failing = {"stop", "close"};
    f.wave.failing = {"close"};
    EXPECT_NO_THROW(f.forms.FormMain.FormClose());
    EXPECT_EQ(f.cd.calls, (std::vector<std::string>{"open", "stop", "close"}));
    EXPECT_EQ(f.midi.calls, (std::vector<std::string>{"stop", "close"}));
    EXPECT_EQ(f.wave.calls, (std::vector<std::string>{"stop", "close"}));
}

TEST(FormMsg, EachClickShowsTheNextOfFiveMessagesInTurn) {
    TFormMsg msg;
    const std::string first = msg.LabelMessage;
    std::vector<std::string> seen{first};
    for (int i = 0; i < TFormMsg::kMessageCount - 1; ++i) {
        msg.Image1Click();
        EXPECT_EQ(std::count(seen.begin(), seen.end(), msg.LabelMessage), 0);
        seen.push_back(msg.LabelMessage);
    }
    msg.Image1Click();
    EXPECT_EQ(msg.LabelMessage, first);
}

} // namespace
} // namespace tobira
