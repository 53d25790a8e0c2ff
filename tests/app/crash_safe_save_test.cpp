// SPDX-License-Identifier: GPL-3.0-or-later
// Saves killed at random moments: every data file is always its old or its new content, and the
// next start removes the temporary files the kills left.
#include "app/instance_lock.h"
#include "app/leftover_temp_files.h"
#include "cd_windows/pattern_file.h"
#include "midi_windows/list_file.h"
#include "settings/ini_file.h"
#include "files/whole_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <map>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tobira {
namespace {

using testing::TempDir;

// Two versions of each file; the large one makes a write take long enough to be cut.
struct Version {
    std::string iniValue;
    std::vector<std::string> patternLines;
    std::vector<std::string> listLines;
};

Version MakeVersion(char mark, std::size_t lines) {
    Version v;
    v.iniValue = std::string(900, mark);
    for (std::size_t i = 0; i < lines; ++i) {
        const std::string n = std::to_string(i);
        v.patternLines.push_back("DISC" + std::string(6, mark) + n + "=01 02 03 ." + n);
        v.listLines.push_back(std::string(40, mark) + n + "\t/music/" + n + ".mid\t+0\t1");
    }
    return v;
}

void Save(const std::string& folder, const Version& v) {
    // A settings save is many keys; they must land together.
    IniBatch settings(folder + "TOBIRA.INI");
    for (int key = 0; key < 18; ++key)
        settings.writeString("TOBIRA", "KEY" + std::to_string(key), v.iniValue);
    settings.commit();
    WritePatternLines(folder + "TOBIRA.DAT", v.patternLines);
    WriteListFile(folder + "GAKUFU.DT0", v.listLines);
    WriteListFile(folder + "Best.abm", v.listLines);
}

std::map<std::string, std::string> Contents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const char* name : {"TOBIRA.INI", "TOBIRA.DAT", "GAKUFU.DT0", "Best.abm"})
        files[name] = ReadWholeFile(folder / name).value_or("<missing>");
    return files;
}

std::vector<std::string> TempFilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().front() == '.')
            names.push_back(entry.path().filename().string());
    return names;
}

TEST(CrashSafeSaveTest, KilledSavesLeaveOldOrNewFilesAndTheNextStartCleansUp) {
    TempDir dir;
    const std::string folder = dir.path().string() + "/";
    const Version small = MakeVersion('a', 3);
    const Version large = MakeVersion('b', 4000);
    Save(folder, large);
    const auto largeFiles = Contents(dir.path());
    Save(folder, small);
    const auto smallFiles = Contents(dir.path());

    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayMicros(0, 12000);
    int killsWithLeftovers = 0;
    constexpr int kKills = 300;
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                for (int i = 0;; ++i)
                    Save(folder, i % 2 ? small : large);
            } catch (...) {
                ::_exit(1);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped on its own";

        // Whole saves only: a settings file with some keys old and some new is as wrong as a
        // cut one.
        const auto files = Contents(dir.path());
        for (const auto& [name, bytes] : files) {
            ASSERT_TRUE(bytes == smallFiles.at(name) || bytes == largeFiles.at(name))
                << name << " after kill " << kill << " holds " << bytes.size() << " bytes";
        }

        // The next start, holding the lock, removes what the kill left, and only that.
        const auto leftovers = TempFilesIn(dir.path());
        killsWithLeftovers += !leftovers.empty();
        InstanceLock lock(dir.path() / "test.lock");
        ASSERT_TRUE(lock.tryAcquire());
        RemoveLeftoverTempFiles(dir.path(), lock);
        ASSERT_EQ(TempFilesIn(dir.path()), std::vector<std::string>{}) << "after kill " << kill;
        ASSERT_EQ(Contents(dir.path()), files);
    }
    // The kills must really land inside saves for the test to mean anything.
    EXPECT_GT(killsWithLeftovers, kKills / 10);
}

TEST(CrashSafeSaveTest, StartRemovesOnlyTheProgramsOwnTemporaryFilesAndOnlyUnderTheLock) {
    TempDir dir;
    const std::vector<std::pair<std::string, bool>> names = {
        {".TOBIRA.INI.a1B2c3", true},    {".TOBIRA.DAT.XXXXXX", true},
        {".GAKUFU.DT0.000000", true},    {".GAKUFU.DT1.zzzzzz", true},
        {".GAKUFU_GS.MID.Ab12Cd", true}, {".APPLAUSE.WAV.q1w2e3", true},
        {".Best.abm.Q1W2E3", true},      {".日本.ABM.abcdef", true},
        {"TOBIRA.INI", false},           {".TOBIRA.INI", false},
        {".TOBIRA.INI.abc", false},      {".TOBIRA.INI.abcdefg", false},
        {".TOBIRA.INI.ab-def", false},   {".tobira.ini.abcdef", false},
        {".OTHER.TXT.abcdef", false},    {".ABM.abcdef", false},
        {"x.TOBIRA.INI.abcdef", false},  {".bashrc", false},
    };
    for (const auto& [name, own] : names)
        std::ofstream(dir / name) << "x";
    std::filesystem::create_directory(dir / "sub");
    std::ofstream(dir / "sub" / ".TOBIRA.INI.abcdef") << "x";
    std::filesystem::create_directory(dir / ".GAKUFU.DT1.folder");
    std::filesystem::create_symlink(dir / "TOBIRA.INI", dir / ".TOBIRA.DAT.linked");

    // Another instance holds the lock: nothing may go.
    InstanceLock other(dir.path() / "test.lock");
    ASSERT_TRUE(other.tryAcquire());
    InstanceLock mine(dir.path() / "test.lock");
    EXPECT_FALSE(mine.tryAcquire());
    EXPECT_TRUE(RemoveLeftoverTempFiles(dir.path(), mine).empty());
    for (const auto& [name, own] : names)
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;

    other.release();
    ASSERT_TRUE(mine.tryAcquire());
    EXPECT_EQ(RemoveLeftoverTempFiles(dir.path(), mine).size(), 8u);
    for (const auto& [name, own] : names)
        EXPECT_EQ(std::filesystem::exists(dir / name), !own) << name;
    EXPECT_TRUE(std::filesystem::exists(dir / "sub" / ".TOBIRA.INI.abcdef"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / ".GAKUFU.DT1.folder"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / ".TOBIRA.DAT.linked"));
}

} // namespace
} // namespace tobira
