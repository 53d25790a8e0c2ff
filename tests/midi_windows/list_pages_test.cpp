// SPDX-License-Identifier: GPL-3.0-or-later
// The list pages through the real list files in a temporary program folder.
#include "midi_windows/list_page.h"

#include "midi_windows/pages_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tobira::testing {
namespace {

struct ListPagesTest : PagesFixture, ::testing::Test {};

TEST_F(ListPagesTest, AddingOneFileTwiceByHandGivesTwoEqualMarkedLines) {
    const std::string file = song("songs/one.mid", "Title One");
    fakes.choosers.files = {file, file};
    for (ListPage* page : {&view.Page1, &view.Page1})
        page->SpeedButtonManualClick();
    const std::string expected = line("!1 Title One", file);
    EXPECT_EQ(listLines(1), (std::vector<std::string>{expected, expected}));
    EXPECT_EQ(view.Page1.PanelAll, "2");
    EXPECT_TRUE(listLines(0).empty()) << "the other list is not touched";
    EXPECT_EQ(fakes.busy.depth, 0);
}

TEST_F(ListPagesTest, FolderScanAddsEachMidiFileOnceSortedAndCaseSensitive) {
    const std::string a = song("music/a.mid", "Alpha");
    const std::string upper = song("music/SONG.MID", "Upper");
    const std::string lower = song("music/song.mid", "");
    // Karaoke, and a title of 13 bytes: its length byte is a CR.
    const std::string karaoke = song("music/sakura.KAR", "Sakura Sakura");
    song("music/sub/deep.mid", "Deep");
    std::filesystem::create_directory(folder / "music/folder.mid");
    std::filesystem::create_symlink(folder / "music/nothing", folder / "music/broken.mid");
    writeText(*Cp932FromPath(folder / "music/notes.txt"), "x");
    const std::string music = *Cp932FromPath(folder / "music");

    fakes.choosers.folders = {music, music};
    view.Page0.SpeedButtonAutoClick();
    // SONG.MID and song.mid are two files on Linux; the empty title falls back to the name.
    EXPECT_EQ(listLines(0),
              (std::vector<std::string>{line("!1 Alpha", a), line("!1 Sakura Sakura", karaoke),
                                        line("!1 song.mid", lower), line("!1 Upper", upper)}));
    // The folder named like a song is no song: the scan names it before the count.
    ASSERT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_NE(fakes.messages.shown[0].find("folder.mid"), std::string::npos);
    EXPECT_EQ(fakes.messages.shown[1], Sjis("ＭＩＤＩデータの自動追加を完了し 4 曲を追加しました"));
    EXPECT_EQ(view.Caption, Sjis("ＭＩＤＩ コントロール"));
    EXPECT_GT(fakes.repaint.count, 0) << "the scan's caption is painted while it runs";

    const std::string before = bytesOf(paths.List0Path);
    view.Page0.SpeedButtonAutoClick();
    EXPECT_EQ(fakes.messages.shown.back(),
              Sjis("ＭＩＤＩデータの自動追加処理を完了しましたが追加件数は０件でした"));
    EXPECT_EQ(bytesOf(paths.List0Path), before);

    // Cancelled: no message, no change.
    view.Page0.SpeedButtonAutoClick();
    EXPECT_EQ(fakes.messages.shown.size(), 4u);
}

TEST_F(ListPagesTest, EditingAMarkedTitleMovesItAmongTheUnmarked) {
    writeList(0, {line("Beta", "/b.mid"), line("!1 Zed", "/z.mid"), line("Alpha", "/a.mid")});
    ListPage& page = view.Page0;
    page.Activate();
    ASSERT_EQ(page.ListBoxTitle[0], "!1 Zed");
    page.ListBoxTitleClick(0);
    EXPECT_TRUE(page.SpeedButtonEdit.Enabled);
    page.EditTitle = "Zed";
    page.ScrollBarVolChange(-3);
    page.RadioGroupFeel = 0;
    page.SpeedButtonEditClick();
    EXPECT_EQ(listLines(0),
              (std::vector<std::string>{line("Alpha", "/a.mid"), line("Beta", "/b.mid"),
                                        line("Zed", "/z.mid", "-3", "0")}));
    EXPECT_EQ(page.ListBoxTitle, (std::vector<std::string>{"Alpha", "Beta", "Zed"}));
    EXPECT_FALSE(page.SpeedButtonEdit.Enabled);
}

TEST_F(ListPagesTest, LoweringTheMarksThreeTimesLeavesUnmarkedSongsAlone) {
    writeList(0, {line("!1 a", "/a"), line("!2 b", "/b"), line("!3 c", "/c"), line("plain", "/p"),
                  line("!x odd", "/x")});
    view.Page0.Activate();
    const std::vector<std::vector<std::string>> after = {
        {"!2 a", "!3 b", "!x odd", "c", "plain"},
        {"!3 a", "!x odd", "b", "c", "plain"},
        {"!x odd", "a", "b", "c", "plain"},
    };
    for (const auto& titles : after) {
        view.Page0.SpeedButtonCtrlClick();
        EXPECT_EQ(view.Page0.ListBoxTitle, titles);
        EXPECT_EQ(listLines(0).size(), 5u);
    }
}

TEST_F(ListPagesTest, DeletingTheLastSongLeavesAnEmptyFile) {
    writeList(0, {line("Only", "/only.mid")});
    view.Page0.Activate();
    view.Page0.ListBoxTitleClick(0);
    view.Page0.SpeedButtonDelClick();
    EXPECT_EQ(bytesOf(paths.List0Path), "");
    EXPECT_EQ(view.Page0.PanelAll, "1") << "the count waits for the next load";
    EXPECT_FALSE(view.Page0.SpeedButtonDel.Enabled);
}

TEST_F(ListPagesTest, ANonNumericFieldIsReportedWithItsLineAndChangesNothing) {
    const std::string bad = line("Bad", "/bad.mid", "x", "1");
    const std::string badFeel = line("Feel", "/f.mid", "+1", "?");
    writeList(0, {bad, badFeel});
    const std::string before = bytesOf(paths.List0Path);
    view.Page0.Activate();
    for (int index : {0, 1}) {
        view.Page0.ListBoxTitleClick(index);
        ASSERT_EQ(fakes.messages.shown.size(), static_cast<std::size_t>(index + 1));
        EXPECT_NE(fakes.messages.shown.back().find(view.Page0.ListBoxTmp[index]),
                  std::string::npos);
    }
    EXPECT_TRUE(view.Page0.EditTitle.empty());
    EXPECT_FALSE(view.Page0.SpeedButtonEdit.Enabled);
    EXPECT_EQ(bytesOf(paths.List0Path), before);
}

TEST_F(ListPagesTest, AReadOnlyListFileIsReportedAndKeptWhole) {
    writeList(0, {line("Kept", "/kept.mid")});
    const auto file = PathFromCp932(paths.List0Path);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read);
    const std::string before = bytesOf(paths.List0Path);
    view.Page0.Activate();
    fakes.choosers.files = {song("new.mid", "New")};
    view.Page0.SpeedButtonManualClick();
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0],
              WriteFailedMessage(paths.List0Path) + Utf8ToCp932("（書き込む権限がありません）"));
    EXPECT_EQ(bytesOf(paths.List0Path), before);
}

TEST_F(ListPagesTest, ShowingASongFindsItsDocumentsInAnyCase) {
    const std::string path = song("docs/tune.Mid", "Tune");
    writeText(*Cp932FromPath(folder / "docs/tune.txt"), "text");
    writeText(*Cp932FromPath(folder / "docs/tune.HED"), "head");
    writeList(1, {line("Tune", path, "+2", "7")});
    ListPage& page = view.Page1;
    page.Activate();
    page.ListBoxTitleClick(0);
    EXPECT_TRUE(page.SpeedButtonTxt.Enabled);
    EXPECT_FALSE(page.SpeedButtonDoc.Enabled);
    EXPECT_TRUE(page.SpeedButtonHed.Enabled);
    EXPECT_EQ(page.RadioGroupFeel, 3) << "a liking above 3 selects the last item";
    EXPECT_EQ(page.PanelVol, "+2");
    page.SpeedButtonTxtClick();
    EXPECT_TRUE(forms.FormReader.Visible);
    EXPECT_EQ(forms.FormReader.MemoReader, "text");
}

} // namespace
} // namespace tobira::testing
