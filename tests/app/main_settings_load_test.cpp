#include "app/color_names.h"
#include "volume_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tobira {
namespace {

using testing::MainWindowFixture;
using testing::Sjis;

// Screen 1920 x 1080: the main window keeps a stored position with 1 <= x < 1638 and
// 1 <= y < 1005; anything else centres it at (819, 506).
TEST(LoadMainSettings, UsesAStoredPositionOnlyWhenItFitsTheScreen) {
    struct Case {
        const char *x, *y;
        int left, top;
    };
    const Case cases[] = {
        {"100", "200", 100, 200},     {"0x64", "0X0A", 100, 10}, {"1", "1", 1, 1},
        {"1637", "1004", 1637, 1004}, {"0", "200", 819, 506},    {"1638", "200", 819, 506},
        {"100", "1005", 819, 506},    {"-1", "-1", 819, 506},    {"abc", "200", 819, 506},
    };
    for (const Case& c : cases) {
        MainWindowFixture f;
        IniFile ini = f.settings();
        ini.writeString("BASICDATA", "XPOSITION", c.x);
        ini.writeString("BASICDATA", "YPOSITION", c.y);
        f.main.LoadMainSettings();
        EXPECT_EQ(f.main.Left, c.left) << c.x << "," << c.y;
        EXPECT_EQ(f.main.Top, c.top) << c.x << "," << c.y;
    }
}

TEST(LoadMainSettings, VolumeLevelsAreCutToTheirBars) {
    struct Case {
        const char* volumepos;
        const char* volumewav;
        std::string bar;
        int applause;
    };
    const Case cases[] = {
        {"0", "0", "", 0},
        {"7", "5", "IIIIIII", 5},
        {"10", "9", "IIIIIIIIII", 9},
        {"11", "12", "IIIIIIIIII", 9},
        {"255", "-3", "IIIIIIIIII", 0},
        {"0x0A", "0x02", "IIIIIIIIII", 2},
        {"lots", "some", "III", 3},
        {"-2", "", "III", 3},
    };
    for (const Case& c : cases) {
        MainWindowFixture f;
        IniFile ini = f.settings();
        ini.writeString("BASICDATA", "VOLUMEPOS", c.volumepos);
        ini.writeString("BASICDATA", "VOLUMEWAV", c.volumewav);
        f.main.LoadMainSettings();
        EXPECT_EQ(f.main.LabelVol.Caption, c.bar) << c.volumepos;
        EXPECT_EQ(f.main.ProgressBarWave, c.applause) << c.volumewav;
    }
}

TEST(LoadMainSettings, LiveMarkPanelColourAndHints) {
    struct Case {
        const char* livestats;
        const char* powercolr;
        const char* showhints;
        bool live;
        Color panel;
        bool hints;
    };
    const Case cases[] = {
        {"1", "clYellow", "1", true, colors::Yellow, true},
        {"0", "clLime", "0", false, colors::Lime, false},
        {"5", "CLYELLOW", "2", true, colors::Yellow, true},
        {"x", "$0000FFFF", "x", false, colors::Yellow, true},
        {"0", "$00FF0000", "0", false, colors::Blue, false},
        {"0", "not a colour", "1", false, colors::Lime, true},
        {"0", "$1FF0000", "1", false, colors::Lime, true},
    };
    const std::string playHint = Sjis("プレイ（ＣＤなら右クリックでリピート再生のＯＮ／ＯＦＦ）");
    for (const Case& c : cases) {
        MainWindowFixture f;
        IniFile ini = f.settings();
        ini.writeString("BASICDATA", "LIVESTATS", c.livestats);
        ini.writeString("BASICDATA", "POWERCOLR", c.powercolr);
        ini.writeString("BASICDATA", "SHOWHINTS", c.showhints);
        const std::string panelHint = f.main.PanelPOW.Hint;
        f.main.LoadMainSettings();
        EXPECT_EQ(f.main.ImageLIVE, c.live) << c.livestats;
        EXPECT_EQ(f.main.PanelPOW.Font, c.panel) << c.powercolr;
        EXPECT_EQ(f.main.PanelPOW.Hint, panelHint) << "only the colour is loaded";
        EXPECT_EQ(f.main.ShowHints, c.hints) << c.showhints;
        EXPECT_EQ(f.main.SpeedButtonPLAY.Hint, c.hints ? playHint : "");
    }
}

TEST(ColorNames, StandardNamesOrEightHexDigitsOfBlueGreenRed) {
    EXPECT_EQ(ColorToIdent(colors::Lime), "clLime");
    EXPECT_EQ(ColorToIdent(colors::Yellow), "clYellow");
    EXPECT_EQ(ColorToIdent(colors::Teal), "clTeal");
    EXPECT_EQ(ColorToIdent(Color{0x12, 0x34, 0x56}), "$00563412");
    EXPECT_EQ(ColorToIdent(Color{0xC0, 0xC0, 0xC0}), "clSilver");
    for (Color c : {colors::Lime, colors::Yellow, colors::Navy, Color{1, 2, 3}, Color{255, 0, 1}})
        EXPECT_EQ(IdentToColor(ColorToIdent(c)), c);
    EXPECT_EQ(IdentToColor("clLtGray"), (Color{0xC0, 0xC0, 0xC0}));
    EXPECT_EQ(IdentToColor("65280"), colors::Lime);
    EXPECT_EQ(IdentToColor("0x00FFFF"), colors::Yellow);
    for (const char* bad : {"", "$", "cl", "lime", "$GG", "-1", "$FF000000", "12abc"})
        EXPECT_EQ(IdentToColor(bad), std::nullopt) << bad;
}

TEST(LoadSetupSettings, AFirstStartWithoutTheFileShowsEveryDefault) {
    MainWindowFixture f;
    f.setup.LoadSetupSettings();
    const TFormSetUp& s = f.setup;
    EXPECT_TRUE(s.CheckBoxHint.Down);
    EXPECT_FALSE(s.CheckBoxTime.Down);
    EXPECT_TRUE(s.CheckBoxWithOpen.Down);
    EXPECT_FALSE(s.CheckBoxAutoPlay.Down);
    EXPECT_TRUE(s.CheckBoxVolCont.Down);
    EXPECT_TRUE(s.CheckBoxMidiVolCont.Down);
    EXPECT_FALSE(s.CheckBoxClose.Down);
    EXPECT_EQ(s.ScrollBarClose, 30);
    EXPECT_FALSE(s.CheckBoxMidi.Down);
    EXPECT_EQ(s.EditTool, "");
    EXPECT_EQ(s.PanelFontName, Sjis("ＭＳ ゴシック"));
    EXPECT_EQ(s.PanelFontSize, "10");
    EXPECT_EQ(s.CdVolumeRange(), 3);
    EXPECT_EQ(s.MidiVolumeRange(), 3);
    EXPECT_EQ(s.LiveRatio(), 1);
    EXPECT_EQ(s.RadioGroupReset, 1);
    EXPECT_FALSE(std::filesystem::exists(PathFromCp932(f.main.Paths.SettingsPath)));
}

TEST(LoadSetupSettings, ReadsEveryOptionAndPressesOneButtonPerGroup) {
    MainWindowFixture f;
    IniFile ini = f.settings();
    for (auto [key, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"SHOWHINTS", "0"},
             {"REMAINTIM", "1"},
             {"WITHPLAYS", "0"},
             {"AUTOPLAYS", "1"},
             {"VOLUMCONT", "0"},
             {"VOLUMMIDI", "0"},
             {"AUTOCLOSE", "1"},
             {"MIDISTART", "1"},
             {"VIEWERTOL", "/usr/bin/mousepad"},
             {"CLOSETIME", "0x0F"},
             {"FONTNAME", "Sans"},
             {"FONTSIZE", "12"},
             {"VOLUMRATO", "5"},
             {"VOLUMRATI", "1"},
             {"LIVERATIO", "2"},
             {"MIDIRESET", "3"}})
        ini.writeString("BASICDATA", key, value);
    f.setup.LoadSetupSettings();
    const TFormSetUp& s = f.setup;
    EXPECT_FALSE(s.CheckBoxHint.Down);
    EXPECT_TRUE(s.CheckBoxTime.Down);
    EXPECT_FALSE(s.CheckBoxWithOpen.Down);
    EXPECT_TRUE(s.CheckBoxAutoPlay.Down);
    EXPECT_FALSE(s.CheckBoxVolCont.Down);
    EXPECT_FALSE(s.CheckBoxMidiVolCont.Down);
    EXPECT_TRUE(s.CheckBoxClose.Down);
    EXPECT_TRUE(s.CheckBoxMidi.Down);
    EXPECT_EQ(s.EditTool, "/usr/bin/mousepad");
    EXPECT_EQ(s.ScrollBarClose, 15);
    EXPECT_EQ(s.PanelFontName, "Sans");
    EXPECT_EQ(s.PanelFontSize, "12");
    EXPECT_EQ(s.CdVolumeRange(), 5);
    EXPECT_EQ(s.MidiVolumeRange(), 1);
    EXPECT_EQ(s.LiveRatio(), 2);
    EXPECT_EQ(s.RadioGroupReset, 3);
    auto pressed = [](const auto& group) {
        return std::count_if(group.begin(), group.end(), [](auto& b) { return b.Down; });
    };
    EXPECT_EQ(pressed(s.SpeedButtonRatio), 1);
    EXPECT_EQ(pressed(s.SpeedButtonM), 1);
    EXPECT_EQ(pressed(s.SpeedButtonLive), 1);
}

// Values no save writes: the built-in choice stays, or the value is pulled into its range.
TEST(LoadSetupSettings, HandEditedValuesOutsideTheirRanges) {
    struct Case {
        const char* key;
        const char* value;
        int closeTime, cdRange, liveRatio, reset;
        const char* fontSize;
    };
    const Case cases[] = {
        {"CLOSETIME", "abc", 30, 3, 1, 1, "10"}, {"CLOSETIME", "500", 180, 3, 1, 1, "10"},
        {"CLOSETIME", "1", 5, 3, 1, 1, "10"},    {"VOLUMRATO", "0", 30, 3, 1, 1, "10"},
        {"VOLUMRATO", "6", 30, 3, 1, 1, "10"},   {"LIVERATIO", "4", 30, 3, 1, 1, "10"},
        {"MIDIRESET", "4", 30, 3, 1, 1, "10"},   {"MIDIRESET", "-1", 30, 3, 1, 1, "10"},
        {"FONTSIZE", "big", 30, 3, 1, 1, "10"},  {"FONTSIZE", "-4", 30, 3, 1, 1, "10"},
    };
    for (const Case& c : cases) {
        MainWindowFixture f;
        f.settings().writeString("BASICDATA", c.key, c.value);
        f.setup.LoadSetupSettings();
        EXPECT_EQ(f.setup.ScrollBarClose, c.closeTime) << c.key << "=" << c.value;
        EXPECT_EQ(f.setup.CdVolumeRange(), c.cdRange) << c.key << "=" << c.value;
        EXPECT_EQ(f.setup.LiveRatio(), c.liveRatio) << c.key << "=" << c.value;
        EXPECT_EQ(f.setup.RadioGroupReset, c.reset) << c.key << "=" << c.value;
        EXPECT_EQ(f.setup.PanelFontSize, c.fontSize) << c.key << "=" << c.value;
    }
}

TEST(SetupGroups, AGroupWithoutAPressedButtonCountsAsItsDefault) {
    TFormSetUp s;
    for (auto* group : {&s.SpeedButtonRatio, &s.SpeedButtonM})
        for (auto& b : *group)
            b.Down = false;
    for (auto& b : s.SpeedButtonLive)
        b.Down = false;
    EXPECT_EQ(s.CdVolumeRange(), 3);
    EXPECT_EQ(s.MidiVolumeRange(), 3);
    EXPECT_EQ(s.LiveRatio(), 1);
    s.SpeedButtonRatio[2].Down = s.SpeedButtonRatio[4].Down = true;
    EXPECT_EQ(s.CdVolumeRange(), 2) << "the first pressed in number order";
}

} // namespace
} // namespace tobira
