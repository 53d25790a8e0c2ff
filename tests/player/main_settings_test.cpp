// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/whole_file.h"
#include "support/volume_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace tobira {
namespace {

using testing::MainWindowFixture;
using testing::Sjis;
using testing::TempDir;

std::vector<std::string> fileLines(const MainWindowFixture& f) {
    std::istringstream in(ReadWholeFile(PathFromCp932(f.main.Paths.SettingsPath)).value_or(""));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

// Screen 1920 x 1080: a stored position is kept for 1 <= x < 1638 and 1 <= y < 1005, anything
// else centres the window at (819, 506), also a file without either key (null: not written).
TEST(LoadMainSettings, PositionCheckAndHexValues) {
    struct Case {
        const char *x, *y;
        int left, top;
    } const cases[] = {
        {"100", "200", 100, 200}, {"0x64", "0X0A", 100, 10},    {"1637", "1004", 1637, 1004},
        {"0", "200", 819, 506},   {"1638", "200", 819, 506},    {"100", "1005", 819, 506},
        {"abc", "200", 819, 506}, {nullptr, nullptr, 819, 506}, {"100", nullptr, 819, 506},
    };
    for (const Case& c : cases) {
        MainWindowFixture f;
        f.write("VOLUMEPOS", "3");
        if (c.x)
            f.write("XPOSITION", c.x);
        if (c.y)
            f.write("YPOSITION", c.y);
        f.main.PlacedByPlatform = true;
        f.main.LoadMainSettings();
        const std::string shown = std::string(c.x ? c.x : "-") + "," + (c.y ? c.y : "-");
        EXPECT_EQ(std::pair(f.main.Left, f.main.Top), std::pair(c.left, c.top)) << shown;
        EXPECT_FALSE(f.main.PlacedByPlatform) << shown;
    }
}

TEST(LoadMainSettings, BarsLiveMarkPanelColourAndHints) {
    struct Case {
        const char *volumepos, *volumewav, *livestats, *powercolr, *showhints;
        const char* bar;
        int applause;
        bool live;
        Color panel;
        bool hints;
    } const cases[] = {
        {"7", "5", "1", "clYellow", "1", "IIIIIII", 5, true, colors::Yellow, true},
        {"0", "0", "0", "clLime", "0", "", 0, false, colors::Lime, false},
        {"11", "12", "5", "CLYELLOW", "x", "IIIIIIIIII", 9, true, colors::Yellow, true},
        {"255", "-3", "0", "$0000FFFF", "1", "IIIIIIIIII", 0, false, colors::Yellow, true},
        {"lots", "", "0", "$00FF0000", "1", "III", 3, false, colors::Blue, true},
        {"-2", "9", "0", "no colour", "1", "III", 9, false, colors::Lime, true},
        {"3", "3", "0", "$1FF0000", "1", "III", 3, false, colors::Lime, true},
    };
    const std::string playHint = Sjis("プレイ（ＣＤなら右クリックでリピート再生のＯＮ／ＯＦＦ）");
    for (const Case& c : cases) {
        MainWindowFixture f;
        f.write("VOLUMEPOS", c.volumepos);
        f.write("VOLUMEWAV", c.volumewav);
        f.write("LIVESTATS", c.livestats);
        f.write("POWERCOLR", c.powercolr);
        f.write("SHOWHINTS", c.showhints);
        const std::string panelHint = f.main.PanelPOW.Hint;
        f.main.LoadMainSettings();
        SCOPED_TRACE(std::string(c.volumepos) + " " + c.volumewav + " " + c.powercolr);
        EXPECT_EQ(f.main.LabelVol.Caption, c.bar);
        EXPECT_EQ(f.main.ProgressBarWave, c.applause);
        EXPECT_EQ(f.main.ImageLIVE, c.live);
        EXPECT_EQ(f.main.PanelPOW.Font, c.panel);
        EXPECT_EQ(f.main.PanelPOW.Hint, panelHint) << "only the colour is loaded";
        EXPECT_EQ(f.main.SpeedButtonPLAY.Hint, c.hints ? playHint : "");
    }
}

TEST(SaveWindowState, WritesEveryKeyInOrderFromTheWindows) {
    MainWindowFixture f;
    auto place = [](FormModel& form, int left, int top, int width, int height) {
        form.Left = left, form.Top = top, form.Width = width, form.Height = height;
    };
    place(f.main, 10, 20, 282, 68);
    place(f.forms.FormList, 30, 40, 420, 185);
    place(f.forms.FormView, 50, 60, 300, 400);
    place(f.forms.FormReader, 70, 80, 500, 600);
    place(f.forms.FormLyrics, 90, 100, 700, 800);
    place(f.forms.FormParts, 110, 120, 480, 420);
    f.main.LabelVol.Caption = "IIIIIII";
    f.main.ProgressBarWave = 5;
    f.main.ImageLIVE = true;
    f.main.PanelPOW.Font = Color{0x12, 0x34, 0x56};
    TFormView& view = f.forms.FormView;
    view.SpeedButtonNor.Down = false;
    view.SpeedButtonNew.Down = true;
    view.SpeedButtonLst0.Down = false; // no source pressed: LISTSELEC is not written
    f.main.SaveWindowState();
    EXPECT_EQ(fileLines(f),
              (std::vector<std::string>{
                  "[BASICDATA]",   "XPOSITION=10", "YPOSITION=20",        "HPOSITION=30",
                  "VPOSITION=40",  "LPOSITION=50", "TPOSITION=60",        "VIEWWIDTH=300",
                  "VIEWHEIGH=400", "SPOSITION=70", "UPOSITION=80",        "READWIDTH=500",
                  "READHEIGH=600", "LYRICPOSX=90", "LYRICPOSY=100",       "LYRICWIDT=700",
                  "LYRICHEIG=800", "PARTPOSX=110", "PARTPOSY=120",        "VOLUMEPOS=7",
                  "VOLUMEWAV=5",   "LIVESTATS=1",  "POWERCOLR=$00563412", "MODESELEC=1",
              }));

    // What was saved is what the next start loads.
    view.SpeedButtonLst2.Down = true;
    f.main.PanelPOW.Font = colors::Yellow;
    f.main.SaveWindowState();
    EXPECT_EQ(ReadSetting(f.settings(), keys::POWERCOLR), "clYellow");
    EXPECT_EQ(ReadSetting(f.settings(), keys::LISTSELEC), 2);
    MainWindowFixture next;
    std::filesystem::copy_file(PathFromCp932(f.main.Paths.SettingsPath),
                               PathFromCp932(next.main.Paths.SettingsPath));
    next.main.LoadMainSettings();
    EXPECT_EQ(std::pair(next.main.Left, next.main.Top), std::pair(10, 20));
    EXPECT_EQ(next.main.LabelVol.Caption, "IIIIIII");
    EXPECT_EQ(next.main.PanelPOW.Font, colors::Yellow);
}

TEST(PowerButton, RightClickSavesOrReportsAReadOnlyFileAndThePlayerGoesOn) {
    MainWindowFixture f;
    f.main.SpeedButtonPOWMouseDown(MouseButton::Right);
    const char* saved =
        "各ウィンドウ位置とサイズ、音量値、ライブ機能、再生モードの状態を保存しました";
    EXPECT_EQ(f.fakes.messages.shown, std::vector<std::string>{Sjis(saved)});

    MainWindowFixture ro;
    ro.write("XPOSITION", "5");
    std::filesystem::permissions(PathFromCp932(ro.main.Paths.SettingsPath),
                                 std::filesystem::perms::owner_read);
    EXPECT_NO_THROW(ro.main.SpeedButtonPOWMouseDown(MouseButton::Right));
    const char* failed =
        "各ウィンドウ位置とサイズ、音量値、ライブ機能、再生モードの状態を保存できませんでした";
    EXPECT_EQ(ro.fakes.messages.shown, std::vector<std::string>{Sjis(failed)});
    EXPECT_EQ(fileLines(ro), (std::vector<std::string>{"[BASICDATA]", "XPOSITION=5"}));
    ro.main.SpeedButtonVolUpClick();
    EXPECT_EQ(ro.main.LabelVol.Caption, "IIII");
}

TEST(FormCreate, WithoutASettingsFileEverythingHasItsDefaultAndNothingIsWritten) {
    MainWindowFixture f;
    f.forms.CreateAll();
    const TFormMain& m = f.main;
    EXPECT_FALSE(f.settings().exists());
    EXPECT_TRUE(m.PlacedByPlatform) << "the window manager places the main window";
    EXPECT_EQ(m.LabelVol.Caption, "III");
    EXPECT_EQ(m.ProgressBarWave, 3);
    EXPECT_FALSE(m.ImageLIVE);
    EXPECT_EQ(m.PanelPOW.Font, colors::Lime);
    // The program's own applause, found like any other.
    EXPECT_EQ(m.ApplauseFiles[0], "APPLAUSE.WAV");
    EXPECT_EQ(m.ApplauseIndex, 0);
    EXPECT_EQ(f.mixer.SourceLine(m.CdLine), MixerLine::CompactDisc);
    EXPECT_EQ(f.cd.calls, std::vector<std::string>{"open"});
    EXPECT_EQ(f.cd.fileName(), "");

    const TFormSetUp& s = f.setup;
    EXPECT_TRUE(s.CheckBoxHint.Down && s.CheckBoxWithOpen.Down && s.CheckBoxVolCont.Down &&
                s.CheckBoxMidiVolCont.Down);
    EXPECT_FALSE(s.CheckBoxTime.Down || s.CheckBoxAutoPlay.Down || s.CheckBoxClose.Down ||
                 s.CheckBoxMidi.Down);
    EXPECT_EQ(s.ScrollBarClose, 30);
    EXPECT_EQ(s.PanelFontName, Sjis("ＭＳ ゴシック"));
    EXPECT_EQ(s.PanelFontSize, "10");
    EXPECT_EQ(std::tuple(s.CdVolumeRange(), s.MidiVolumeRange(), s.LiveRatio()),
              std::tuple(3, 3, 1));
    EXPECT_EQ(s.RadioGroupReset, 1);
}

TEST(FormCreate, SettingsComeFirstTheUsersSoundsStandAndTheCdOpensLast) {
    MainWindowFixture f;
    f.touch("mine.wav");
    for (auto [key, value] : {std::pair{"VOLUMEPOS", "6"},
                              {"XPOSITION", "40"},
                              {"YPOSITION", "50"},
                              {"CDDEVICE", "/dev/sr1"},
                              {"VOLUMRATO", "5"},
                              {"LIVERATIO", "2"},
                              {"CLOSETIME", "0x0F"},
                              {"MIDIRESET", "3"},
                              {"REMAINTIM", "1"},
                              {"FONTSIZE", "12"}})
        f.write(key, value);
    ::setenv("TOBIRA_CDDEVICE", "/tmp/demo-disc/demo.cue", 1);
    f.cd.failing = {"open"};
    EXPECT_THROW(f.forms.CreateAll(), DeviceError);
    ::unsetenv("TOBIRA_CDDEVICE");
    EXPECT_EQ(f.main.LabelVol.Caption, "IIIIII");
    EXPECT_EQ(std::pair(f.main.Left, f.main.Top), std::pair(40, 50));
    EXPECT_EQ(f.main.ApplauseFiles[0], "mine.wav");
    EXPECT_FALSE(std::filesystem::exists(f.dir / "APPLAUSE.WAV"));
    EXPECT_EQ(f.cd.fileName(), "/tmp/demo-disc/demo.cue");
    EXPECT_EQ(ReadSetting(f.settings(), keys::CDDEVICE), "/dev/sr1") << "the file is untouched";

    // The setup window's reader, on the same file.
    f.setup.LoadSetupSettings();
    EXPECT_EQ(std::tuple(f.setup.CdVolumeRange(), f.setup.LiveRatio(), f.setup.ScrollBarClose,
                         f.setup.RadioGroupReset, f.setup.PanelFontSize),
              std::tuple(5, 2, 15, 3, std::string("12")));
    EXPECT_TRUE(f.setup.CheckBoxTime.Down);
}

TEST(MainWindow, LogoOpensTheModesControlWindowAndRightClickTheSettings) {
    MainWindowFixture f;
    f.main.LabelPlayMode.Caption = "PG";
    f.main.ImageLogoClick();
    EXPECT_TRUE(f.forms.FormList.Visible);
    EXPECT_EQ(f.forms.FormList.LabelORG.Caption, "Program Mode") << "mode display refreshed";
    EXPECT_EQ(f.forms.FormList.Height, TFormList::kProgramHeight);

    f.main.PlayerMode = PlayerModeKind::MIDI;
    f.main.LabelMidiTitleClick();
    EXPECT_TRUE(f.forms.FormView.Visible);
    f.main.ImageLogoMouseDown(MouseButton::Right);
    EXPECT_TRUE(f.forms.FormSetUp.Visible);
}

// Values no save writes: the built-in choice stays, or the value is pulled into its range.
TEST(LoadSetupSettings, HandEditedValuesOutsideTheirRanges) {
    struct Case {
        const char *key, *value;
        int closeTime, cdRange, liveRatio, reset;
    } const cases[] = {
        {"CLOSETIME", "abc", 30, 3, 1, 1}, {"CLOSETIME", "500", 180, 3, 1, 1},
        {"CLOSETIME", "1", 5, 3, 1, 1},    {"VOLUMRATO", "6", 30, 3, 1, 1},
        {"LIVERATIO", "0", 30, 3, 1, 1},   {"MIDIRESET", "4", 30, 3, 1, 1},
        {"FONTSIZE", "big", 30, 3, 1, 1},
    };
    for (const Case& c : cases) {
        // The setup window alone, on a settings file of its own.
        TempDir dir;
        const std::string settings = DataPaths::InFolder(dir.path()).SettingsPath;
        IniFile(settings).writeString("BASICDATA", c.key, c.value);
        testing::FakePorts fakes;
        TFormSetUp setup(fakes.ports(), settings);
        setup.LoadSetupSettings();
        EXPECT_EQ(std::tuple(setup.ScrollBarClose, setup.CdVolumeRange(), setup.LiveRatio(),
                             setup.RadioGroupReset, setup.PanelFontSize),
                  std::tuple(c.closeTime, c.cdRange, c.liveRatio, c.reset, std::string("10")))
            << c.key << "=" << c.value;
    }
}

} // namespace
} // namespace tobira
