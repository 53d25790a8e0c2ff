// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/volume_fixture.h"
#include "windows/setup_devices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace tobira {
namespace {

using testing::MainWindowFixture;
using testing::Sjis;

const std::string kQuestion = Sjis("データは更新されています。保存しますか？");

struct FakeSetupDevices final : SetupDevices {
    std::optional<std::string> soundFontProblem(const std::string& path) override {
        checked.push_back(path);
        return path.find("bad") != std::string::npos ? std::optional<std::string>("bad font")
                                                     : std::nullopt;
    }
    void useSoundFont(const std::string& path) override { used.push_back(path); }
    std::vector<std::string> cdDrives() override { return {"/dev/sr0", "/dev/sr1"}; }
    std::vector<std::string> midiOutputs() override { return ports; }
    void useMidiOutput(const std::string& port) override { outputs.push_back(port); }
    void useLoopSetting(int repeats, int fadeSeconds) override {
        loops.emplace_back(repeats, fadeSeconds);
    }
    std::vector<std::string> checked, used, outputs;
    std::vector<std::pair<int, int>> loops;
    std::vector<std::string> ports = {"UM-ONE:UM-ONE MIDI 1", "SC-88:Port A"};
};

// The window set as the program makes it, in a folder that outlives a restart.
struct SetupFixture : MainWindowFixture {
    SetupFixture() {
        forms.CreateAll();
        main.FindMixerLines();
        setup.Show();
    }
    // The windows made afresh from the same folder, as at the next start.
    std::unique_ptr<FormSet> restart() {
        auto again = std::make_unique<FormSet>(fakes.ports(), DataPaths::InFolder(dir.path()),
                                               MediaDevices{cd, midi, wave}, mixer);
        again->CreateAll();
        return again;
    }
    std::string fileText() const {
        std::ifstream in(dir / "TOBIRA.INI", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST(SetupWindow, ClosingUntouchedAsksNothingWhateverTheFileHolds) {
    enum class File { None, OtherKeysOnly, Saved };
    for (File file : {File::None, File::OtherKeysOnly, File::Saved}) {
        SetupFixture f;
        if (file == File::OtherKeysOnly)
            f.write("XPOSITION", "10");
        if (file == File::Saved)
            f.setup.ButtonSaveClick();
        f.setup.ButtonCloseClick();
        EXPECT_TRUE(f.fakes.messages.asked.empty()) << static_cast<int>(file);
        EXPECT_FALSE(f.setup.Visible) << static_cast<int>(file);
        EXPECT_EQ(std::filesystem::exists(f.dir / "TOBIRA.INI"), file != File::None);
    }
}

TEST(SetupWindow, CloseQuestionCancelKeepsNoDiscardsAtRestartYesSaves) {
    struct Case {
        Answer answer;
        bool closes;
        bool afterRestart; // CheckBoxAutoPlay at the next start
    } cases[] = {
        {Answer::Cancel, false, false}, {Answer::No, true, false}, {Answer::Yes, true, true}};
    for (const Case& c : cases) {
        SetupFixture f;
        f.setup.CheckBoxAutoPlay.Down = true;
        f.fakes.messages.threeWayAnswers = {c.answer};
        f.setup.ButtonCloseClick();
        ASSERT_EQ(f.fakes.messages.asked, std::vector<std::string>{kQuestion});
        EXPECT_EQ(f.setup.Visible, !c.closes);
        EXPECT_TRUE(f.setup.CheckBoxAutoPlay.Down) << "in effect for the rest of the run";
        EXPECT_EQ(f.restart()->FormSetUp.CheckBoxAutoPlay.Down, c.afterRestart);
    }
}

TEST(SetupWindow, MissingKeysCompareAsTheirBuiltInValues) {
    SetupFixture f;
    f.setup.CheckBoxMidi.Down = true;
    EXPECT_TRUE(f.setup.SettingsChanged()) << "also before the file exists";
    f.setup.CheckBoxMidi.Down = false;
    f.write("SHOWHINTS", "1"); // a file, without VOLUMRATO
    f.setup.SpeedButtonRatio1Click(4);
    EXPECT_TRUE(f.setup.SettingsChanged());
    f.setup.SpeedButtonRatio1Click(3);
    EXPECT_FALSE(f.setup.SettingsChanged());
    f.setup.SpeedButtonLive1Click(2);
    EXPECT_TRUE(f.setup.SettingsChanged());
}

TEST(SetupWindow, SaveWritesItsKeysInOrderAndASecondSaveChangesNothing) {
    SetupFixture f;
    f.setup.SpeedButtonM1Click(5);
    f.setup.ButtonSaveClick();
    const std::string text = f.fileText();
    const char* order[] = {"SHOWHINTS", "REMAINTIM", "WITHPLAYS", "AUTOPLAYS", "VOLUMCONT",
                           "VOLUMMIDI", "AUTOCLOSE", "MIDISTART", "VIEWERTOL", "FONTNAME",
                           "FONTSIZE",  "CLOSETIME", "MIDIRESET", "VOLUMRATO", "VOLUMRATI",
                           "LIVERATIO", "SOUNDFONT", "CDDEVICE",  "MIDIOUT"};
    std::size_t at = 0;
    for (const char* key : order) {
        const std::size_t found = text.find(std::string(key) + "=");
        ASSERT_NE(found, std::string::npos) << key;
        EXPECT_GT(found, at) << key;
        at = found;
    }
    EXPECT_NE(text.find("VOLUMRATI=5"), std::string::npos);
    f.setup.ButtonSaveClick();
    EXPECT_EQ(f.fileText(), text);
    EXPECT_EQ(f.restart()->FormSetUp.MidiVolumeRange(), 5) << "pressed again after a restart";
}

TEST(SetupWindow, FailingSaveFromTheCloseQuestionKeepsTheWindowOpen) {
    SetupFixture f;
    // A folder where the file should be: nothing can be written there.
    std::filesystem::create_directory(f.dir / "TOBIRA.INI");
    f.setup.CheckBoxTime.Down = true;
    f.fakes.messages.threeWayAnswers = {Answer::Yes};
    f.setup.ButtonCloseClick();
    EXPECT_TRUE(f.setup.Visible);
    ASSERT_EQ(f.fakes.messages.shown.size(), 1u);
    EXPECT_NE(f.fakes.messages.shown[0].find(Sjis(" に書き込めません")), std::string::npos);
    EXPECT_TRUE(f.setup.CheckBoxTime.Down);
}

TEST(SetupWindow, RangeClicksApplyAtOnceOnlyInTheirModeWithTheirControlOn) {
    struct Case {
        PlayerModeKind mode;
        bool cdRange; // else the MIDI range
        bool controlOn;
        bool muted;
        MixerLine line;
        std::uint16_t expected; // level 3, range 5: 30 div 5 = 6 % of 65535
    } cases[] = {
        {PlayerModeKind::CD, true, true, false, MixerLine::CompactDisc, 3932},
        {PlayerModeKind::CD, true, true, true, MixerLine::CompactDisc, 3932},
        {PlayerModeKind::CD, true, false, false, MixerLine::CompactDisc,
         MainWindowFixture::kUntouched},
        {PlayerModeKind::MIDI, true, true, false, MixerLine::CompactDisc,
         MainWindowFixture::kUntouched},
        {PlayerModeKind::MIDI, false, true, false, MixerLine::Synthesizer, 3932},
        {PlayerModeKind::CD, false, true, false, MixerLine::Synthesizer,
         MainWindowFixture::kUntouched},
    };
    for (const Case& c : cases) {
        SetupFixture f;
        f.main.PlayerMode = c.mode;
        f.main.LabelVol.Caption = "III";
        if (c.muted)
            f.main.LabelVol.Font = colors::Yellow;
        f.setup.CheckBoxVolCont.Down = c.controlOn;
        f.setup.CheckBoxMidiVolCont.Down = c.controlOn;
        f.markLines();
        if (c.cdRange)
            f.setup.SpeedButtonRatio1Click(5);
        else
            f.setup.SpeedButtonM1Click(5);
        EXPECT_EQ(f.units(c.line), c.expected) << &c - cases;
        EXPECT_EQ(c.cdRange ? f.setup.CdVolumeRange() : f.setup.MidiVolumeRange(), 5);
    }
}

TEST(SetupWindow, CheckBoxesSwitchHintsAndPaintTheVolumeText) {
    SetupFixture f;
    f.setup.CheckBoxHint.Down = false;
    f.setup.CheckBoxHintClick();
    EXPECT_FALSE(f.main.ShowHints);
    f.setup.CheckBoxVolCont.Down = false;
    f.setup.CheckBoxVolContClick();
    EXPECT_EQ(f.main.LabelVol.Font, colors::Aqua) << "MIDI volume control still on";
    f.setup.CheckBoxMidiVolCont.Down = false;
    f.setup.CheckBoxMidiVolContClick();
    EXPECT_EQ(f.main.LabelVol.Font, colors::Teal);
    f.setup.CheckBoxVolCont.Down = true;
    f.setup.CheckBoxCloseClick();
    EXPECT_EQ(f.main.LabelVol.Font, colors::Aqua);
}

TEST(SetupWindow, ChosenFontReachesTheReaderAndTheListsAtOnce) {
    SetupFixture f;
    f.fakes.choosers.fonts = {FontChoice{"Noto Sans CJK JP", 14}, std::nullopt};
    f.setup.ButtonFontClick();
    EXPECT_EQ(f.setup.PanelFontName, "Noto Sans CJK JP");
    EXPECT_EQ(f.setup.PanelFontSize, "14");
    EXPECT_EQ(f.forms.FormReader.MemoReaderFont.name, "Noto Sans CJK JP");
    EXPECT_EQ(f.forms.FormView.ListFont.size, 14);
    f.setup.ButtonFontClick(); // cancelled: nothing changes
    EXPECT_EQ(f.setup.PanelFontSize, "14");
    EXPECT_TRUE(f.setup.SettingsChanged()) << "stored only by a later save";
}

TEST(SetupWindow, DeviceRowsRefuseABadSoundFontAndOfferDrivesAndADiscImage) {
    SetupFixture f;
    FakeSetupDevices devices;
    f.setup.SetDevices(devices);
    f.fakes.choosers.files = {std::string("/x/bad.sf2"), std::string("/x/good.sf2"),
                              std::string("/x/disc.cue")};
    f.setup.ButtonSoundFontClick();
    EXPECT_TRUE(f.setup.PanelSoundFont.empty());
    EXPECT_TRUE(devices.used.empty());
    ASSERT_EQ(f.fakes.messages.shown.size(), 1u);
    EXPECT_EQ(f.fakes.messages.shown[0].rfind("bad font", 0), 0u);
    f.setup.ButtonSoundFontClick();
    EXPECT_EQ(devices.used, std::vector<std::string>{"/x/good.sf2"});
    EXPECT_TRUE(f.setup.SettingsChanged());
    f.setup.ButtonSoundFontStandardClick();
    EXPECT_EQ(devices.used, (std::vector<std::string>{"/x/good.sf2", ""}));
    EXPECT_FALSE(f.setup.SettingsChanged()) << "the standard one, as the file has it";
    f.fakes.choosers.files.push_front(std::string("/x/good.sf2"));
    f.setup.ButtonSoundFontClick();

    const std::vector<std::string> items = {Sjis("最初に見つかったドライブ"), "/dev/sr0",
                                            "/dev/sr1", Sjis("ディスクイメージ…")};
    EXPECT_EQ(f.setup.ComboBoxCdDeviceItems, items);
    f.setup.ComboBoxCdDeviceChange(2);
    EXPECT_EQ(f.cd.fileName(), "/dev/sr1");
    EXPECT_FALSE(f.main.DiscInfoRead) << "the next tick reads the new drive";
    f.setup.ComboBoxCdDeviceChange(3);
    EXPECT_EQ(f.cd.fileName(), "/x/disc.cue");
    EXPECT_EQ(f.setup.ComboBoxCdDeviceItems[3], "/x/disc.cue");
    EXPECT_EQ(f.setup.ComboBoxCdDeviceIndex, 3);

    // Chosen while a disc plays: the disc goes on, and the tick switches once the CD rests.
    f.main.DiscInfoRead = true;
    f.cd.currentMode = DeviceMode::Playing;
    f.main.LabelPLAY.Font = colors::Aqua;
    f.setup.ComboBoxCdDeviceChange(1);
    EXPECT_EQ(f.cd.fileName(), "/x/disc.cue");
    f.main.Timer1Timer();
    EXPECT_EQ(f.cd.fileName(), "/x/disc.cue");
    f.cd.currentMode = DeviceMode::Stopped;
    f.main.LabelPLAY.Font = colors::Teal;
    f.main.Timer1Timer();
    EXPECT_EQ(f.cd.fileName(), "/dev/sr0");
    EXPECT_FALSE(f.main.PendingCdDevice);
    f.fakes.choosers.files = {std::string("/x/disc.cue")};
    f.setup.ComboBoxCdDeviceChange(3);

    // A device that cannot be opened is refused and the old one opened again.
    f.cd.failing = {"open"};
    f.setup.ComboBoxCdDeviceChange(1);
    EXPECT_EQ(f.setup.CdDevice, "/x/disc.cue");
    EXPECT_EQ(f.cd.fileName(), "/x/disc.cue");
    f.cd.failing.clear();
    f.setup.ButtonSaveClick();
    auto again = f.restart();
    EXPECT_EQ(again->FormSetUp.PanelSoundFont, "/x/good.sf2");
    EXPECT_EQ(again->FormSetUp.CdDevice, "/x/disc.cue");

    // An image named for one run is what the row shows; the setting stays as saved.
    setenv("TOBIRA_CDDEVICE", "/x/run.cue", 1);
    auto run = f.restart();
    unsetenv("TOBIRA_CDDEVICE");
    const TFormSetUp& setup = run->FormSetUp;
    EXPECT_EQ(setup.ComboBoxCdDeviceItems.at(static_cast<std::size_t>(setup.ComboBoxCdDeviceIndex)),
              "/x/run.cue");
    EXPECT_EQ(setup.CdDevice, "/x/disc.cue");
    EXPECT_FALSE(setup.SettingsChanged());
}

TEST(SetupWindow, MidiOutputChoiceTakesEffectAndIsSavedAsMidiout) {
    SetupFixture f;
    FakeSetupDevices devices;
    f.setup.SetDevices(devices);
    const std::string builtIn = Sjis("内蔵シンセサイザー");
    EXPECT_EQ(f.setup.ComboBoxMidiOutItems,
              (std::vector<std::string>{builtIn, "UM-ONE:UM-ONE MIDI 1", "SC-88:Port A"}));
    EXPECT_EQ(f.setup.ComboBoxMidiOutIndex, 0);
    EXPECT_TRUE(f.setup.ComboBoxMidiOutEnabled);

    f.setup.ComboBoxMidiOutChange(2);
    EXPECT_EQ(devices.outputs, std::vector<std::string>{"SC-88:Port A"});
    EXPECT_EQ(f.setup.ComboBoxMidiOutIndex, 2);
    EXPECT_TRUE(f.setup.SettingsChanged());
    f.setup.ButtonSaveClick();
    EXPECT_NE(f.fileText().find("MIDIOUT=SC-88:Port A"), std::string::npos);
    EXPECT_FALSE(f.setup.SettingsChanged());

    // The module unplugged before the next start: the choice stays, marked as not found, until
    // the user picks another; the built-in synthesizer is always first.
    devices.ports = {"UM-ONE:UM-ONE MIDI 1"};
    auto again = f.restart();
    again->FormSetUp.SetDevices(devices);
    EXPECT_EQ(again->FormSetUp.MidiOut, "SC-88:Port A");
    EXPECT_EQ(again->FormSetUp.ComboBoxMidiOutItems,
              (std::vector<std::string>{builtIn, "UM-ONE:UM-ONE MIDI 1",
                                        "SC-88:Port A" + Sjis("（見つかりません）")}));
    EXPECT_EQ(again->FormSetUp.ComboBoxMidiOutIndex, 2);
    again->FormSetUp.ComboBoxMidiOutChange(0);
    EXPECT_EQ(devices.outputs.back(), "");
    EXPECT_EQ(again->FormSetUp.ComboBoxMidiOutItems.size(), 2u);
    EXPECT_TRUE(again->FormSetUp.SettingsChanged());
}

// Off until chosen; each choice reaches the synthesizer for the next song, and the saved
// choice is there again at the next start.
TEST(SetupWindow, LoopPlayIsOffUntilChosenAndKeptAsLoopcountAndLoopfades) {
    SetupFixture f;
    FakeSetupDevices devices;
    f.setup.SetDevices(devices);
    EXPECT_FALSE(f.setup.CheckBoxLoop.Down);
    EXPECT_FALSE(f.setup.ComboBoxLoopEnabled);
    EXPECT_EQ(f.setup.ComboBoxLoopCountItems.size(), 9u);
    EXPECT_EQ(f.setup.CurrentOptions().LoopRepeats, 0);

    f.setup.CheckBoxLoop.Down = true;
    f.setup.CheckBoxLoopClick();
    f.setup.ComboBoxLoopCountChange(8);
    f.setup.ComboBoxLoopFadeChange(5);
    f.setup.ComboBoxLoopFadeChange(11); // no such item
    EXPECT_TRUE(f.setup.ComboBoxLoopEnabled);
    EXPECT_EQ(devices.loops, (std::vector<std::pair<int, int>>{{1, 3}, {9, 3}, {9, 5}}));
    EXPECT_TRUE(f.setup.SettingsChanged());
    f.setup.ButtonSaveClick();
    EXPECT_NE(f.fileText().find("LOOPCOUNT=9"), std::string::npos);
    EXPECT_NE(f.fileText().find("LOOPFADES=5"), std::string::npos);

    auto again = f.restart();
    EXPECT_TRUE(again->FormSetUp.CheckBoxLoop.Down);
    EXPECT_EQ(again->FormSetUp.ComboBoxLoopCountIndex, 8);
    EXPECT_EQ(again->FormSetUp.ComboBoxLoopFadeIndex, 5);
    again->FormSetUp.SetDevices(devices);
    again->FormSetUp.CheckBoxLoop.Down = false;
    again->FormSetUp.CheckBoxLoopClick();
    EXPECT_EQ(devices.loops.back(), std::make_pair(0, 5));
    EXPECT_TRUE(again->FormSetUp.SettingsChanged());
}

} // namespace
} // namespace tobira
