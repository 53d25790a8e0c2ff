// SPDX-License-Identifier: GPL-3.0-or-later
// tobira-inspect as a user runs it: what it prints for each kind of file, and its exit status.
#include "media/cd/cue_bin_writer.h"
#include "support/cue_files.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace tobira {
namespace {

using testing::SmfDamage;
using testing::SmfWriter;

struct Outcome {
    int status = -1;
    std::string out;
};

Outcome Inspect(const std::vector<std::filesystem::path>& files) {
    // A hang ends after 10 s as a failure rather than holding the suite.
    std::string command = std::string("timeout 10 ") + TOBIRA_INSPECT;
    for (const auto& f : files)
        command += " '" + f.string() + "'";
    Outcome run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(TobiraInspect, SaysWhatThePlayerMakesOfEachFile) {
    testing::TempDir dir;
    SmfWriter song(2, 480);
    song.text(0, 0, 0x03, Utf8ToCp932("さくら さくら"));
    song.sysex(0, 0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});
    song.programChange(0, 0, 0, 19);
    song.sysex(0, 480, {0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x30, 0x03, 0x0C, 0xF7}); // Hall 1
    song.note(0, 0, 0, 60, 100, 960);
    song.note(song.addTrack(), 0, 0, 62, 100, 960);
    song.write(dir / "song.kar");
    song.write(dir / "broken.mid", SmfDamage::HeaderOnly);
    WriteCueBin(dir.path(), "disc", {CueTrack{.seconds = 3}, CueTrack{.seconds = 62.5}}, "Disc");
    // Disc IDs worked out by hand from the TOCs, +150 sectors each (MusicBrainz: SHA-1 of
    // "0103" "00001128" "00000096" "0000041A" "00000947" and 96 zero offsets, in base64; freedb:
    // digit sums 2+5+4 of the start seconds 2, 14, 31; 58 s - 2 s; 3 tracks).
    WriteCueBin(dir.path(), "three",
                {CueTrack{.sectors = 900, .pregapSectors = 150}, CueTrack{.sectors = 1325},
                 CueTrack{.sectors = 2017}});
    // An Enhanced CD: MusicBrainz counts the audio session up to 152 s before the data track
    // (last track 2, lead-out 1500); freedb counts all three (2+1+10; 176 s - 2 s).
    WriteCueBin(dir.path(), "enhanced",
                {CueTrack{.sectors = 600}, CueTrack{.sectors = 750},
                 CueTrack{.sectors = 300, .data = true}});
    const std::string cdText = testing::CdTextFile(
        {{.language = 0x09, .titles = {"Door", "One"}, .performers = {"Band", "Band"}},
         {.language = 0x69,
          .shiftJis = true,
          .titles = {Utf8ToCp932("扉"), Utf8ToCp932("一")},
          .performers = {Utf8ToCp932("楽団"), Utf8ToCp932("楽団")}}});
    testing::WriteBytes(dir / "langs.cdt", std::vector<std::uint8_t>(cdText.begin(), cdText.end()));
    WriteCueBin(dir.path(), "langs", {CueTrack{.seconds = 1}});
    const std::string langs = "CDTEXTFILE langs.cdt\nFILE langs.bin BINARY\nTRACK 01 AUDIO\n"
                              "INDEX 01 00:00:00\n";
    testing::WriteBytes(dir / "langs.cue", std::vector<std::uint8_t>(langs.begin(), langs.end()));
    testing::WriteBytes(dir / "bad.cue", {'F', 'I', 'L', 'E', ' ', 'x'});
    const std::string list = Utf8ToCp932("!1 桜\t") + (dir / "song.kar").string() + "\t+0\t1\r\n" +
                             "Gone\t" + (dir / "gone.mid").string() + "\t+0\t1\r\n";
    testing::WriteBytes(dir / "GAKUFU.DT0", std::vector<std::uint8_t>(list.begin(), list.end()));
    // A game song's loop, and the player's settings that play it twice more with a 3 s fade.
    SmfWriter game(0, 480);
    game.note(0, 0, 0, 60, 100, 480);
    game.controlChange(0, 960, 0, 111, 0);
    game.note(0, 960, 0, 64, 100, 480);
    game.endOfTrack(0, 1920);
    game.write(dir / "game.mid");
    const std::string settings = "[BASICDATA]\r\nLOOPCOUNT=2\r\nLOOPFADES=3\r\n";
    testing::WriteBytes(dir / "TOBIRA.INI",
                        std::vector<std::uint8_t>(settings.begin(), settings.end()));
    setenv("TOBIRA_HOME", dir.path().c_str(), 1);

    const struct {
        const char* name;
        std::filesystem::path file;
        int status;
        std::vector<std::string> lines; // UTF-8, each found in the output
    } cases[] = {
        {"format 2 karaoke song",
         dir / "song.kar",
         0,
         {"ＳＭＦ フォーマット 2、2 トラック", "長さ: 0:02.0", "タイトル: さくら さくら",
          "リセット: GS Reset", "音色 ch1: 0:00.0 GS 0:19", "音源設定: 0:00.5 reverb type Hall 1",
          "DLS: "}},
        {"a game song's loop and the time it plays under the settings",
         dir / "game.mid",
         0,
         {"長さ: 0:02.0", "ループ: 0:01.0 - 0:02.0",
          "演奏時間: 0:07.0（ループをあと 2 回、3 秒でフェードアウト）"}},
        {"a song the player refuses",
         dir / "broken.mid",
         1,
         {"【ＭＩＤＩタイトル】 +0 broken.mid: broken.mid",
          "ＭＩＤＩシステムが他で使用されているか、またはＭＩＤＩファイルの再生エラーです",
          "broken.mid】を開けません：トラックがありません"}},
        {"a disc image",
         dir / "disc.cue",
         0,
         {"トラック 1: 00:03.00", "トラック 2: 01:02.", "ディスクＩＤ: 0201050102", "CD-Text: Disc",
          "disc.bin"}},
        {"disc IDs of an audio CD",
         dir / "three.cue",
         0,
         {"MusicBrainz: 51uPV.jZCGnxU0C55gEYcwV_Tpg-", "freedb: 0b003803"}},
        {"disc IDs of an Enhanced CD",
         dir / "enhanced.cue",
         0,
         {"MusicBrainz: llcCJPhlZQDsI0RdJHuh2ibsiMk-", "freedb: 0d00ae03"}},
        {"CD-Text in two languages, all listed",
         dir / "langs.cue",
         0,
         {"CD-Text 1 English: Door / Band", "CD-Text 1 English トラック 1: One / Band",
          "CD-Text 2 Japanese: 扉 / 楽団", "CD-Text 2 Japanese トラック 1: 一 / 楽団",
          "langs.cdt"}},
        {"a sheet that is no disc", dir / "bad.cue", 1, {"bad.cue"}},
        {"a song list with a missing song",
         dir / "GAKUFU.DT0",
         0,
         {"+0 !1 桜", "ＭＩＤＩファイル 【 +0 Gone 】 がありません", "再生できる曲: 1 / 2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome run = Inspect({c.file});
        EXPECT_EQ(run.status, c.status) << run.out;
        for (const std::string& line : c.lines)
            EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
    }
    EXPECT_EQ(Inspect({dir / "song.kar", dir / "broken.mid"}).status, 1);
    EXPECT_EQ(Inspect({}).status, 2);
    unsetenv("TOBIRA_HOME"); // the folder goes with this test
}

// A FIFO of every name the inspector tells apart answers at once, with the player's words for the
// cause; a name holding an escape sequence reaches the terminal escaped.
TEST(TobiraInspect, AFifoOfEveryNameKindAnswersAtOnceNamingTheCause) {
    testing::TempDir dir;
    const struct {
        const char* name;
        const char* said; // UTF-8
    } cases[] = {
        {"p.mid", "ＭＩＤＩファイル 【 +0 p.mid: p.mid 】 がありません"},
        {"p.KAR", "ＭＩＤＩファイル 【 +0 p.KAR: p.KAR 】 がありません"},
        {"p.cue", "【p.cue】：通常のファイルではありません（FIFO）"},
        {"p.ABM", "は通常のファイルではありません（FIFO）"},
        {"GAKUFU.DT0", "は通常のファイルではありません（FIFO）"},
        {"p", "は通常のファイルではありません（FIFO）"},
        {"esc\x1b[2J.mid", "esc\\x1B[2J.mid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path fifo = dir / c.name;
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
        const auto start = std::chrono::steady_clock::now();
        const Outcome run = Inspect({fifo});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(run.status, 1) << run.out;
        EXPECT_NE(run.out.find(c.said), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
    }
}

} // namespace
} // namespace tobira
