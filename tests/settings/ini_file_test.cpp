// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_file.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <cstring>

#include <csignal>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace tobira {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void spit(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string cp932(const fs::path& path) {
    return *Cp932FromPath(path);
}

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// The described text, then the reason in brackets.
std::string writeFailureText(const fs::path& path, const std::string& reason) {
    return cp932(path) + Utf8ToCp932(" に書き込めません（" + reason + "）");
}

TEST(IniFile, ReadsWithDefaults) {
    TempDir dir;
    spit(dir / "TOBIRA.INI", "[BASICDATA]\r\n"
                             "XPOSITION=0x64\r\n"
                             "CLOSETIME=abc\r\n"
                             "VOLUMEPOS= 7 \r\n"
                             "EMPTY=\r\n"
                             "ON=1\r\nOFF=0\r\nODD=-3\r\nBADBOOL=yes\r\n"
                             "FONTNAME=\x82\x6C\x82\x72\r\n");
    IniFile ini(cp932(dir / "TOBIRA.INI"));
    IniFile missing(cp932(dir / "NONE.INI"));

    struct IntCase {
        const IniFile* file;
        const char* key;
        int fallback;
        int expected;
    };
    const IntCase ints[] = {
        {&ini, "XPOSITION", -1, 100}, {&ini, "closetime", 30, 30}, {&ini, "VOLUMEPOS", 3, 7},
        {&ini, "EMPTY", 4, 4},        {&ini, "NOSUCHKEY", 9, 9},   {&missing, "XPOSITION", -1, -1},
    };
    for (const IntCase& c : ints) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(c.file->readInteger("BASICDATA", c.key, c.fallback), c.expected);
    }
    EXPECT_EQ(ini.readInteger("OTHER", "XPOSITION", -1), -1);

    struct BoolCase {
        const IniFile* file;
        const char* key;
        bool fallback;
        bool expected;
    };
    const BoolCase bools[] = {
        {&ini, "ON", false, true},       {&ini, "OFF", true, false},
        {&ini, "ODD", false, true},      {&ini, "BADBOOL", true, true},
        {&ini, "BADBOOL", false, false}, {&ini, "NOSUCHKEY", true, true},
        {&missing, "ON", false, false},
    };
    for (const BoolCase& c : bools) {
        SCOPED_TRACE(std::string(c.key) + (c.fallback ? " fallback 1" : " fallback 0"));
        EXPECT_EQ(c.file->readBool("BASICDATA", c.key, c.fallback), c.expected);
    }

    EXPECT_EQ(ini.readString("BASICDATA", "FONTNAME", "x"), "\x82\x6C\x82\x72");
    EXPECT_EQ(ini.readString("BASICDATA", "EMPTY", "x"), "");
    EXPECT_EQ(ini.readString("BASICDATA", "NOSUCHKEY", "clLime"), "clLime");
    EXPECT_EQ(missing.readString("BASICDATA", "FONTNAME", "x"), "x");
    EXPECT_TRUE(ini.exists());
    EXPECT_FALSE(missing.exists());
}

TEST(IniFile, LongStringIsCutBeforeADoubleByteCharacter) {
    TempDir dir;
    const std::string value = std::string(1022, 'a') + "\x8A\xBF" + "tail";
    IniFile ini(cp932(dir / "TOBIRA.INI"));
    ini.writeString("BASICDATA", "VIEWERTOL", value);
    EXPECT_EQ(ini.readString("BASICDATA", "VIEWERTOL", ""), std::string(1022, 'a'));
}

TEST(IniFile, WritesCreateAndReplace) {
    TempDir dir;
    IniFile ini(cp932(dir / "TOBIRA.INI"));
    ini.writeInteger("BASICDATA", "XPOSITION", -1);
    ini.writeBool("BASICDATA", "SHOWHINTS", true);
    ini.writeBool("BASICDATA", "REMAINTIM", false);
    ini.writeString("BASICDATA", "POWERCOLR", "clYellow");
    ini.writeInteger("basicdata", "xposition", 0x64);
    EXPECT_EQ(slurp(dir / "TOBIRA.INI"), "[BASICDATA]\r\n"
                                         "xposition=100\r\n"
                                         "SHOWHINTS=1\r\n"
                                         "REMAINTIM=0\r\n"
                                         "POWERCOLR=clYellow\r\n");
    EXPECT_EQ(ini.readInteger("BASICDATA", "XPOSITION", -1), 100);
    EXPECT_TRUE(ini.readBool("BASICDATA", "SHOWHINTS", false));
    EXPECT_FALSE(ini.readBool("BASICDATA", "REMAINTIM", true));
    EXPECT_EQ(entriesIn(dir.path()), 1u) << "no temporary file may stay behind";
}

TEST(IniFile, SavingTheSameValuesTwiceChangesNothing) {
    TempDir dir;
    spit(dir / "TOBIRA.INI", "; mine\n[BASICDATA]\r\nCLOSETIME=30\r\nSHOWHINTS=1\r\n");
    IniFile ini(cp932(dir / "TOBIRA.INI"));
    for (int round = 0; round < 2; ++round) {
        ini.writeInteger("BASICDATA", "CLOSETIME", 30);
        ini.writeBool("BASICDATA", "SHOWHINTS", true);
    }
    EXPECT_EQ(slurp(dir / "TOBIRA.INI"), "; mine\n[BASICDATA]\r\nCLOSETIME=30\r\nSHOWHINTS=1\r\n");
}

TEST(IniFile, WriteKeepsPermissions) {
    TempDir dir;
    fs::path file = dir / "TOBIRA.INI";
    spit(file, "[BASICDATA]\r\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    IniFile(cp932(file)).writeInteger("BASICDATA", "A", 1);
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(IniFile, WriteThroughSymlinkKeepsTheLink) {
    TempDir dir;
    spit(dir / "real.ini", "[BASICDATA]\r\nA=0\r\n");
    fs::create_symlink(dir / "real.ini", dir / "TOBIRA.INI");
    IniFile(cp932(dir / "TOBIRA.INI")).writeInteger("BASICDATA", "A", 1);
    EXPECT_TRUE(fs::is_symlink(dir / "TOBIRA.INI"));
    EXPECT_EQ(slurp(dir / "real.ini"), "[BASICDATA]\r\nA=1\r\n");
}

TEST(IniFile, FailedWritesLeaveTheOldFile) {
    const std::string old = "[BASICDATA]\r\nXPOSITION=5\r\n";
    struct Case {
        const char* name;
        std::function<fs::path(const TempDir&)> prepare; // returns the settings path
        const char* reason;
    };
    const Case cases[] = {
        {"read-only file",
         [&](const TempDir& dir) {
             spit(dir / "TOBIRA.INI", old);
             fs::permissions(dir / "TOBIRA.INI", fs::perms::owner_read | fs::perms::group_read);
             return dir / "TOBIRA.INI";
         },
         "書き込む権限がありません"},
        {"missing folder", [](const TempDir& dir) { return dir / "gone" / "TOBIRA.INI"; },
         "フォルダがありません"},
        {"a folder in its place",
         [](const TempDir& dir) {
             fs::create_directory(dir / "TOBIRA.INI");
             return dir / "TOBIRA.INI";
         },
         "通常のファイルではありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::path file = c.prepare(dir);
        std::size_t entriesBefore = entriesIn(dir.path());
        IniFile ini(cp932(file));
        try {
            ini.writeInteger("BASICDATA", "XPOSITION", 9);
            ADD_FAILURE() << "the write succeeded";
        } catch (const SettingsWriteError& e) {
            EXPECT_EQ(std::string(e.what()), writeFailureText(file, c.reason));
        }
        if (fs::is_regular_file(file)) {
            EXPECT_EQ(slurp(file), old);
        }
        EXPECT_EQ(entriesIn(dir.path()), entriesBefore);
    }
}

TEST(IniFile, UnreadableFileIsNotReplaced) {
    TempDir dir;
    fs::path file = dir / "TOBIRA.INI";
    // Tests may run as root, who reads any file whatever its mode; a link to itself is a file
    // that nobody can open.
    fs::create_symlink(dir / "TOBIRA.INI", file);
    IniFile ini(cp932(file));
    EXPECT_EQ(ini.readInteger("BASICDATA", "A", 4), 4);
    EXPECT_THROW(ini.writeInteger("BASICDATA", "A", 1), SettingsWriteError);
    EXPECT_TRUE(fs::is_symlink(file));
}

TEST(IniFile, LineBreakInValueIsRefused) {
    TempDir dir;
    fs::path file = dir / "TOBIRA.INI";
    spit(file, "[BASICDATA]\r\nVIEWERTOL=a\r\n");
    IniFile ini(cp932(file));
    EXPECT_THROW(ini.writeString("BASICDATA", "VIEWERTOL", "b\r\nXPOSITION=1"), SettingsWriteError);
    EXPECT_EQ(slurp(file), "[BASICDATA]\r\nVIEWERTOL=a\r\n");
}

TEST(IniFile, StaleTemporaryFileNeverReplacesTheOld) {
    TempDir dir;
    fs::path file = dir / "TOBIRA.INI";
    spit(file, "[BASICDATA]\r\nXPOSITION=5\r\n");
    // What a crash in the middle of an earlier write leaves behind.
    for (const char* stale : {".TOBIRA.INI.AAAAAA", ".TOBIRA.INI.XXXXXX", "TOBIRA.INI.tmp"})
        spit(dir / stale, "[BASICDATA]\r\nXPOSI");
    IniFile ini(cp932(file));
    EXPECT_EQ(ini.readInteger("BASICDATA", "XPOSITION", -1), 5);
    ini.writeInteger("BASICDATA", "YPOSITION", 6);
    EXPECT_EQ(slurp(file), "[BASICDATA]\r\nXPOSITION=5\r\nYPOSITION=6\r\n");
}

// A file-size limit makes write() fail half-way through the temporary file, as a full disk
// would.
TEST(IniFile, HalfWrittenTemporaryFileIsDiscarded) {
    TempDir dir;
    fs::path file = dir / "TOBIRA.INI";
    const std::string old = "[BASICDATA]\r\nVIEWERTOL=old\r\n";
    spit(file, old);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

    IniFile ini(cp932(file));
    bool threw = false;
    try {
        ini.writeString("BASICDATA", "VIEWERTOL", std::string(1000, 'x'));
    } catch (const SettingsWriteError& e) {
        threw = true;
        EXPECT_EQ(std::string(e.what()), writeFailureText(file, std::strerror(EFBIG)));
    }

    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    EXPECT_TRUE(threw);
    EXPECT_EQ(slurp(file), old);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(IniFile, JapaneseFolderName) {
    TempDir dir;
    fs::path folder = dir / "設定";
    fs::create_directory(folder);
    IniFile ini(cp932(folder / "TOBIRA.INI"));
    ini.writeString("BASICDATA", "OPENFOLD0", Utf8ToCp932("/home/曲"));
    EXPECT_EQ(Cp932ToUtf8(ini.readString("BASICDATA", "OPENFOLD0", "")), "/home/曲");
    EXPECT_TRUE(fs::exists(folder / "TOBIRA.INI"));
}

// A snapshot keeps the file as it was read, whoever changes the file afterwards; the next
// snapshot reads the change. Sections and keys are found without regard to ASCII case, the
// first section of a name counting.
TEST(IniSnapshot, KeepsWhatItReadAndTheNextOneReadsTheChange) {
    const std::pair<const char*, std::function<void(const fs::path&)>> changes[] = {
        {"a key written",
         [](const fs::path& file) { IniFile(cp932(file)).writeString("S", "K", "new"); }},
        {"a save of several keys",
         [](const fs::path& file) {
             IniBatch batch(cp932(file));
             batch.writeString("S", "K", "new");
             batch.commit();
         }},
        {"rewritten in place by another program",
         [](const fs::path& file) { spit(file, "[S]\r\nK=new\r\n; longer\r\n"); }},
        {"replaced by another file",
         [](const fs::path& file) {
             spit(file.string() + ".other", "[S]\r\nK=new\r\n");
             fs::rename(file.string() + ".other", file);
         }},
        {"removed", [](const fs::path& file) { fs::remove(file); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        TempDir dir;
        const fs::path file = dir / "TOBIRA.INI";
        spit(file, "[S]\r\nK=old\r\n[T]\r\nJ=1\r\n[s]\r\nK=later\r\n");
        const IniSnapshot before(cp932(file));
        change(file);
        EXPECT_EQ(before.readString("s", "k", "none"), "old");
        EXPECT_EQ(before.readInteger("t", "J", 0), 1);
        const bool removed = !fs::exists(file);
        EXPECT_EQ(IniSnapshot(cp932(file)).readString("S", "K", "none"), removed ? "none" : "new");
        EXPECT_EQ(before.readString("S", "K", "none"), "old");
    }
}

} // namespace
} // namespace tobira
