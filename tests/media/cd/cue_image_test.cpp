// SPDX-License-Identifier: GPL-3.0-or-later
// Disc images as rippers write them, against the same disc as one plain BIN: the table of
// contents (and with it the disc's identity, which is made of the track count and lengths) and
// the first second of every audio track, sample for sample.
#include "media/audio_engine.h"
#include "media/cd/cd_device.h"
#include "support/cd_device_support.h"
#include "support/cue_files.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tobira {
namespace {

using testing::CueFileKind;
using testing::kRate;
using testing::Listen;
using testing::WriteCueFile;
using testing::WriteFileBytes;

// Noise that differs between the channels and between tracks: a wrong byte order, offset or
// channel order cannot match it by chance.
std::vector<std::int16_t> noise(std::int64_t sectors, std::uint32_t seed) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(sectors) * kCdFramesPerSector * 2);
    for (auto& v : out) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<std::int16_t>(seed >> 16);
    }
    return out;
}

struct Disc {
    CueImage image;
    std::vector<char> bin;
    std::vector<bool> audio;
    // Sectors of the reference BIN: where each track's INDEX 00 (or 01) and INDEX 01 lie.
    std::vector<std::int64_t> from, start;
    std::string at(int track, bool index0) const {
        const std::size_t i = static_cast<std::size_t>(track - 1);
        return CueTime(index0 ? from[i] : start[i]);
    }
};

// Track 1: 157 sectors; track 2: 150 sectors of pregap, 108 sectors; track 3: 37 of pregap, 151.
// With `dataFirst`, track 1 is a data track of 75 sectors.
Disc writeDisc(const std::filesystem::path& dir, bool dataFirst) {
    std::vector<CueTrack> tracks = {
        {.samples = noise(157, 1)},
        {.pregapSectors = 150, .samples = noise(108, 2)},
        {.pregapSectors = 37, .samples = noise(151, 3)},
    };
    if (dataFirst)
        tracks[0] = {.sectors = 75, .data = true};
    Disc d;
    d.image = WriteCueBin(dir, dataFirst ? "plaindata" : "plain", tracks);
    d.bin = testing::ReadFileBytes(d.image.bin);
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        d.audio.push_back(!tracks[i].data);
        d.start.push_back(d.image.trackStarts[i]);
        d.from.push_back(d.image.trackStarts[i] - tracks[i].pregapSectors);
    }
    d.from.push_back(d.image.totalSectors);
    return d;
}

std::string sheetOf(const Disc& d) {
    const std::vector<char> bytes = testing::ReadFileBytes(d.image.cue);
    return {bytes.begin(), bytes.end()};
}

std::string cp932(const char* utf8) {
    return Utf8ToCp932(utf8);
}

struct Playable {
    std::string name;
    bool dataFirst = false;
    // Writes the image's files into the folder and returns the sheet's text.
    std::function<std::string(const std::filesystem::path&, const Disc&)> write;
    std::string discTitle = {}; // UTF-8; checked when not empty
};

TEST(CueImageTest, EveryLayoutPlaysAsTheSameDisc) {
    const auto part = [](const std::filesystem::path& file, CueFileKind kind, const Disc& d,
                         std::int64_t from,
                         std::int64_t to) { WriteCueFile(file, kind, d.bin, from, to); };
    const std::vector<Playable> cases = {
        {"plain BIN", false,
         [](const std::filesystem::path& dir, const Disc& d) {
             std::filesystem::copy_file(d.image.bin, dir / d.image.bin.filename());
             return sheetOf(d);
         }},
        {"BIN of another name, in other letter case", false,
         [&](const std::filesystem::path& dir, const Disc& d) {
             part(dir / "MY ALBUM.BIN", CueFileKind::Bin, d, 0, d.from[3]);
             return "FILE \"My Album.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"
                    "TRACK 02 AUDIO\nINDEX 00 " +
                    d.at(2, true) + "\nINDEX 01 " + d.at(2, false) + "\nTRACK 03 AUDIO\nINDEX 00 " +
                    d.at(3, true) + "\nINDEX 01 " + d.at(3, false) + "\n";
         }},
        {"one BIN per track, pregaps as INDEX 00", false,
         [&](const std::filesystem::path& dir, const Disc& d) {
             std::string cue = "REM made by hand\r\nCATALOG 0000000000000\r\n";
             for (int t = 1; t <= 3; ++t) {
                 const std::string name = "Album (Track 0" + std::to_string(t) + ").bin";
                 part(dir / name, CueFileKind::Bin, d, d.from[t - 1], d.from[t]);
                 cue += "FILE \"" + name + "\" BINARY\r\n  TRACK 0" + std::to_string(t) +
                        " AUDIO\r\n    FLAGS DCP\r\n";
                 if (t > 1)
                     cue += "    INDEX 00 00:00:00\r\n";
                 cue += "    INDEX 01 " + CueTime(d.start[t - 1] - d.from[t - 1]) + "\r\n";
             }
             return cue;
         }},
        {"one WAV per track, pregaps at the end of the track before", false,
         [&](const std::filesystem::path& dir, const Disc& d) {
             part(dir / "01.wav", CueFileKind::Wav, d, 0, d.start[1]);
             part(dir / "02.wav", CueFileKind::Wav, d, d.start[1], d.start[2]);
             part(dir / "03.wav", CueFileKind::Wav, d, d.start[2], d.from[3]);
             return "FILE \"01.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\n"
                    "INDEX 00 " +
                    d.at(2, true) +
                    "\nFILE \"02.wav\" WAVE\nINDEX 01 00:00:00\n"
                    "TRACK 03 AUDIO\nINDEX 00 " +
                    CueTime(d.from[2] - d.start[1]) + "\nFILE \"03.wav\" WAVE\nINDEX 01 00:00:00\n";
         }},
        {"one WAV per track, pregaps as PREGAP silence", false,
         [&](const std::filesystem::path& dir, const Disc& d) {
             std::string cue;
             for (int t = 1; t <= 3; ++t) {
                 const std::string name = "t" + std::to_string(t) + ".wav";
                 part(dir / name, CueFileKind::Wav, d, d.start[t - 1], d.from[t]);
                 cue += "FILE \"" + name + "\" WAVE\nTRACK 0" + std::to_string(t) + " AUDIO\n";
                 if (t > 1)
                     cue += "PREGAP " + CueTime(d.start[t - 1] - d.from[t - 1]) + "\n";
                 cue += "INDEX 01 00:00:00\n";
             }
             return cue;
         }},
        {"one FLAC for the disc, Shift-JIS titles", false,
         [&](const std::filesystem::path& dir, const Disc& d) {
             part(dir / "disc.flac", CueFileKind::Flac, d, 0, d.from[3]);
             return cp932("PERFORMER \"演奏者\"\nTITLE \"扉の歌\"\nFILE \"disc.flac\" FLAC\n"
                          "TRACK 01 AUDIO\nTITLE \"序曲\"\nINDEX 01 00:00:00\nTRACK 02 AUDIO\n"
                          "INDEX 00 ") +
                    d.at(2, true) + "\nINDEX 01 " + d.at(2, false) + "\nTRACK 03 AUDIO\nINDEX 00 " +
                    d.at(3, true) + "\nINDEX 01 " + d.at(3, false) + "\n";
         },
         "扉の歌"},
        {"MOTOROLA byte order, UTF-8 with a byte-order mark", false,
         [&](const std::filesystem::path& dir, const Disc& d) {
             part(dir / "swapped.bin", CueFileKind::Motorola, d, 0, d.from[3]);
             return "\xEF\xBB\xBFTITLE \"ユーティーエフ・ハチ\"\nFILE \"swapped.bin\" MOTOROLA\n"
                    "TRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 00 " +
                    d.at(2, true) + "\nINDEX 01 " + d.at(2, false) + "\nTRACK 03 AUDIO\nINDEX 00 " +
                    d.at(3, true) + "\nINDEX 01 " + d.at(3, false) + "\n";
         },
         "ユーティーエフ・ハチ"},
        {"plain BIN, data track first", true,
         [](const std::filesystem::path& dir, const Disc& d) {
             std::filesystem::copy_file(d.image.bin, dir / d.image.bin.filename());
             return sheetOf(d);
         }},
        {"data track BIN and audio FLACs", true,
         [&](const std::filesystem::path& dir, const Disc& d) {
             part(dir / "data.bin", CueFileKind::Bin, d, 0, d.from[1]);
             part(dir / "audio2.flac", CueFileKind::Flac, d, d.from[1], d.from[2]);
             part(dir / "audio3.flac", CueFileKind::Flac, d, d.from[2], d.from[3]);
             return "FILE \"data.bin\" BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n"
                    "FILE \"audio2.flac\" WAVE\nTRACK 02 AUDIO\nINDEX 00 00:00:00\nINDEX 01 " +
                    CueTime(d.start[1] - d.from[1]) +
                    "\nFILE \"audio3.flac\" WAVE\nTRACK 03 AUDIO\nINDEX 00 00:00:00\nINDEX 01 " +
                    CueTime(d.start[2] - d.from[2]) + "\n";
         }},
    };

    testing::TempDir dir;
    AudioEngine engine;
    CdDevice cd(engine);
    const Disc discs[2] = {writeDisc(dir.path(), false), writeDisc(dir.path(), true)};
    int n = 0;
    for (const Playable& c : cases) {
        SCOPED_TRACE(c.name);
        const Disc& disc = discs[c.dataFirst ? 1 : 0];
        const std::filesystem::path folder = dir / ("case" + std::to_string(n++));
        std::filesystem::create_directory(folder);
        WriteFileBytes(folder / "image.cue", c.write(folder, disc));
        cd.setFileName((folder / "image.cue").string());
        cd.open();
        cd.waitIdle();
        ASSERT_EQ(cd.mode(), DeviceMode::Stopped) << Cp932ToUtf8(cd.takeProblem());
        EXPECT_EQ(cd.takeProblem(), "");

        ASSERT_EQ(cd.tracks(), 3);
        for (int t = 1; t <= 3; ++t) {
            const std::int64_t end =
                t < 3 ? disc.start[static_cast<std::size_t>(t)] : disc.image.totalSectors;
            EXPECT_EQ(cd.trackLength(t),
                      SectorsToMsf(static_cast<std::int32_t>(end - disc.start[t - 1])))
                << "track " << t;
        }
        EXPECT_EQ(cd.length(), SectorsToMsf(static_cast<std::int32_t>(disc.image.totalSectors)));
        if (!c.discTitle.empty()) {
            EXPECT_EQ(cd.discText().disc.title, Utf8ToCp932(c.discTitle));
        }

        for (int t = 1; t <= 3; ++t) {
            if (!disc.audio[static_cast<std::size_t>(t - 1)])
                continue;
            cd.playFrom(static_cast<std::uint32_t>(t));
            const std::vector<float> heard = Listen(engine, cd, kRate);
            const std::size_t first = static_cast<std::size_t>(disc.start[t - 1]) * 2352;
            int wrong = 0;
            for (std::size_t i = 0; i < heard.size(); ++i) {
                const auto v = static_cast<std::int16_t>(
                    static_cast<unsigned char>(disc.bin[first + 2 * i]) |
                    static_cast<unsigned char>(disc.bin[first + 2 * i + 1]) << 8);
                wrong += heard[i] != static_cast<float>(v) / 32768.0f;
            }
            EXPECT_EQ(wrong, 0) << "track " << t;
            cd.stop();
        }
    }
}

TEST(CueImageTest, CdTextIsShownInTheUsersLanguage) {
    testing::TempDir dir;
    const CueImage image = WriteCueBin(dir.path(), "disc", {{.seconds = 1}, {.seconds = 1}});
    // A Japanese disc as it is often pressed: an English block first, a Japanese one second.
    WriteFileBytes(dir / "disc.cdt",
                   testing::CdTextFile({{.language = 0x09,
                                         .titles = {"Spring Door", "Cherry", "Rain"},
                                         .performers = {"Band", "Band", "Band"}},
                                        {.language = 0x69,
                                         .shiftJis = true,
                                         .titles = {cp932("春の扉"), cp932("桜"), cp932("雨")},
                                         .performers = {cp932("楽団"), "\t\t", "\t\t"}}}));
    const std::vector<char> sheet = testing::ReadFileBytes(image.cue);
    WriteFileBytes(image.cue,
                   "CDTEXTFILE \"disc.cdt\"\r\n" + std::string(sheet.begin(), sheet.end()));

    const struct {
        const char* locale;
        std::vector<std::string> shown; // UTF-8: disc title, performer, track titles
    } cases[] = {
        {"ja_JP.UTF-8", {"春の扉", "楽団", "桜", "雨", "楽団"}},
        {"C.UTF-8", {"Spring Door", "Band", "Cherry", "Rain", "Band"}},
        {"de_DE.UTF-8", {"Spring Door", "Band", "Cherry", "Rain", "Band"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        AudioEngine engine;
        CdDevice cd(engine, {.textLocale = c.locale});
        cd.setFileName(image.cue.string());
        cd.open();
        cd.waitIdle();
        const DiscText text = cd.discText();
        EXPECT_EQ((std::vector<std::string>{
                      Cp932ToUtf8(text.disc.title), Cp932ToUtf8(text.disc.performer),
                      Cp932ToUtf8(text.track(1).title), Cp932ToUtf8(text.track(2).title),
                      Cp932ToUtf8(text.track(2).performer)}),
                  c.shown);
    }
}

struct Unusable {
    std::string name;
    std::function<std::string(const std::filesystem::path&, const Disc&)> write;
    std::string mentioned; // UTF-8, part of the message
    // Makes the image usable again, to show the device noticed; none when empty.
    std::function<void(const std::filesystem::path&, const Disc&)> mend = {};
};

TEST(CueImageTest, AnUnusableSheetIsNoDiscWithOneMessageNamingTheLine) {
    const std::string twoTracks = "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"
                                  "TRACK 02 AUDIO\nINDEX 01 00:03:00\n";
    const std::vector<Unusable> cases = {
        {"a missing file",
         [](auto&, const Disc&) {
             return "REM\nFILE \"01.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n";
         },
         "2 行目：ファイル【01.wav】が見つかりません",
         [](const std::filesystem::path& dir, const Disc& d) {
             WriteCueFile(dir / "01.wav", CueFileKind::Wav, d.bin, 0, d.from[3]);
         }},
        {"a BIN that ends before a track",
         [&](const std::filesystem::path& dir, const Disc& d) {
             WriteFileBytes(dir / "a.bin", std::string(d.bin.begin(), d.bin.begin() + 2352 * 250));
             return twoTracks + "TRACK 03 AUDIO\nINDEX 01 00:04:00\n";
         },
         "7 行目：ファイル【a.bin】がこの位置まで届いていません"},
        {"a FLAC that is no CD audio",
         [](const std::filesystem::path& dir, const Disc& d) {
             WriteCueFile(dir / "a.flac", CueFileKind::Flac, d.bin, 0, 100, 48000);
             return std::string("FILE \"a.flac\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
         },
         "1 行目：ファイル【a.flac】は 44.1 kHz ステレオではありません"},
        {"garbage", [](auto&, const Disc&) { return std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR"); },
         "1 行目：読めない行です"},
        {"a track out of order",
         [](auto&, const Disc&) {
             return std::string("FILE x.bin BINARY\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n"
                                "TRACK 01 AUDIO\n");
         },
         "4 行目：トラック番号は 3 以上のはずです"},
        {"a time that is none",
         [](auto&, const Disc&) {
             return std::string("FILE x.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:60:00\n");
         },
         "3 行目：INDEX 行の番号か時間が正しくありません"},
        {"data only",
         [](auto&, const Disc&) {
             return std::string("FILE x.bin BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n");
         },
         "】：音声トラックがありません"},
    };

    testing::TempDir dir;
    const Disc disc = writeDisc(dir.path(), false);
    AudioEngine engine;
    CdDevice cd(engine);
    int n = 0;
    for (const Unusable& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path folder = dir / ("case" + std::to_string(n++));
        std::filesystem::create_directory(folder);
        WriteFileBytes(folder / "bad.cue", c.write(folder, disc));
        cd.setFileName((folder / "bad.cue").string());
        cd.open();
        cd.waitIdle();
        EXPECT_EQ(cd.mode(), DeviceMode::Open);
        EXPECT_EQ(cd.tracks(), 0);
        const std::string message = Cp932ToUtf8(cd.takeProblem());
        EXPECT_NE(message.find("【bad.cue】"), std::string::npos) << message;
        EXPECT_NE(message.find(c.mentioned), std::string::npos) << message;
        cd.checkMedia();
        cd.waitIdle();
        EXPECT_EQ(cd.takeProblem(), "") << "told twice";
        cd.playFrom(1);
        EXPECT_EQ(testing::Analyse(Listen(engine, cd, 1000)).peak, 0.0);
        if (c.mend) {
            c.mend(folder, disc);
            cd.checkMedia();
            cd.waitIdle();
            EXPECT_EQ(cd.mode(), DeviceMode::Stopped);
            EXPECT_EQ(cd.tracks(), 1);
        }
    }
}

} // namespace
} // namespace tobira
