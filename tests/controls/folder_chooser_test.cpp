// SPDX-License-Identifier: GPL-3.0-or-later
// The folder chooser's decisions, with the dialog played by a script.
#include "controls/shbrowse_for_folder_ex.h"

#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace tobira::testing {
namespace {

// Opens at a 300 x 200 dialog on a 1000 x 700 work area, then runs `user` (the clicks).
struct ScriptedDialog final : FolderDialogPort {
    bool runFolderDialog(TSHBrowseForFolderEx& chooser) override {
        opened = chooser.Dialog;
        chooser.DialogShown({0, 0, 1000, 700}, {300, 200}, {40, 50});
        shown = chooser.Dialog;
        if (!chooser.Dialog.SelectedPath.empty())
            chooser.DialogSelectionChanged(chooser.Dialog.SelectedPath);
        return user ? user(chooser) : false;
    }
    std::function<bool(TSHBrowseForFolderEx&)> user;
    FolderDialogState opened, shown;
};

struct FolderChooserTest : ::testing::Test {
    TempDir dir;
    ScriptedDialog dialog;
    FolderPlaces places() {
        FolderPlaces p;
        p.home = path("home");
        p.desktop = path("home/Desktop");
        p.documents = path("home/Documents");
        p.download = *Cp932FromPath(dir / "home/missing");
        p.templates = path("home/Templates");
        p.dataHome = path("home/.local/share");
        p.configHome = path("home/.config");
        return p;
    }
    std::string path(const std::string& relative) {
        std::filesystem::create_directories(dir / relative);
        return *Cp932FromPath(dir / relative);
    }
};

TEST_F(FolderChooserTest, InitialFolderOrTheDesktopWhenTheNameIsNoFolder) {
    const std::string music = path("home/music");
    const std::string file = music + "/song.mid";
    std::filesystem::create_directories(dir / "home/Desktop");
    { std::ofstream(PathFromCp932(file)) << "x"; }
    TSHBrowseForFolderEx chooser(dialog, places());
    chooser.SelectFolder = TSelectFolder::sfManual;
    const std::pair<std::string, std::string> cases[] = {
        {music, music},
        {music + "/nowhere", path("home/Desktop")},
        {file, path("home/Desktop")},
        {"", path("home/Desktop")},
    };
    for (const auto& [name, opened] : cases) {
        chooser.SelectFolderName = name;
        EXPECT_FALSE(chooser.Execute()) << "cancelled";
        EXPECT_EQ(dialog.opened.SelectedPath, opened) << name;
        EXPECT_TRUE(chooser.FolderName.empty());
    }
    EXPECT_EQ(chooser.PlacePath(TSelectFolder::sfSendTo, ""), path("home"))
        << "a place without its folder falls back to home";
    EXPECT_EQ(chooser.PlacePath(TSelectFolder::sfDrives, ""), "/");
    EXPECT_EQ(chooser.PlacePath(TSelectFolder::sfRecent, ""), path("home/Documents"));
}

TEST_F(FolderChooserTest, StatusShowsThePathAndTheHandlerControlsOk) {
    TSHBrowseForFolderEx chooser(dialog, places());
    chooser.Caption = "caption";
    chooser.Options = sboReturnOnlyFSDirs | sboStatusTextAndShowPath;
    chooser.SelectFolder = TSelectFolder::sfManual;
    chooser.SelectFolderName = path("a");
    std::vector<std::string> seen;
    chooser.OnSelectionChanged = [&](const std::string& p, std::string& text, TOKButtonState& ok) {
        seen.push_back(p);
        text = "ignored with the path shown";
        ok = p.ends_with("/b") ? TOKButtonState::Disable : TOKButtonState::Enable;
    };
    const std::string b = path("a/b");
    dialog.user = [&](TSHBrowseForFolderEx& c) {
        EXPECT_TRUE(c.Dialog.OkEnabled);
        EXPECT_EQ(c.Dialog.StatusText, path("a"));
        c.DialogSelectionChanged(b);
        EXPECT_FALSE(c.Dialog.OkEnabled) << "the handler disabled OK";
        EXPECT_EQ(c.Dialog.StatusText, b);
        return true;
    };
    EXPECT_TRUE(chooser.Execute());
    EXPECT_EQ(dialog.opened.Caption, "caption");
    EXPECT_TRUE(dialog.opened.StatusVisible);
    EXPECT_TRUE(dialog.shown.StatusText.empty()) << "empty right after it opens";
    EXPECT_EQ(seen, (std::vector<std::string>{path("a"), b}));
    EXPECT_EQ(chooser.FolderName, b);
    EXPECT_EQ(chooser.DisplayName, "b");
}

TEST_F(FolderChooserTest, PlacementByShowStyle) {
    TSHBrowseForFolderEx chooser(dialog, places());
    const std::tuple<TShowStyle, bool, int, int> cases[] = {
        {TShowStyle::ssCenterScreen, true, (1000 - 300) / 2, (700 - 200) / 3},
        {TShowStyle::ssClient, true, 40, 50},
        {TShowStyle::ssNone, false, 0, 0},
    };
    for (const auto& [style, placed, left, top] : cases) {
        chooser.ShowStyle = style;
        chooser.Execute();
        EXPECT_EQ(dialog.shown.Placed, placed);
        EXPECT_EQ(std::pair(dialog.shown.Left, dialog.shown.Top), std::pair(left, top));
    }
    chooser.RootFolder = TRootFolder::rfManual;
    chooser.RootFolderName = path("root");
    chooser.Execute();
    EXPECT_EQ(dialog.opened.RootPath, path("root"));
    chooser.RootFolder = TRootFolder::rfDesktop;
    chooser.Execute();
    EXPECT_EQ(dialog.opened.RootPath, "/");
}

} // namespace
} // namespace tobira::testing
