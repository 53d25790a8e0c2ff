// SPDX-License-Identifier: GPL-3.0-or-later
// Albums in the program folder: saving, loading, ordering, renaming and the add buttons.
#include "midi_windows/album_page.h"

#include "midi_windows/pages_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

namespace tobira::testing {
namespace {

struct AlbumPageTest : PagesFixture, ::testing::Test {
    AlbumPage& album = view.Album;
    std::string albumPath(const std::string& name) const { return paths.Folder + name + ".ABM"; }
    int indexOf(const std::string& name) const {
        for (std::size_t i = 0; i < album.ListBoxATitles.size(); ++i)
            if (album.ListBoxATitles[i] == albumPath(name))
                return static_cast<int>(i);
        return -1;
    }
};

TEST_F(AlbumPageTest, SavedOrderIsKeptAndSavingAgainReplacesWithoutAsking) {
    album.AddLines({"B", "A", "C"});
    EXPECT_EQ(album.InnerPage, AlbumPage::kEditTab);
    EXPECT_TRUE(album.SpeedButtonASave.Enabled);
    album.EditATitle = "Best";
    album.SpeedButtonASaveClick();
    album.SpeedButtonASaveClick();
    EXPECT_TRUE(fakes.messages.asked.empty());
    EXPECT_EQ(bytesOf(albumPath("Best")), "B\r\nA\r\nC\r\n");
    EXPECT_EQ(fakes.messages.shown.back(),
              Sjis("曲リストの内容を「Best」というアルバム名で保存しました"));

    album.SpeedButtonClearClick();
    album.SpeedButtonATitleAllClick();
    album.ListBoxATitlesClick(indexOf("Best"));
    album.SpeedButtonATitleLoadClick();
    EXPECT_EQ(album.ListBoxAContents, (std::vector<std::string>{"B", "A", "C"}));
}

TEST_F(AlbumPageTest, NamesStopAtTheFirstDotAndBadNamesAreRefused) {
    writeText(albumPath("My.Songs"), "x\r\n");
    writeText(paths.Folder + "lower.abm", "y\r\n");
    album.SpeedButtonATitleAllClick();
    ASSERT_EQ(album.ListBoxATitles.size(), 2u);
    album.ListBoxATitlesClick(indexOf("My.Songs"));
    EXPECT_EQ(album.EditATitles, "My");
    EXPECT_EQ(album.EditATitle, "My");

    album.AddLines({"line"});
    for (const char* name : {"../escape", ".hidden", "   "}) {
        album.EditATitle = name;
        const std::size_t shown = fakes.messages.shown.size();
        album.SpeedButtonASaveClick();
        EXPECT_EQ(fakes.messages.shown.size(), shown + 1) << name;
        EXPECT_FALSE(std::filesystem::exists(PathFromCp932(albumPath(name)))) << name;
    }
    album.EditATitle.clear();
    album.SpeedButtonASaveClick();
    EXPECT_EQ(fakes.messages.shown.back(), Sjis("アルバム名が入力されていません"));
}

TEST_F(AlbumPageTest, UpOnTheFirstAndDownOnTheLastDoNothing) {
    album.AddLines({"1", "2", "3"});
    const std::tuple<int, void (AlbumPage::*)(), std::vector<std::string>, int> cases[] = {
        {0, &AlbumPage::SpeedButtonACUpClick, {"1", "2", "3"}, 0},
        {2, &AlbumPage::SpeedButtonACDownClick, {"1", "2", "3"}, 2},
        {1, &AlbumPage::SpeedButtonACUpClick, {"2", "1", "3"}, 0},
        {0, &AlbumPage::SpeedButtonACDownClick, {"1", "2", "3"}, 1},
    };
    for (const auto& [select, move, expected, selectedAfter] : cases) {
        album.ListBoxAContentsClick(select);
        (album.*move)();
        EXPECT_EQ(album.ListBoxAContents, expected);
        EXPECT_EQ(album.AContentsIndex, selectedAfter);
    }
}

TEST_F(AlbumPageTest, RenameOntoAnExistingAlbumIsRefused) {
    writeText(albumPath("First"), "one\r\n");
    writeText(albumPath("Second"), "two\r\n");
    album.SpeedButtonATitleAllClick();
    album.ListBoxATitlesClick(indexOf("First"));
    album.EditATitles = "Second";
    album.SpeedButtonATitleEditClick();
    EXPECT_EQ(fakes.messages.shown.back(), Sjis("「Second」というアルバムはすでにあります"));
    EXPECT_EQ(bytesOf(albumPath("First")), "one\r\n");
    EXPECT_EQ(bytesOf(albumPath("Second")), "two\r\n");
    EXPECT_EQ(album.ListBoxATitles[static_cast<std::size_t>(album.ATitlesIndex)],
              albumPath("First"));

    album.EditATitles = "Third";
    album.SpeedButtonATitleEditClick();
    EXPECT_EQ(bytesOf(albumPath("Third")), "one\r\n");
    EXPECT_FALSE(std::filesystem::exists(PathFromCp932(albumPath("First"))));
    EXPECT_FALSE(album.SpeedButtonATitleEdit.Enabled);

    // Delete asks first; No keeps the file.
    album.ListBoxATitlesClick(indexOf("Third"));
    fakes.messages.answers = {false, true};
    album.SpeedButtonATitleDelClick();
    EXPECT_TRUE(std::filesystem::exists(PathFromCp932(albumPath("Third"))));
    album.SpeedButtonATitleDelClick();
    EXPECT_FALSE(std::filesystem::exists(PathFromCp932(albumPath("Third"))));
    EXPECT_EQ(indexOf("Third"), -1);
}

TEST_F(AlbumPageTest, AddButtonsKeepWholeLines) {
    const std::string longLine = line("Long", "/" + std::string(300, 'p') + ".mid", "-2", "0");
    writeList(0, {longLine});
    writeList(1, {line("Short", "/s.mid")});
    view.Search.ComboBoxKeyWord = "Long";
    view.Search.ButtonSearchClick();
    view.Search.ButtonAllClick();
    view.Search.BitBtnAddAClick();
    view.Page1.Activate();
    view.Page1.ListBoxTitleClick(0);
    view.Page1.SpeedButtonAddAClick();
    view.Page1.SpeedButtonAddAClick();
    EXPECT_EQ(album.ListBoxAContents, (std::vector<std::string>{longLine, line("Short", "/s.mid"),
                                                                line("Short", "/s.mid")}));
    EXPECT_EQ(album.InnerPage, AlbumPage::kEditTab);
    EXPECT_EQ(view.PageIndex, TFormView::kPlayPage) << "the outer page stays";
}

// The page lists every album file the MIDI selector lists, the one named ".ABM" (the album with
// the empty name) too, so that the selector's word to delete albums here can be followed; what
// only looks like an album file is neither's.
TEST_F(AlbumPageTest, ListsTheAlbumFilesTheSelectorListsSoThatEachCanBeDeleted) {
    const struct {
        const char* name;
        char kind; // 'f' file, 'd' folder, 'p' FIFO
        bool listed;
    } files[] = {
        {".ABM", 'f', true},   {"x.ABM.ABM", 'f', true}, {"a.abm", 'f', true},
        {"d.ABM", 'd', false}, {"p.ABM", 'p', false},
    };
    for (const auto& f : files) {
        const std::filesystem::path path = PathFromCp932(paths.Folder + f.name);
        if (f.kind == 'f')
            writeText(paths.Folder + f.name, "x\r\n");
        else if (f.kind == 'd')
            std::filesystem::create_directory(path);
        else
            ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    }
    album.SpeedButtonATitleAllClick();
    for (const auto& f : files) {
        const auto at = std::find(album.ListBoxATitles.begin(), album.ListBoxATitles.end(),
                                  paths.Folder + f.name);
        EXPECT_EQ(at != album.ListBoxATitles.end(), f.listed) << f.name;
    }
    album.ListBoxATitlesClick(indexOf(""));
    fakes.messages.answers = {true};
    album.SpeedButtonATitleDelClick();
    EXPECT_FALSE(std::filesystem::exists(PathFromCp932(paths.Folder + ".ABM")));
}

} // namespace
} // namespace tobira::testing
