// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/midi_fixture.h"
#include "files/regular_file.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace tobira {
namespace {

using testing::MidiFixture;
using testing::Sjis;
using testing::TempDir;

const std::string kNothingToPlay =
    Sjis("指定フォルダにＭＩＤＩファイルがないか、またはアルバムファイルに異常があります");
const std::string kAlbumUnreadable = Sjis("アルバムファイルが読み込めません");

struct SelectorFixture : MidiFixture {
    TFormMidi& selector = forms.FormMidi;

    SelectorFixture() { open(); }
    void open() {
        selector.Show();
        selector.FormActivate();
    }
    IniFile settings() const { return IniFile(main.Paths.SettingsPath); }
    std::string fileText() const {
        std::ifstream in(dir / "TOBIRA.INI", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    int folderKeysInFile() const {
        const std::string text = fileText();
        int count = 0;
        for (std::size_t at = text.find("MIDIFLD"); at != std::string::npos;
             at = text.find("MIDIFLD", at + 1))
            ++count;
        return count;
    }
    // A folder of the program folder holding these generated songs.
    std::string songFolder(const std::string& name, const std::vector<std::string>& files) {
        std::filesystem::create_directory(dir / name);
        int key = 60;
        for (const std::string& file : files)
            testing::ShortSong(1.0, key++).write(dir / name / file);
        return main.Paths.Folder + name;
    }
    int entry(const std::string& text) const {
        const auto& list = selector.ListBoxFolder;
        const auto at = std::find(list.begin(), list.end(), text);
        return at == list.end() ? -1 : static_cast<int>(at - list.begin());
    }
    void playEntry(const std::string& text) {
        selector.ListBoxFolderClick(entry(text));
        selector.SpeedButtonStartClick();
        fakes.uiPost.runPending();
        note();
    }
    std::vector<std::string> playListFiles() const {
        std::vector<std::string> names;
        for (const std::string& path : view.ListBoxTitle.paths())
            names.push_back(path.substr(path.rfind('/') + 1));
        return names;
    }
};

std::string album(const char* name) {
    return std::string(kAlbumMarker) + name;
}

TEST(MidiSelector, DeletingRewritesTheFolderSlotsInListOrderAndEmptiesTheRest) {
    SelectorFixture f;
    f.fakes.choosers.folders = {std::string("/music/b"), std::string("/music/a"),
                                std::string("/music/c")};
    for (int i = 0; i < 3; ++i)
        f.selector.SpeedButtonAddClick();
    ASSERT_EQ(f.selector.ListBoxFolder,
              (std::vector<std::string>{"/music/a", "/music/b", "/music/c"}));
    EXPECT_EQ(f.selector.LabelMemory, "/music/c");

    f.selector.ListBoxFolderClick(0);
    EXPECT_TRUE(f.selector.SpeedButtonDel.Enabled);
    f.selector.SpeedButtonDelClick();
    EXPECT_FALSE(f.selector.SpeedButtonDel.Enabled);
    EXPECT_FALSE(f.selector.SpeedButtonStart.Enabled);
    const IniFile file = f.settings();
    EXPECT_EQ(ReadSetting(file, keys::MIDIFLD(0)), "/music/b");
    EXPECT_EQ(ReadSetting(file, keys::MIDIFLD(1)), "/music/c");
    for (int slot = 2; slot < keys::kMidiFolderSlots; ++slot)
        EXPECT_EQ(ReadSetting(file, keys::MIDIFLD(slot)), "") << slot;
    EXPECT_EQ(f.folderKeysInFile(), 40);

    f.selector.SpeedButtonDelClick(); // nothing selected: nothing happens
    EXPECT_EQ(f.selector.ListBoxFolder.size(), 2u);
}

TEST(MidiSelector, TheSameFolderTwiceIsStoredAndShownTwiceAndAFortyFirstIsRefused) {
    SelectorFixture f;
    f.fakes.choosers.folders = {std::string("/m"), std::string("/m")};
    f.selector.SpeedButtonAddClick();
    f.selector.SpeedButtonAddClick();
    f.open();
    EXPECT_EQ(f.selector.ListBoxFolder, (std::vector<std::string>{"/m", "/m"}));

    IniFile file = f.settings();
    for (int slot = 0; slot < keys::kMidiFolderSlots; ++slot)
        WriteSetting(file, keys::MIDIFLD(slot), "/f" + std::to_string(slot));
    std::ofstream(f.dir / "Best.ABM") << "";
    f.open();
    ASSERT_EQ(f.selector.ListBoxFolder.size(), 41u) << "forty folders and an album";
    f.fakes.choosers.folders = {std::string("/one-too-many")};
    f.selector.SpeedButtonAddClick();
    EXPECT_EQ(f.fakes.choosers.folders.size(), 1u) << "refused before browsing";
    ASSERT_EQ(f.fakes.messages.shown.size(), 1u);
    EXPECT_EQ(f.folderKeysInFile(), 40);
    EXPECT_EQ(f.selector.ListBoxFolder.size(), 41u);
}

// A registered folder is a settings line read back cut at 1023 bytes: a folder no line can hold,
// or that would come back as another, is refused when added, named; one that fits comes back
// whole after a restart.
TEST(MidiSelector, AFolderNoSettingsLineCanHoldIsRefusedWhenAdded) {
    const std::string longest = "/" + std::string(1022, 'a');
    const struct {
        const char* what;
        std::string folder;
        const char* named; // in the message; empty when the folder is taken
    } cases[] = {
        {"tab", "/m/fold\tx", "/m/fold\\x09x"},
        {"line feed", "/m/fold\nx", "/m/fold\\x0Ax"},
        {"carriage return", "/m/fold\rx", "/m/fold\\x0Dx"},
        {"1024 bytes", longest + "b", "1023"},
        {"1023 bytes", longest, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SelectorFixture f;
        f.fakes.choosers.folders = {c.folder};
        f.selector.SpeedButtonAddClick();
        f.open();
        if (*c.named == '\0') {
            EXPECT_TRUE(f.fakes.messages.shown.empty());
            EXPECT_EQ(f.selector.ListBoxFolder, std::vector<std::string>{c.folder});
            continue;
        }
        ASSERT_EQ(f.fakes.messages.shown.size(), 1u);
        EXPECT_NE(f.fakes.messages.shown[0].find(c.named), std::string::npos)
            << f.fakes.messages.shown[0];
        EXPECT_TRUE(f.selector.ListBoxFolder.empty());
        EXPECT_EQ(f.folderKeysInFile(), 0);
    }
}

TEST(MidiSelector, AnAlbumPlaysThroughTheListRulesInTheChosenOrder) {
    SelectorFixture f;
    for (const char* file : {"a.mid", "b.mid", "c.mid"})
        testing::ShortSong(1.0).write(f.dir / file);
    const std::string folder = f.main.Paths.Folder;
    std::ofstream(f.dir / "Best.ABM", std::ios::binary)
        << "Cherry\t" << folder << "c.mid\t+0\t1\r\n"
        << "!1 Banana\t" << folder << "b.mid\t+0\t1\r\n"
        << "Apple\t" << folder << "a.mid\t+0\t1\r\n";
    std::ofstream(f.dir / "other.abm") << "";
    std::ofstream(f.dir / ".ABM", std::ios::binary) << "Apple\t" << folder << "a.mid\t+0\t1\r\n";
    // Named like albums, but no album files: a folder, a FIFO; and one too big to read.
    std::filesystem::create_directory(f.dir / "folder.ABM");
    ASSERT_EQ(::mkfifo((f.dir / "fifo.ABM").c_str(), 0644), 0);
    std::ofstream(f.dir / "huge.ABM") << "x";
    std::filesystem::resize_file(f.dir / "huge.ABM", read_limit::List + 1);
    std::ofstream(f.dir / "x.ABM.ABM", std::ios::binary) << "C\t" << folder << "c.mid\t+0\t1\r\n";
    f.open();
    EXPECT_NE(f.entry(album("Best")), -1);
    EXPECT_NE(f.entry(album("other")), -1) << "the extension in any case";
    EXPECT_EQ(f.entry(album("folder")), -1);
    EXPECT_EQ(f.entry(album("fifo")), -1);

    // The album with the empty name is the file .ABM, and x.ABM.ABM the album "x": each listed
    // and played by the one rule.
    for (const auto& [name, song] : {std::pair{"", "a.mid"}, std::pair{"x", "c.mid"}}) {
        f.playEntry(album(name));
        EXPECT_EQ(f.played, std::vector<std::string>{song});
        EXPECT_TRUE(f.fakes.messages.shown.empty());
        f.press(&TFormMain::SpeedButtonSTOPClick);
        f.played.clear();
        f.open();
    }

    f.playEntry(album("Best"));
    EXPECT_EQ(f.playListFiles(), (std::vector<std::string>{"b.mid", "a.mid", "c.mid"}))
        << "the marked song first, then by title";
    EXPECT_EQ(f.played, std::vector<std::string>{"b.mid"});
    EXPECT_FALSE(f.selector.Visible);
    EXPECT_FALSE(f.selector.SpeedButtonStart.Enabled);
    EXPECT_TRUE(f.fakes.messages.shown.empty());

    // An empty album plays nothing; one that cannot be read says so first.
    f.press(&TFormMain::SpeedButtonSTOPClick);
    f.open();
    f.playEntry(album("other"));
    EXPECT_EQ(f.fakes.messages.shown, std::vector<std::string>{kNothingToPlay});
    f.fakes.messages.shown.clear();
    f.open();
    f.playEntry(album("huge"));
    ASSERT_EQ(f.fakes.messages.shown.size(), 2u);
    EXPECT_EQ(f.fakes.messages.shown[0].rfind(kAlbumUnreadable + "\n", 0), 0u);
    EXPECT_NE(f.fakes.messages.shown[0].find("huge.ABM " + Sjis("は大きすぎます")),
              std::string::npos)
        << Cp932ToUtf8(f.fakes.messages.shown[0]);
    EXPECT_EQ(f.fakes.messages.shown[1], kNothingToPlay);
}

TEST(MidiSelector, AFolderPlaysItsMidiFilesInNameOrderOrShuffledWithRnd) {
    struct Case {
        MidiOrder order;
        std::vector<std::string> expected;
    } cases[] = {
        {MidiOrder::Nor, {"1.mid", "2.MID", "3.mid"}},
        // i = 2 swaps with random(1) = 0, then i = 1 with random(0) = 0.
        {MidiOrder::Rnd, {"2.MID", "3.mid", "1.mid"}},
    };
    for (const Case& c : cases) {
        SelectorFixture f;
        const std::string folder = f.songFolder("songs", {"3.mid", "1.mid", "2.MID"});
        std::ofstream(f.dir / "songs" / "notes.txt") << "x";
        f.view.ChooseOrder(c.order);
        WriteSetting(*std::make_unique<IniFile>(f.settings()), keys::MIDIFLD(0), folder);
        f.open();
        f.playEntry(folder);
        EXPECT_EQ(f.playListFiles(), c.expected);
        EXPECT_EQ(f.view.ListBoxTitle.vol(0), "+0");
        EXPECT_EQ(f.view.ListBoxTitle.entryText(0).rfind("+0 " + c.expected[0] + ": ", 0), 0u);
        EXPECT_EQ(f.played.size(), 1u);
        EXPECT_EQ(f.fakes.busy.depth, 0);
    }
}

TEST(MidiSelector, AVanishedFolderOrAnAlbumNameLeavingTheFolderPlaysNothing) {
    TempDir outside;
    std::ofstream(outside / "Evil.ABM") << "x\t/etc/passwd\t+0\t1\r\n";
    const std::string escape =
        album(("../" + outside.path().filename().string() + "/Evil").c_str());
    struct Case {
        std::string entry;
        std::vector<std::string> messages;
    } cases[] = {
        {"/no/such/folder",
         {kNothingToPlay + "\n" + Sjis("フォルダ【/no/such/folder】がありません")}},
        {escape, {kAlbumUnreadable, kNothingToPlay}},
    };
    for (const Case& c : cases) {
        SelectorFixture f;
        IniFile file = f.settings();
        WriteSetting(file, keys::MIDIFLD(0), c.entry);
        f.open();
        f.playEntry(c.entry);
        // The album's message names the file it looked for after the described text.
        std::vector<std::string> shown = f.fakes.messages.shown;
        if (!shown.empty() && shown[0].rfind(kAlbumUnreadable + "\n", 0) == 0 &&
            shown[0].find("Evil.ABM") != std::string::npos)
            shown[0] = kAlbumUnreadable;
        EXPECT_EQ(shown, c.messages) << c.entry;
        EXPECT_TRUE(f.view.ListBoxTitle.empty());
        EXPECT_TRUE(f.played.empty());
        EXPECT_FALSE(f.selector.Visible);
    }
}

TEST(MidiSelector, RightClickOnAddPlaysAFolderOnceWithoutRegisteringIt) {
    SelectorFixture f;
    const std::string folder = f.songFolder("once", {"x.mid", "y.mid"});
    f.fakes.choosers.folders = {std::nullopt, std::string(folder)};
    f.selector.SpeedButtonAddMouseDown(MouseButton::Right); // cancelled
    EXPECT_TRUE(f.selector.Visible);
    f.selector.SpeedButtonAddMouseDown(MouseButton::Right);
    f.fakes.uiPost.runPending();
    f.note();
    EXPECT_EQ(f.played, std::vector<std::string>{"x.mid"});
    EXPECT_EQ(f.selector.LabelMemory, folder);
    EXPECT_EQ(ReadSetting(f.settings(), keys::MIDIFLD(0)), "");
    EXPECT_FALSE(f.selector.Visible);

    SelectorFixture empty;
    empty.fakes.choosers.folders = {std::string(empty.songFolder("none", {}))};
    empty.selector.SpeedButtonAddMouseDown(MouseButton::Right);
    EXPECT_EQ(
        empty.fakes.messages.shown,
        std::vector<std::string>{Sjis("指定のフォルダにはＭＩＤＩファイルがありませんでした")});
}

TEST(MidiSelector, SourceAndOrderButtonsAreMirroredBothWays) {
    SelectorFixture f;
    const std::string modeLabel = f.main.LabelMidiMode.Caption;
    f.selector.SpeedButtonLst0.Down = false;
    f.selector.SpeedButtonLst2.Down = true;
    f.selector.SpeedButtonNor.Down = false;
    f.selector.SpeedButtonNew.Down = true;
    f.selector.SpeedButtonLst0Click();
    EXPECT_EQ(f.view.Source(), MidiListSource::BothLists);
    EXPECT_EQ(f.view.Order(), MidiOrder::New);
    EXPECT_EQ(f.main.LabelMidiMode.Caption, modeLabel) << "the mode label is not refreshed";

    f.view.ChooseSource(MidiListSource::List1);
    f.view.ChooseOrder(MidiOrder::Rnd);
    EXPECT_TRUE(f.selector.SpeedButtonLst1.Down);
    EXPECT_FALSE(f.selector.SpeedButtonLst2.Down);
    EXPECT_TRUE(f.selector.SpeedButtonRnd.Down);
    EXPECT_FALSE(f.selector.SpeedButtonNew.Down);
}

TEST(MidiSelector, GeometryIsReadWithItsLimitsAndWrittenAtEveryClose) {
    SelectorFixture f;
    IniFile file = f.settings();
    WriteSetting(file, keys::MIDIWIDTH, 200);
    WriteSetting(file, keys::MIDIHEIGH, 177);
    WriteSetting(file, keys::POSITION0, 40);
    WriteSetting(file, keys::POSITION1, 60);
    f.selector.FormCreate();
    EXPECT_EQ(f.selector.Width, 280);
    EXPECT_EQ(f.selector.Height, 194);
    EXPECT_EQ(f.selector.Left, 40);

    f.selector.Width = 300;
    f.selector.Top = 70;
    f.selector.SpeedButtonCloseClick();
    EXPECT_EQ(ReadSetting(f.settings(), keys::MIDIWIDTH), 300);
    EXPECT_EQ(ReadSetting(f.settings(), keys::POSITION1), 70);

    // Start plays the chosen lists through the main window's PLAY, and closes too.
    f.writeList({{"Song", "s.mid"}});
    f.open();
    f.selector.Top = 80;
    f.selector.BitBtnStartClick();
    f.fakes.uiPost.runPending();
    f.note();
    EXPECT_EQ(f.played, std::vector<std::string>{"s.mid"});
    EXPECT_EQ(ReadSetting(f.settings(), keys::POSITION1), 80);
    EXPECT_EQ(f.selector.BitBtnStart.Font, colors::Black);
}

} // namespace
} // namespace tobira
