// SPDX-License-Identifier: GPL-3.0-or-later
// Sheets as rippers and other tools really write them, against the disc a drive would report:
// text in UTF-16 or UTF-32 with or without a byte-order mark, CR line ends, the disc's own
// track numbers, tracks that only have INDEX 00, audio that ends inside a sector, and an
// Enhanced CD's data track in its own session.
#include "media/audio_engine.h"
#include "media/cd/cd_device.h"
#include "support/cd_device_support.h"
#include "support/cue_files.h"
#include "support/wav_writer.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tobira {
namespace {

namespace fs = std::filesystem;
using testing::Analyse;
using testing::Listen;
using testing::WriteFileBytes;

// Between an Enhanced CD's audio and its data track: lead-out, lead-in and pregap.
constexpr std::int64_t kSessionGap = 11400;

// A stereo 44.1 kHz WAV of `frames` frames of one tone.
void wav(const fs::path& dir, const std::string& name, long frames, double frequency) {
    testing::WriteToneWav(dir / name, {.rate = 44100, .channels = 2, .bits = 16}, frames,
                          frequency);
}

std::string encoded(const std::u32string& text, int width, bool little, bool mark) {
    std::string out;
    for (char32_t c : mark ? U"\uFEFF" + text : text)
        for (int k = 0; k < width; ++k)
            out += static_cast<char>(c >> 8 * (little ? k : width - 1 - k));
    return out;
}

const std::u32string kJapaneseSheet = U"TITLE \"春の扉\"\r\nFILE \"a.wav\" WAVE\r\n"
                                      U"  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
                                      U"  TRACK 02 AUDIO\r\n    INDEX 01 00:02:00\r\n";

struct Sheet {
    std::string name;
    std::string sheet; // its bytes; beside it a.wav (301 sectors, the last one not whole),
                       // b.wav (200 sectors) and disc.bin (801 sectors, the last not whole)
    // Sectors of tracks 1..n as the device reports them; 0 for a number the disc leaves out.
    std::vector<std::int64_t> lengths;
    int listen = 1;         // the track asked to play...
    double frequency = 441; // ...and the tone that must sound (0: silence)
    std::string title = {}; // the disc's, UTF-8; checked when not empty
};

TEST(CueRipperSheetsTest, PlaysAsTheDiscADriveWouldReport) {
    const std::string ab = "FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"
                           "FILE b.wav WAVE\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n";
    const std::vector<Sheet> cases = {
        {"UTF-16 LE with a mark",
         encoded(kJapaneseSheet, 2, true, true),
         {150, 151},
         2,
         441,
         "春の扉"},
        {"UTF-16 BE without a mark",
         encoded(kJapaneseSheet, 2, false, false),
         {150, 151},
         2,
         441,
         "春の扉"},
        {"UTF-32 LE without a mark",
         encoded(kJapaneseSheet, 4, true, false),
         {150, 151},
         2,
         441,
         "春の扉"},
        {"UTF-32 BE with a mark",
         encoded(kJapaneseSheet, 4, false, true),
         {150, 151},
         2,
         441,
         "春の扉"},
        {"CR line ends, Shift-JIS, a DOS end-of-file byte and zero bytes after it",
         Utf8ToCp932("TITLE \"春\"\rFILE a.wav WAVE\rTRACK 01 AUDIO\rINDEX 01 00:00:00\r"
                     "TRACK 02 AUDIO\rINDEX 01 00:02:00\r") +
             std::string("\x1A\0\0", 3),
         {150, 151},
         1,
         441,
         "春"},
        {"first track 4: tracks 1 to 3 have no length and play on to 4",
         "FILE a.wav WAVE\nTRACK 04 AUDIO\nINDEX 01 00:00:00\n"
         "FILE b.wav WAVE\nTRACK 05 AUDIO\nINDEX 01 00:00:00\n",
         {0, 0, 0, 301, 200},
         1,
         441},
        {"numbers that skip",
         "FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:01:00\n"
         "FILE b.wav WAVE\nTRACK 05 AUDIO\nINDEX 01 00:00:00\n",
         {75, 226, 0, 0, 200},
         3,
         882},
        {"only INDEX 00 in every file",
         "FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 00 00:00:00\n"
         "FILE b.wav WAVE\nTRACK 02 AUDIO\nINDEX 00 00:00:00\n",
         {301, 200},
         2,
         882},
        {"INDEX 00 before the next FILE, INDEX 01 in it",
         "FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 00 00:03:00\n"
         "FILE b.wav WAVE\nINDEX 01 00:00:00\n",
         {301, 200},
         2,
         882},
        {"a BIN that ends inside a sector",
         "FILE disc.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
         {801},
         1,
         0},
        {"a renamed image pair: the BIN by the sheet's name",
         "FILE \"OLD NAME.BIN\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
         {801},
         1,
         0},
        {"Enhanced CD: the data track in a session of its own",
         ab + "FILE disc.bin BINARY\nTRACK 03 MODE2/2352\nINDEX 01 00:00:00\n",
         {301, 200 + kSessionGap, 801},
         2,
         882},
        {"Enhanced CD as EAC writes it: a data track the image does not hold",
         ab + "TRACK 03 MODEx/2xxx\nINDEX 00 00:02:50\n",
         {301, 200},
         2,
         882},
        {"Enhanced CD in one BIN, its pregap written out",
         "FILE disc.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"
         "TRACK 02 MODE1/2352\nPREGAP 00:02:00\nINDEX 01 00:04:00\n",
         {300 + kSessionGap, 501},
         1,
         0},
    };

    testing::TempDir dir;
    AudioEngine engine;
    CdDevice cd(engine);
    int n = 0;
    for (const Sheet& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = dir / ("case" + std::to_string(n++));
        fs::create_directory(folder);
        wav(folder, "a.wav", 300 * 588 + 100, 441);
        wav(folder, "b.wav", 200 * 588, 882);
        WriteFileBytes(folder / "disc.bin", std::string(2352 * 800 + 1000, '\0'));
        WriteFileBytes(folder / "disc.cue", c.sheet);
        cd.setFileName((folder / "disc.cue").string());
        cd.open();
        cd.waitIdle();
        ASSERT_EQ(cd.mode(), DeviceMode::Stopped) << Cp932ToUtf8(cd.takeProblem());

        std::vector<std::int64_t> lengths;
        for (int t = 1; t <= cd.tracks(); ++t) {
            const std::uint32_t msf = cd.trackLength(t);
            lengths.push_back((MsfMinute(msf) * 60 + MsfSecond(msf)) * 75 + MsfFrame(msf));
        }
        EXPECT_EQ(lengths, c.lengths);
        if (!c.title.empty()) {
            EXPECT_EQ(Cp932ToUtf8(cd.discText().disc.title), c.title);
        }

        cd.playFrom(static_cast<std::uint32_t>(c.listen));
        const testing::Sound heard = Analyse(Listen(engine, cd, testing::kRate / 2));
        EXPECT_NEAR(heard.frequency, c.frequency, c.frequency * 0.05);
        EXPECT_EQ(heard.peak > 0.1, c.frequency > 0);
        cd.stop();
    }
}

} // namespace
} // namespace tobira
