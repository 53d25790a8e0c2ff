// SPDX-License-Identifier: GPL-3.0-or-later
// Every reader of the program meets the files a careless or hostile folder holds: a FIFO, a link
// to /dev/zero, a folder, a file it may not read, a name with a line break. Each answers at once
// with a message naming the cause, and leaves the files alone.
#include "cd_windows/pattern_file.h"
#include "controls/shbrowse_for_folder_ex.h"
#include "files/regular_file.h"
#include "media/cd/cue_disc_image.h"
#include "media/media_device.h"
#include "media/midi/midi_synthesizer.h"
#include "media/midi/smf_reader.h"
#include "media/midi/soundfont_presets.h"
#include "media/wave/wave_file.h"
#include "midi_windows/list_file.h"
#include "midi_windows/midi_folder_scan.h"
#include "midi_windows/midi_title.h"
#include "player/midi_play_error.h"
#include "settings/ini_file.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"
#include "windows/form_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tobira {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

std::string Cp(const fs::path& path) {
    return Cp932FromPath(path).value();
}

template <typename F> std::string MessageOf(F&& read) {
    try {
        read();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "<no failure>";
}

// Each reader of a user's or the program's file, as the program calls it; the text it reports.
struct Reader {
    const char* name;
    std::function<std::string(const fs::path&)> read;
};

std::vector<Reader> Readers() {
    return {
        {"settings", [](const fs::path& p) { return IniSnapshot(Cp(p)).problem(); }},
        {"list and album",
         [](const fs::path& p) { return MessageOf([&] { ReadListFile(Cp(p)); }); }},
        {"pattern", [](const fs::path& p) { return MessageOf([&] { ReadPatternLines(Cp(p)); }); }},
        {"title", [](const fs::path& p) { return MessageOf([&] { ReadMidiTitle(Cp(p)); }); }},
        {"applause", [](const fs::path& p) { return MessageOf([&] { LoadWaveFile(Cp(p)); }); }},
        {"soundfont", [](const fs::path& p) { return MessageOf([&] { CheckSoundFontFile(p); }); }},
        {"cue sheet", [](const fs::path& p) { return Cp932ToUtf8(CueDiscImage::open(p).problem); }},
        {"cue audio file",
         [](const fs::path& p) {
             const fs::path cue = p.parent_path() / "image.cue";
             std::ofstream(cue) << "FILE \"" << p.filename().string()
                                << "\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
             return Cp932ToUtf8(CueDiscImage::open(cue).problem);
         }},
        {"document",
         [](const fs::path& p) {
             testing::FakePorts ports;
             TFormReader reader(ports.messages, ports.busy, ports.screen,
                                "/nonexistent/TOBIRA.INI");
             reader.OpenDocument(Cp(p));
             return ports.messages.shown.empty() ? "<no failure>" : ports.messages.shown.back();
         }},
        // The player names a song's cause before its device reads it; the device's own reader
        // only has to refuse at once.
        {"song", [](const fs::path& p) { return MessageOf([&] { ReadSmfBytes(p); }); }},
    };
}

// The readers' messages are code page 932 except where a caller converts them.
bool Mentions(const std::string& message, const std::string& utf8) {
    return message.find(utf8) != std::string::npos ||
           message.find(Utf8ToCp932(utf8)) != std::string::npos;
}

TEST(HostileFilesTest, EveryReaderRefusesWhatIsNotARegularFileAtOnceNamingTheCause) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make;
        const char* cause; // UTF-8
    };
    const std::vector<Case> cases = {
        {"FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); },
         "通常のファイルではありません（FIFO）"},
        {"link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
         "通常のファイルではありません（デバイス）"},
        {"folder", [](const fs::path& p) { fs::create_directory(p); },
         "通常のファイルではありません"},
    };
    for (const Reader& reader : Readers()) {
        for (const Case& c : cases) {
            TempDir dir;
            const fs::path file = dir / "TOBIRA.INI";
            c.make(file);
            const fs::file_type before = fs::symlink_status(file).type();
            const auto start = std::chrono::steady_clock::now();
            const std::string message = reader.read(file);
            const auto took = std::chrono::steady_clock::now() - start;
            EXPECT_LT(took, std::chrono::seconds(1)) << reader.name << ", " << c.what;
            const bool song = std::string(reader.name) == "song";
            EXPECT_TRUE(song ? message != "<no failure>" : Mentions(message, c.cause))
                << reader.name << ", " << c.what << ": " << Cp932ToUtf8(message);
            EXPECT_EQ(fs::symlink_status(file).type(), before) << reader.name << ", " << c.what;
        }
    }
}

TEST(HostileFilesTest, EveryReaderTellsAFileItMayNotReadFromOneThatIsMissing) {
    TempDir dir;
    const fs::path locked = dir / "locked.dat";
    std::ofstream(locked) << "MThd";
    ::chmod(locked.c_str(), 0);
    ::chmod(dir.path().c_str(), 0755);
    // The super-user reads any file: the permission case runs as nobody, in a child.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        int failures = 0;
        for (const Reader& reader : Readers()) {
            if (std::string(reader.name) == "song" || std::string(reader.name) == "cue audio file")
                continue; // the first refuses without words; the second needs a writable folder
            const std::string message = reader.read(locked);
            if (!Mentions(message, "読む権限がありません")) {
                std::fprintf(stderr, "%s: %s\n", reader.name, Cp932ToUtf8(message).c_str());
                ++failures;
            }
        }
        ::_exit(failures == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(HostileFilesTest, AnUnreadableDocumentIsToldOncePerOpeningNeverOnActivation) {
    const std::vector<std::pair<const char*, std::function<void(const fs::path&)>>> cases = {
        {"FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
        {"sparse 2 GB",
         [](const fs::path& p) {
             std::ofstream(p) << "x";
             fs::resize_file(p, 2ull << 30);
         }},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }},
    };
    for (const auto& [what, make] : cases) {
        TempDir dir;
        const fs::path readable = dir / "song.TXT";
        std::ofstream(readable) << "words";
        const fs::path document = dir / "song.DOC";
        make(document);
        testing::FakePorts ports;
        TFormReader reader(ports.messages, ports.busy, ports.screen, "/nonexistent/TOBIRA.INI");
        reader.OpenDocument(Cp(readable));
        reader.OpenDocument(Cp(document));
        EXPECT_EQ(ports.messages.shown.size(), 1u) << what;
        // Closing the box activates the reader again, and again after each box.
        for (int i = 0; i < 3; ++i)
            reader.FormActivate();
        EXPECT_EQ(ports.messages.shown.size(), 1u) << what;
        EXPECT_EQ(reader.MemoReader, "words") << what;
        reader.OpenDocument(Cp(document));
        EXPECT_EQ(ports.messages.shown.size(), 2u) << what;
    }
}

// Readers that report nothing of their own (they fall back to what they have) must still never
// block on a FIFO: each runs in a child that an alarm ends, should it block.
TEST(HostileFilesTest, ReadersWithoutAMessageNeverBlockOnAFifo) {
    const std::vector<std::pair<const char*, std::function<void(const fs::path&)>>> readers = {
        {"SoundFont presets",
         [](const fs::path& dir) {
             ASSERT_EQ(::mkfifo((dir / "set.sf2").c_str(), 0644), 0);
             EXPECT_TRUE(ReadSoundFontPresets(dir / "set.sf2").empty());
         }},
        {"folder chooser's user folders",
         [](const fs::path& dir) {
             ASSERT_EQ(::mkfifo((dir / "user-dirs.dirs").c_str(), 0644), 0);
             ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
             ::setenv("HOME", dir.c_str(), 1);
             EXPECT_EQ(FolderPlaces::FromEnvironment().desktop, Cp(dir / "Desktop"));
         }},
    };
    for (const auto& [what, read] : readers) {
        TempDir dir;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::alarm(5);
            read(dir.path());
            ::_exit(::testing::Test::HasFailure() ? 1 : 0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << what;
    }
}

TEST(HostileFilesTest, SettingsThatCannotBeReadAreNeverReplacedByASave) {
    TempDir dir;
    const fs::path ini = dir / "TOBIRA.INI";
    fs::create_directory(ini);
    IniBatch save(Cp(ini));
    save.writeInteger("BASICDATA", "XPOSITION", 10);
    EXPECT_THROW(save.commit(), SettingsWriteError);
    EXPECT_TRUE(fs::is_directory(ini));

    // A runaway settings file is refused by its size, and stays as it is.
    const fs::path huge = dir / "HUGE.INI";
    { std::ofstream(huge) << "[BASICDATA]\r\n"; }
    fs::resize_file(huge, read_limit::Settings + 1);
    const IniSnapshot read(Cp(huge));
    EXPECT_TRUE(Mentions(read.problem(), "大きすぎます（上限 64 MB）"))
        << Cp932ToUtf8(read.problem());
    IniBatch hugeSave(Cp(huge));
    hugeSave.writeInteger("BASICDATA", "XPOSITION", 10);
    EXPECT_THROW(hugeSave.commit(), SettingsWriteError);
    EXPECT_EQ(fs::file_size(huge), read_limit::Settings + 1);
}

TEST(HostileFilesTest, FolderScanSkipsCountsAndNamesWhatItCannotTake) {
    TempDir dir;
    std::ofstream(dir / "b.mid") << "MThd";
    std::ofstream(dir / "A.MID") << "MThd";
    std::ofstream(dir / ".mid") << "MThd";
    std::ofstream(dir / "notes.txt") << "x";
    ASSERT_EQ(::mkfifo((dir / "fifo.mid").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", dir / "zero.mid");
    fs::create_directory(dir / "folder.mid");
    fs::create_symlink(dir / "gone.mid", dir / "dangling.mid");
    std::ofstream(dir / "two\nlines.mid") << "MThd";
    std::ofstream(dir / "tab\there.mid") << "MThd";
    std::ofstream(dir / "caf\xC3\xA9.mid") << "MThd"; // é: no code page 932 form
    std::ofstream(dir / "raw\xFF.mid") << "MThd";     // not UTF-8

    const MidiFolderScan scan = ScanMidiFolder(Cp(dir.path()));
    EXPECT_EQ(scan.Names, (std::vector<std::string>{".mid", "A.MID", "b.mid"}));
    EXPECT_EQ(scan.NotRegular.size(), 3u);
    EXPECT_EQ(scan.Unstorable, (std::vector<std::string>{"tab\\x09here.mid", "two\\x0Alines.mid"}));
    EXPECT_EQ(scan.Unshowable.size(), 2u);
    const std::string report = scan.Report();
    for (const char* named : {"fifo.mid", "zero.mid", "folder.mid", "two\\x0Alines.mid",
                              "caf\\xC3\\xA9.mid", "raw\\xFF.mid"})
        EXPECT_NE(report.find(named), std::string::npos) << named << "\n" << Cp932ToUtf8(report);

    struct Failing {
        const char* what;
        fs::path folder;
        const char* cause;
    };
    fs::create_symlink("round", dir / "round");
    std::ofstream(dir / "plain") << "x";
    for (const Failing& f : {Failing{"missing", dir / "nothing", "がありません"},
                             Failing{"a file", dir / "plain", "はフォルダではありません"},
                             Failing{"a link loop", dir / "round", "循環"}}) {
        const std::string message = MessageOf([&] { ScanMidiFolder(Cp(f.folder)); });
        EXPECT_TRUE(Mentions(message, f.cause)) << f.what << ": " << Cp932ToUtf8(message);
    }
}

// A path becomes a list or play-list record whole: a line break or tab in a folder's name splits
// the record as one in the file's name does, and a name that code page 932 writes as another's
// would name a missing file when read back. Each is refused, named as a message shows it; a link
// loop is told as one, never as a missing file.
TEST(HostileFilesTest, PathsThatNoRecordCanHoldAreRefusedNamingThem) {
    struct Case {
        const char* what;
        const char* folder; // UTF-8, under a temporary folder
        const char* song;
        const char* named; // in the scan's report
        bool chooserRefuses;
    };
    const std::vector<Case> cases = {
        {"tab in the folder", "fold\tx", "song.mid", "fold\\x09x/song.mid", true},
        {"line feed in the folder", "fold\nx", "song.mid", "fold\\x0Ax/song.mid", true},
        {"carriage return in the folder", "fold\rx", "song.mid", "fold\\x0Dx/song.mid", true},
        {"wave dash in the name", "songs", "wave\xE3\x80\x9C.mid", "wave\\xE3\\x80\\x9C.mid",
         false},
        {"wave dash in the folder", "wave\xE3\x80\x9C", "song.mid", "", true},
        {"link loop", "songs", "loop.mid", "loop.mid", false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const fs::path folder = dir / c.folder;
        fs::create_directory(folder);
        if (std::string(c.what) == "link loop")
            fs::create_symlink("loop.mid", folder / c.song);
        else
            std::ofstream(folder / c.song) << "MThd";
        EXPECT_EQ(TSHBrowseForFolderEx::RefusalOf(folder).empty(), !c.chooserRefuses) << c.what;
        const std::optional<std::string> cp932Folder = Cp932FromPath(folder);
        if (!cp932Folder)
            continue; // no entry point hands such a folder on
        const MidiFolderScan scan = ScanMidiFolder(*cp932Folder);
        EXPECT_TRUE(scan.Names.empty()) << c.what;
        const std::string report = Cp932ToUtf8(scan.Report());
        EXPECT_NE(report.find(c.named), std::string::npos) << c.what << "\n" << report;
        if (std::string(c.what) == "link loop") {
            const std::string said =
                Cp932ToUtf8(SongFileProblemText("+0 loop", *cp932Folder + "/loop.mid"));
            EXPECT_NE(said.find("循環"), std::string::npos) << said;
        }
    }
}

} // namespace
} // namespace tobira
