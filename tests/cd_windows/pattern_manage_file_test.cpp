// SPDX-License-Identifier: GPL-3.0-or-later
// The pattern management window on a real TOBIRA.DAT: the sorted list and the titles, the two
// searches, and what delete and modify leave in the file and in the disc's slots.
#include "support/cd_windows.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tobira::testing {
namespace {

constexpr const char* kDisc = "1111111111"; // the disc in the drive

std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8);
}

struct ManageFixture : CdWindows {
    explicit ManageFixture(const std::string& file) {
        list.LabelCDID.Caption = kDisc;
        if (!file.empty())
            std::ofstream(path(), std::ios::binary) << file;
        manage.Show();
    }
    std::filesystem::path path() const { return folder.path() / "TOBIRA.DAT"; }
    std::string fileText() const {
        std::ifstream in(path(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    int select(const std::string& line) {
        const auto& items = manage.ListBoxManage.Items;
        const int index =
            static_cast<int>(std::find(items.begin(), items.end(), line) - items.begin());
        manage.ListBoxManageClick(index);
        return index;
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> shown;
        for (const std::string& m : fakes.messages.shown)
            shown.push_back(Cp932ToUtf8(m));
        return shown;
    }
};

// Appended over time, out of order; one foreign line without a full stop.
const std::string kFile = Sjis("22222222220=01 02 .Night\r\n"
                               "11111111113=03 01 12 .Drive mix\r\n"
                               "memo without title\r\n"
                               "11111111110=05 .Night\r\n"
                               "11111111111=02 .\r\n"
                               "Alpha.a\r\n");

TEST(PatternManage, ShowsTheLinesSortedWithTheirTitles) {
    ManageFixture f(kFile);
    const std::vector<std::string> sorted = {
        "11111111110=05 .Night",    "11111111111=02 .", "11111111113=03 01 12 .Drive mix",
        "22222222220=01 02 .Night", "Alpha.a",          "memo without title"};
    EXPECT_EQ(f.manage.ListBoxManage.Items, sorted);
    const std::vector<std::string> titles = {"a", "Drive mix", "Night", "Night"};
    EXPECT_EQ(f.manage.ListBoxTitle.Items, titles);
    EXPECT_EQ(f.manage.SpeedButtonCDID.Caption, kDisc);
    EXPECT_FALSE(f.manage.SpeedButtonEDIT.Enabled || f.manage.SpeedButtonDEL.Enabled);
    EXPECT_TRUE(f.fakes.messages.shown.empty());

    ManageFixture missing("");
    EXPECT_TRUE(missing.manage.ListBoxManage.Items.empty());
    EXPECT_EQ(missing.messages(),
              std::vector<std::string>{
                  "パターンファイル（ＴＯＢＩＲＡ．ＤＡＴ）がないか、または読み込みエラーです"});
}

TEST(PatternManage, ClickingALineLoadsItWithTheDiscColourAndItsTitle) {
    struct Case {
        std::string line;
        Color colour;
        std::string panel;
    };
    const Case cases[] = {
        {"11111111113=03 01 12 .Drive mix", colors::Aqua, "Drive mix"},
        {"22222222220=01 02 .Night", colors::Yellow, "Night"},
        {"11111111111=02 .", colors::Aqua, "パターン名はありません"},
        {"memo without title", colors::Yellow, "パターン名はありません"},
    };
    ManageFixture f(kFile);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        f.select(c.line);
        EXPECT_EQ(f.manage.EditManage, c.line);
        EXPECT_EQ(f.manage.EditManageColor, c.colour);
        EXPECT_EQ(Cp932ToUtf8(f.manage.PanelTITLE), c.panel);
        EXPECT_TRUE(f.manage.SpeedButtonEDIT.Enabled && f.manage.SpeedButtonDEL.Enabled);
    }
}

TEST(PatternManage, SearchesMoveOnlyTheSelection) {
    ManageFixture f(kFile);
    f.select("Alpha.a");

    // By title: the first of two lines titled "Night", in list order.
    f.manage.ListBoxTitleClick(2);
    EXPECT_EQ(f.manage.ListBoxManage.ItemIndex, 0);
    // By CD number: the first line of the drive's disc.
    f.manage.ListBoxManage.ItemIndex = 5;
    f.manage.SpeedButtonCDIDClick();
    EXPECT_EQ(f.manage.ListBoxManage.ItemIndex, 0);
    EXPECT_EQ(f.manage.EditManage, "Alpha.a");
    EXPECT_EQ(f.manage.PanelTITLE, "a");
    EXPECT_EQ(f.fakes.messages.beeps, 0);

    // A disc without records: the notice, a beep, nothing loaded.
    f.list.LabelCDID.Caption = "3333333333";
    f.manage.SpeedButtonCDIDClick();
    EXPECT_EQ(f.manage.ListBoxManage.ItemIndex, -1);
    EXPECT_EQ(Cp932ToUtf8(f.manage.PanelTITLE), "このＣＤは未登録です");
    EXPECT_TRUE(f.manage.EditManage.empty());
    EXPECT_FALSE(f.manage.SpeedButtonEDIT.Enabled || f.manage.SpeedButtonDEL.Enabled);
    EXPECT_EQ(f.fakes.messages.beeps, 1);
}

TEST(PatternManage, DeleteWritesTheSortedListAndReloadsTheDisc) {
    ManageFixture f(kFile);
    f.main.Patterns = {};
    f.select("11111111113=03 01 12 .Drive mix");
    f.manage.SpeedButtonDELClick();
    EXPECT_EQ(f.fileText(), Sjis("11111111110=05 .Night\r\n"
                                 "11111111111=02 .\r\n"
                                 "22222222220=01 02 .Night\r\n"
                                 "Alpha.a\r\n"
                                 "memo without title\r\n"));
    EXPECT_EQ(f.messages(), std::vector<std::string>{"パターンデータの削除結果を保存しました"});
    EXPECT_EQ(f.list.SpeedButtonCD[0].Font, colors::Red);
    EXPECT_EQ(f.list.SpeedButtonCD[3].Font, colors::Black);
    EXPECT_EQ(f.main.Patterns[0], "05 .Night");
    EXPECT_EQ(Cp932ToUtf8(f.selector.SpeedButton[0].Caption), "Night");
    EXPECT_EQ(f.manage.ListBoxTitle.Items, (std::vector<std::string>{"a", "Night", "Night"}));
    EXPECT_TRUE(f.manage.EditManage.empty() && f.manage.PanelTITLE.empty());
    EXPECT_FALSE(f.manage.SpeedButtonEDIT.Enabled || f.manage.SpeedButtonDEL.Enabled);

    // Nothing selected: nothing happens.
    f.manage.SpeedButtonDELClick();
    EXPECT_EQ(f.manage.ListBoxManage.Items.size(), 5u);
}

TEST(PatternManage, DeletingTheOnlyLineEmptiesTheFileAndEverySlot) {
    ManageFixture f("11111111112=01 .One\r\n");
    f.select("11111111112=01 .One");
    f.manage.SpeedButtonDELClick();
    EXPECT_EQ(f.fileText(), "");
    EXPECT_EQ(f.messages(),
              (std::vector<std::string>{
                  "パターンファイル（ＴＯＢＩＲＡ．ＤＡＴ）が読み込めないか、または空です",
                  "パターンデータの削除結果を保存しました"}));
    for (const ButtonState& slot : f.list.SpeedButtonCD)
        EXPECT_EQ(slot.Font, colors::Black);
    EXPECT_EQ(f.list.LabelCDID.Font, colors::White);
}

TEST(PatternManage, ModifyWritesTheFieldIntoTheSelectedLineInPlace) {
    ManageFixture f(kFile);
    f.select("11111111110=05 .Night");
    // Moved to another disc; then a search selects another line before the write.
    f.manage.EditManageChange("99999999990=05 .Night");
    f.manage.ListBoxTitleClick(1); // "Drive mix"
    f.manage.SpeedButtonEDITClick();
    EXPECT_EQ(f.manage.ListBoxManage.Items[0], "11111111110=05 .Night");
    EXPECT_EQ(f.manage.ListBoxManage.Items[2], "99999999990=05 .Night");
    EXPECT_EQ(f.fileText(), Sjis("11111111110=05 .Night\r\n"
                                 "11111111111=02 .\r\n"
                                 "99999999990=05 .Night\r\n"
                                 "22222222220=01 02 .Night\r\n"
                                 "Alpha.a\r\n"
                                 "memo without title\r\n"));
    EXPECT_EQ(f.messages(), std::vector<std::string>{"パターンデータの修整結果を保存しました"});
    EXPECT_EQ(f.list.SpeedButtonCD[3].Font, colors::Black); // slot 3's record is gone
    EXPECT_EQ(f.list.SpeedButtonCD[0].Font, colors::Red);
}

TEST(PatternManage, AFailedWriteIsReportedAndTheListKeepsTheChange) {
    struct Case {
        const char* what;
        bool del;
        bool fileBecomesFolder; // else the edited text holds a line break
        const char* message;
    };
    const Case cases[] = {
        {"delete, unwritable", true, true,
         "パターンデータの削除結果をパターンファイル（ＴＯＢＩＲＡ．ＤＡＴ）に保存できませんでし"
         "た"},
        {"modify, unwritable", false, true,
         "パターンデータの修整結果をパターンファイル（ＴＯＢＩＲＡ．ＤＡＴ）に保存できませんでし"
         "た"},
        {"modify, line break", false, false,
         "パターンデータの修整結果をパターンファイル（ＴＯＢＩＲＡ．ＤＡＴ）に保存できませんでし"
         "た"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ManageFixture f(kFile);
        f.select("Alpha.a");
        if (c.fileBecomesFolder) {
            std::filesystem::remove(f.path());
            std::filesystem::create_directory(f.path());
        } else {
            f.manage.EditManageChange("Alpha.a\r\n11111111119=01 .Sneaked in");
        }
        if (c.del)
            f.manage.SpeedButtonDELClick();
        else
            f.manage.SpeedButtonEDITClick();
        EXPECT_EQ(f.messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(f.manage.ListBoxManage.Items.size(), c.del ? 5u : 6u);
        if (!c.fileBecomesFolder) {
            EXPECT_EQ(f.fileText(), kFile); // the old file stands
        }
    }
}

} // namespace
} // namespace tobira::testing
