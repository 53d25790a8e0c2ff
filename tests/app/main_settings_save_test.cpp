#include "settings/whole_file.h"
#include "volume_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace tobira {
namespace {

using testing::MainWindowFixture;
using testing::Sjis;

std::vector<std::string> fileLines(const MainWindowFixture& f) {
    const auto bytes = ReadWholeFile(PathFromCp932(f.main.Paths.SettingsPath));
    std::vector<std::string> lines;
    std::istringstream in(bytes.value_or(""));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void setGeometry(FormModel& form, int left, int top, int width, int height) {
    form.Left = left, form.Top = top, form.Width = width, form.Height = height;
}

TEST(SaveWindowState, WritesEveryKeyInOrderFromTheWindows) {
    MainWindowFixture f;
    setGeometry(f.main, 10, 20, 282, 68);
    setGeometry(f.forms.FormList, 30, 40, 420, 185);
    setGeometry(f.forms.FormView, 50, 60, 300, 400);
    setGeometry(f.forms.FormReader, 70, 80, 500, 600);
    f.main.LabelVol.Caption = "IIIIIII";
    f.main.ProgressBarWave = 5;
    f.main.ImageLIVE = true;
    f.main.PanelPOW.Font = colors::Yellow;
    f.forms.FormView.SpeedButtonLst0.Down = false;
    f.forms.FormView.SpeedButtonLst2.Down = true;
    f.forms.FormView.SpeedButtonNor.Down = false;
    f.forms.FormView.SpeedButtonNew.Down = true;
    f.main.SaveWindowState();
    EXPECT_EQ(
        fileLines(f),
        (std::vector<std::string>{
            "[BASICDATA]",  "XPOSITION=10",       "YPOSITION=20",  "HPOSITION=30",  "VPOSITION=40",
            "LPOSITION=50", "TPOSITION=60",       "VIEWWIDTH=300", "VIEWHEIGH=400", "SPOSITION=70",
            "UPOSITION=80", "READWIDTH=500",      "READHEIGH=600", "VOLUMEPOS=7",   "VOLUMEWAV=5",
            "LIVESTATS=1",  "POWERCOLR=clYellow", "LISTSELEC=2",   "MODESELEC=1",
        }));
}

TEST(SaveWindowState, OtherColoursAndGroupsWithoutAPressedButton) {
    MainWindowFixture f;
    f.main.PanelPOW.Font = Color{0x12, 0x34, 0x56};
    f.main.LabelVol.Caption = "";
    f.forms.FormView.SpeedButtonLst0.Down = false;
    f.main.SaveWindowState();
    const auto lines = fileLines(f);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "POWERCOLR=$00563412"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "VOLUMEPOS=0"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "LIVESTATS=0"), 1);
    EXPECT_EQ(lines.back(), "MODESELEC=0") << "no source button pressed: LISTSELEC not written";
}

TEST(SaveWindowState, WhatIsSavedIsWhatTheNextStartLoads) {
    MainWindowFixture f;
    f.main.Left = 300, f.main.Top = 400;
    f.main.LabelVol.Caption = "IIIIIIIII";
    f.main.ProgressBarWave = 8;
    f.main.ImageLIVE = true;
    f.main.PanelPOW.Font = colors::Yellow;
    f.main.SaveWindowState();

    MainWindowFixture next;
    std::filesystem::copy_file(PathFromCp932(f.main.Paths.SettingsPath),
                               PathFromCp932(next.main.Paths.SettingsPath));
    next.main.LoadMainSettings();
    EXPECT_EQ(next.main.Left, 300);
    EXPECT_EQ(next.main.Top, 400);
    EXPECT_EQ(next.main.LabelVol.Caption, "IIIIIIIII");
    EXPECT_EQ(next.main.ProgressBarWave, 8);
    EXPECT_TRUE(next.main.ImageLIVE);
    EXPECT_EQ(next.main.PanelPOW.Font, colors::Yellow);
}

TEST(PowerButton, RightClickSavesAndSaysSo) {
    MainWindowFixture f;
    f.main.SpeedButtonPOWMouseDown(MouseButton::Right);
    EXPECT_EQ(f.fakes.messages.shown,
              std::vector<std::string>{Sjis(
                  "各ウィンドウ位置とサイズ、音量値、ライブ機能、再生モードの状態を保存しました")});
    EXPECT_EQ(ReadSetting(f.settings(), keys::VOLUMEPOS), 3);
    EXPECT_EQ(f.fakes.windows.closeRequests, 0);
}

TEST(PowerButton, AReadOnlySettingsFileGivesTheFailureMessageAndThePlayerGoesOn) {
    MainWindowFixture f;
    f.settings().writeString("BASICDATA", "XPOSITION", "5");
    const auto path = PathFromCp932(f.main.Paths.SettingsPath);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    EXPECT_NO_THROW(f.main.SpeedButtonPOWMouseDown(MouseButton::Right));
    EXPECT_EQ(f.fakes.messages.shown,
              std::vector<std::string>{Sjis("各ウィンドウ位置とサイズ、音量値、ライブ機能、再生モー"
                                            "ドの状態を保存できませんでした")});
    EXPECT_EQ(fileLines(f), (std::vector<std::string>{"[BASICDATA]", "XPOSITION=5"}));
    // Still running: the next handlers work as before.
    f.main.SpeedButtonVolUpClick();
    EXPECT_EQ(f.main.LabelVol.Caption, "IIII");
}

TEST(PowerButton, LeftClickRepaintsAndClosesWithoutSaving) {
    MainWindowFixture f;
    f.main.SpeedButtonPOWMouseDown(MouseButton::Left);
    f.main.SpeedButtonPOWClick();
    EXPECT_EQ(f.fakes.repaint.count, 1);
    EXPECT_EQ(f.fakes.windows.closeRequests, 1);
    EXPECT_FALSE(f.settings().exists());
    EXPECT_TRUE(f.fakes.messages.shown.empty());
}

TEST(MainWindow, PauseRightClickIconifiesTheApplication) {
    MainWindowFixture f;
    f.main.SpeedButtonPAUSEMouseDown(MouseButton::Left);
    EXPECT_EQ(f.fakes.windows.iconified, 0);
    f.main.SpeedButtonPAUSEMouseDown(MouseButton::Right);
    EXPECT_EQ(f.fakes.windows.iconified, 1);
}

TEST(MainWindow, LogoOpensTheModesControlWindowAndRightClickTheSettings) {
    MainWindowFixture f;
    f.main.ImageLogoClick();
    EXPECT_TRUE(f.forms.FormList.Visible);
    EXPECT_FALSE(f.forms.FormView.Visible);
    f.forms.FormList.Hide();

    f.main.PlayerMode = PlayerModeKind::MIDI;
    f.main.LabelMidiTitleClick();
    EXPECT_TRUE(f.forms.FormView.Visible);
    EXPECT_FALSE(f.forms.FormList.Visible);

    f.main.ImageLogoMouseDown(MouseButton::Left);
    EXPECT_FALSE(f.forms.FormSetUp.Visible);
    f.main.ImageLogoMouseDown(MouseButton::Right);
    EXPECT_TRUE(f.forms.FormSetUp.Visible);
}

TEST(FormCreate, WithoutASettingsFileEverythingHasItsDefaultAndNothingIsWritten) {
    MainWindowFixture f;
    f.forms.CreateAll();
    const TFormMain& m = f.main;
    EXPECT_FALSE(f.settings().exists());
    EXPECT_EQ(m.Left, (1920 - 282) / 2);
    EXPECT_EQ(m.LabelVol.Caption, "III");
    EXPECT_EQ(m.LabelVol.Font, colors::Aqua);
    EXPECT_EQ(m.ProgressBarWave, 3);
    EXPECT_FALSE(m.ImageLIVE);
    EXPECT_EQ(m.PanelPOW.Font, colors::Lime);
    EXPECT_TRUE(m.ShowHints);
    EXPECT_EQ(m.LabelPLAY.Caption, "00:00 PLAY");
    EXPECT_EQ(m.LabelSTOP.Caption, "EJECT");
    EXPECT_FALSE(m.DiscInfoRead);
    // The program's own applause, found like any other.
    EXPECT_EQ(m.ApplauseFiles[0], "APPLAUSE.WAV");
    EXPECT_EQ(m.ApplauseIndex, 0);
    EXPECT_EQ(f.mixer.SourceLine(m.CdLine), MixerLine::CompactDisc);
    EXPECT_EQ(f.cd.fileName(), "");
    EXPECT_EQ(f.cd.calls, std::vector<std::string>{"open"});
    EXPECT_TRUE(f.setup.CheckBoxVolCont.Down);
}

TEST(FormCreate, SettingsAreLoadedBeforeTheApplauseAndMixerAndTheCdOpensLast) {
    MainWindowFixture f;
    f.touch("mine.wav");
    IniFile ini = f.settings();
    WriteSetting(ini, keys::VOLUMEPOS, 6);
    WriteSetting(ini, keys::LIVESTATS, true);
    WriteSetting(ini, keys::XPOSITION, 40);
    WriteSetting(ini, keys::YPOSITION, 50);
    WriteSetting(ini, keys::VOLUMRATO, 1);
    f.cd.failing = {"open"};
    EXPECT_THROW(f.forms.CreateAll(), DeviceError);
    // Everything before the CD open has happened.
    EXPECT_EQ(f.main.LabelVol.Caption, "IIIIII");
    EXPECT_TRUE(f.main.ImageLIVE);
    EXPECT_EQ(f.main.Left, 40);
    EXPECT_EQ(f.main.Top, 50);
    EXPECT_EQ(f.main.ApplauseFiles[0], "mine.wav");
    EXPECT_FALSE(std::filesystem::exists(f.dir / "APPLAUSE.WAV")) << "the user's choice stands";
    EXPECT_GE(f.main.WaveLine, 0);
}

TEST(FormCreate, TheEnvironmentNamesTheCdDeviceForOneRunOnly) {
    MainWindowFixture f;
    IniFile ini = f.settings();
    WriteSetting(ini, keys::CDDEVICE, "/dev/sr1");
    ::setenv("TOBIRA_CDDEVICE", "/tmp/demo-disc/demo.cue", 1);
    f.forms.CreateAll();
    ::unsetenv("TOBIRA_CDDEVICE");
    EXPECT_EQ(f.cd.fileName(), "/tmp/demo-disc/demo.cue");
    EXPECT_EQ(ReadSetting(f.settings(), keys::CDDEVICE), "/dev/sr1");

    MainWindowFixture g;
    IniFile other = g.settings();
    WriteSetting(other, keys::CDDEVICE, "/dev/sr1");
    g.forms.CreateAll();
    EXPECT_EQ(g.cd.fileName(), "/dev/sr1");
}

} // namespace
} // namespace tobira
