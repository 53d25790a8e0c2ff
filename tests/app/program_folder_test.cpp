// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/data_paths.h"
#include "app/program_folder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace tobira {
namespace {

namespace fs = std::filesystem;

ProgramFolderInputs Inputs(std::map<std::string, std::string> env, fs::path exeFolder,
                           bool exeWritable) {
    ProgramFolderInputs in;
    in.environment = [env](const char* name) -> std::optional<std::string> {
        auto it = env.find(name);
        if (it == env.end())
            return std::nullopt;
        return it->second;
    };
    in.executableFolder = std::move(exeFolder);
    in.isWritable = [exeWritable](const fs::path&) { return exeWritable; };
    in.exists = [](const fs::path& path) { return fs::exists(path); };
    return in;
}

TEST(ProgramFolder, ChoosesInOrderTobiraHomeThenExecutableThenXdgData) {
    testing::TempDir dir;
    const fs::path exe = dir / "bin";
    fs::create_directory(exe);

    // $TOBIRA_HOME wins, and is created when missing.
    EXPECT_EQ(ResolveProgramFolder(Inputs({{"TOBIRA_HOME", (dir / "home").string()}}, exe, true)),
              dir / "home");
    EXPECT_TRUE(fs::is_directory(dir / "home"));

    // A writable executable folder: a portable copy.
    EXPECT_EQ(ResolveProgramFolder(Inputs({{"TOBIRA_HOME", ""}}, exe, true)), exe);

    // Installed read-only: the user's data folder, made on first start.
    EXPECT_EQ(
        ResolveProgramFolder(Inputs({{"XDG_DATA_HOME", (dir / "data").string()}}, exe, false)),
        dir / "data" / "tobira");
    EXPECT_TRUE(fs::is_directory(dir / "data" / "tobira"));
    EXPECT_EQ(ResolveProgramFolder(Inputs({{"HOME", (dir / "user").string()}}, exe, false)),
              dir / "user" / ".local" / "share" / "tobira");

    // Installed beside its desktop entry: the user's data folder even when bin/ is writable
    // (root), so that no user file lands among the installed programs.
    fs::create_directories(dir / "share" / "applications");
    std::ofstream(dir / "share" / "applications" / "tobira.desktop") << "[Desktop Entry]\n";
    EXPECT_EQ(ResolveProgramFolder(Inputs({{"XDG_DATA_HOME", (dir / "data").string()}}, exe, true)),
              dir / "data" / "tobira");
}

TEST(ProgramFolder, NoUsableFolderIsAnError) {
    EXPECT_THROW(ResolveProgramFolder(Inputs({}, "/usr/bin", false)), std::runtime_error);
}

TEST(DataPaths, BuildsTheSevenFilesInTheFolder) {
    DataPaths p = DataPaths::InFolder("/home/ユーザー/tobira");
    // The folder is kept in code page 932: ユ is 83 86.
    EXPECT_EQ(p.Folder.substr(0, 8), "/home/\x83\x86");
    EXPECT_EQ(p.Folder.back(), '/');
    EXPECT_EQ(p.SettingsPath, p.Folder + "TOBIRA.INI");
    EXPECT_EQ(p.PatternPath, p.Folder + "TOBIRA.DAT");
    EXPECT_EQ(p.List0Path, p.Folder + "GAKUFU.DT0");
    EXPECT_EQ(p.List1Path, p.Folder + "GAKUFU.DT1");
    EXPECT_EQ(p.ResetGmPath, p.Folder + "GAKUFU_GM.MID");
    EXPECT_EQ(p.ResetGsPath, p.Folder + "GAKUFU_GS.MID");
    EXPECT_EQ(p.Reset88Path, p.Folder + "GAKUFU_88.MID");
}

TEST(DataPaths, FolderThatCodePage932CannotHoldIsRefused) {
    EXPECT_THROW(DataPaths::InFolder("/home/caf\xC3\xA9"), std::runtime_error);
}

} // namespace
} // namespace tobira
