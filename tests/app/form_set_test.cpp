// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form_set.h"
#include "controls/mixer_ctrl.h"
#include "support/fake_media_device.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "settings/ini_document.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

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

// The start makes every window hidden; only the main window shows, when the program shows it.
// Each framed window has a title of its own, by which a user tells them apart in the task bar.
TEST(FormSet, CreatesEveryWindowHiddenWithATitleOfItsOwn) {
    Fixture f;
    f.forms.CreateAll();
    FormModel* const forms[] = {
        &f.forms.FormMain, &f.forms.FormSetUp,   &f.forms.FormList,   &f.forms.FormManage,
        &f.forms.FormMsg,  &f.forms.FormPattern, &f.forms.FormMode,   &f.forms.FormView,
        &f.forms.FormMidi, &f.forms.FormReader,  &f.forms.FormLyrics,
    };
    std::set<std::string> titles;
    for (FormModel* form : forms) {
        EXPECT_FALSE(form->Visible) << form->Caption;
        if (form->Borderless)
            continue;
        EXPECT_FALSE(form->Caption.empty());
        EXPECT_TRUE(titles.insert(form->Caption).second) << "a second " << form->Caption;
    }
    EXPECT_TRUE(f.forms.FormMain.Borderless);
    EXPECT_EQ(f.cd.calls, std::vector<std::string>{"open"});
}

// What a first start saves, untouched, is what the next start reads as a first start would: each
// key the program writes is one it knows, of its type, and holds that key's default except for
// the places and sizes the windows were given.
TEST(FormSet, AFirstStartSavesTheDefaultsItStartedWith) {
    Fixture f;
    f.forms.CreateAll();
    f.forms.FormMain.SpeedButtonPOWMouseDown(MouseButton::Right);
    f.forms.FormSetUp.SaveSetupSettings();
    f.forms.FormMidi.FormClose();
    f.forms.FormMidi.SaveFolderList();

    const IniSnapshot saved(f.forms.FormMain.Paths.SettingsPath);
    ASSERT_TRUE(saved.exists());
    std::ifstream file(f.dir.path() / "TOBIRA.INI", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    for (const auto& [name, value] : IniDocument::indexSection(bytes, kSettingsSection))
        EXPECT_NE(FindSettingKey(name), nullptr) << "an unknown key " << name;
    int written = 0;
    for (const SettingKeyInfo& key : SettingKeyTable()) {
        const std::string missing = "\x01missing";
        const std::string value = saved.readString(kSettingsSection, key.name, missing);
        if (value == missing)
            continue;
        ++written;
        const auto names = [&](std::string_view part) {
            return key.name.find(part) != std::string_view::npos;
        };
        if (names("POS") || names("WID") || names("HEI"))
            continue; // where the window manager put a window, and the size it was given
        switch (key.type) {
        case SettingType::String:
            EXPECT_EQ(value, key.textFallback) << key.name;
            break;
        case SettingType::Integer:
        case SettingType::Boolean:
            EXPECT_EQ(saved.readInteger(kSettingsSection, key.name, key.numberFallback - 1),
                      key.numberFallback)
                << key.name << "=" << value;
            break;
        }
    }
    EXPECT_GT(written, 30);
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
