// SPDX-License-Identifier: GPL-3.0-or-later
// The search page over the real list files: matching, accumulating, keywords, the missing-file
// check and the jumps.
#include "midi_windows/search_page.h"

#include "midi_windows/pages_support.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"

#include <gtest/gtest.h>

namespace tobira::testing {
namespace {

struct SearchPageTest : PagesFixture, ::testing::Test {
    SearchPage& search = view.Search;
    std::vector<std::string> titlesFound() const {
        std::vector<std::string> titles;
        for (const auto& result : search.ListBoxSearch)
            titles.push_back(result.substr(0, result.find('\t')));
        return titles;
    }
};

TEST_F(SearchPageTest, LooseModeIgnoresWidthAndCaseStrictModeDoesNot) {
    writeList(0, {line("MIDI song", "/1"), line("midi tune", "/2"), line("other", "/3")});
    writeList(1, {line(Sjis("ＭＩＤＩ 全角"), "/4"), line(Sjis("ｍｉｄｉ 小文字"), "/5")});
    search.ComboBoxKeyWord = Sjis("ｍｉｄｉ");
    search.ButtonSearchClick();
    EXPECT_EQ(titlesFound(),
              (std::vector<std::string>{"0: MIDI song", "0: midi tune", Sjis("1: ｍｉｄｉ 小文字"),
                                        Sjis("1: ＭＩＤＩ 全角")}));
    EXPECT_EQ(search.ListBoxSearchColor, SearchPage::ResultColor::Window);
    EXPECT_TRUE(search.ButtonAll.Enabled);

    search.ButtonClearClick();
    search.PanelModeClick();
    ASSERT_TRUE(search.IsStrictMode());
    EXPECT_EQ(search.PanelMode.Caption, Sjis("厳密検索モード"));
    search.ComboBoxKeyWord = Sjis("ｍｉｄｉ");
    search.ButtonSearchClick();
    EXPECT_EQ(titlesFound(), (std::vector<std::string>{Sjis("1: ｍｉｄｉ 小文字")}));
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(SearchPageTest, SearchesAccumulateAndFollowChangedFiles) {
    writeList(0, {line("Blue moon", "/music/a.mid"), line("Red sun", "/music/b.mid")});
    search.ComboBoxKeyWord = "music";
    search.ButtonSearchClick();
    search.ButtonSearchClick();
    EXPECT_EQ(search.ListBoxSearch.size(), 4u) << "the folder part of the path matches too";

    search.ButtonClearClick();
    EXPECT_EQ(search.ListBoxSearchColor, SearchPage::ResultColor::ButtonFace);
    EXPECT_TRUE(search.ComboBoxKeyWord.empty());
    // A list changed since the last search is read again.
    writeList(0, {line("Green sea", "/music/c.mid")});
    search.ComboBoxKeyWord = "music";
    search.ButtonSearchClick();
    EXPECT_EQ(titlesFound(), (std::vector<std::string>{"0: Green sea"}));

    search.ComboBoxKeyWord = "nowhere";
    search.ButtonSearchClick();
    EXPECT_EQ(fakes.messages.shown,
              (std::vector<std::string>{Sjis("検索語を含むＭＩＤＩデータはありませんでした")}));
    EXPECT_EQ(search.ListBoxSearch.size(), 1u) << "earlier results stay";
}

TEST_F(SearchPageTest, ComposerKeywordsComeFromLowerCaseBy) {
    writeList(0, {line("Waltz by Ann Lee", "/1"), line("Polka by Zoe", "/2")});
    writeList(1, {line("March by Ann", "/3"), line("Tango By Ann", "/4"), line("by", "/5")});
    search.Activate();
    EXPECT_EQ(search.ComboBoxKeyWordItems, (std::vector<std::string>{"Ann", "Zoe"}));
}

TEST_F(SearchPageTest, CheckListsMissingFilesInYellow) {
    const std::string present = song("here.mid", "Here");
    writeList(0, {line("Here", present)});
    writeList(1, {line("Gone", "/nowhere/gone.mid")});
    search.BitBtnCheckClick();
    EXPECT_EQ(titlesFound(), (std::vector<std::string>{"1: Gone"}));
    EXPECT_EQ(search.ListBoxSearchColor, SearchPage::ResultColor::Yellow);
    EXPECT_EQ(fakes.messages.shown.back(),
              Sjis("プレイリストのＭＩＤＩファイルの中に存在していないものがありました．"
                   "Ｌｉｓｔボタンのクリックで該当データへジャンプします"));

    writeList(1, {});
    search.BitBtnCheckClick();
    EXPECT_TRUE(search.ListBoxSearch.empty());
    EXPECT_EQ(search.ListBoxSearchColor, SearchPage::ResultColor::ButtonFace);
    EXPECT_EQ(fakes.messages.shown.back(),
              Sjis("プレイリストのＭＩＤＩファイルはすべて存在しています"));
}

TEST_F(SearchPageTest, JumpsShowTheEntryOnItsListPage) {
    writeList(0, {line("Alpha", "/a"), line("Shared", "/s0")});
    writeList(1, {line("Beta", "/b"), line("Shared", "/s1")});
    search.Activate();
    search.ComboBoxKeyWord = "Beta";
    search.ButtonSearchClick();
    search.ListBoxSearchClick({true});
    search.ButtonJumpClick();
    EXPECT_EQ(view.PageIndex, TFormView::kList1Page);
    EXPECT_EQ(view.Page1.ItemIndex, 0);
    EXPECT_EQ(view.Page1.EditPath, "/b");

    // The play page's jump: List 0 first, then List 1, else the message.
    const std::pair<const char*, int> cases[] = {{"+0 Shared", TFormView::kList0Page},
                                                 {"+0 Beta", TFormView::kList1Page},
                                                 {"+0 Nobody", -1}};
    for (auto [entry, page] : cases) {
        view.ClearPlayList();
        view.ListBoxTitle.append(entry, "/x", "+0", "1");
        view.ListBoxTitleClick(0);
        const std::size_t messages = fakes.messages.shown.size();
        view.SpeedButtonJumpClick();
        if (page < 0) {
            EXPECT_EQ(fakes.messages.shown.size(), messages + 1);
            EXPECT_EQ(fakes.messages.shown.back(),
                      Sjis("指定のデータはプレイリスト中に存在していませんでした"));
        } else {
            EXPECT_EQ(view.PageIndex, page) << entry;
            EXPECT_EQ(view.Page(page - 1).EditTitle, std::string(entry).substr(3));
        }
        EXPECT_FALSE(view.SpeedButtonJump.Enabled);
    }
    EXPECT_EQ(fakes.busy.depth, 0);
}

TEST_F(SearchPageTest, StartFoldersAreChosenForTheBoxClickedLast) {
    fakes.choosers.folders = {std::string("/ignored"), std::string("/music/new")};
    search.ButtonRefClick();
    EXPECT_FALSE(IniFile(paths.SettingsPath).exists()) << "no box clicked: nothing stored";
    search.EditList1Click();
    search.ButtonRefClick();
    EXPECT_EQ(search.EditList1, "/music/new");
    EXPECT_EQ(ReadSetting(IniFile(paths.SettingsPath), keys::OPENFOLD1), "/music/new");
    EXPECT_EQ(view.StartFolder(1), "/music/new");
}

} // namespace
} // namespace tobira::testing
