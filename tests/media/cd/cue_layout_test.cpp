// SPDX-License-Identifier: GPL-3.0-or-later
// CUE sheets read from bytes and laid out on a disc, without any file: gaps that no file holds,
// the pregap of track 1 before LSN 0, text encodings, and the line named for a bad sheet.
#include "media/cd/cue_layout.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tobira {
namespace {

struct Seg {
    std::int64_t lsn, sectors;
    int file;
    std::int64_t fileSector;
    bool operator==(const Seg&) const = default;
};

TEST(CueLayoutTest, TracksLieWhereADriveWouldReportThem) {
    struct Case {
        std::string name, sheet;
        std::vector<std::int64_t> fileSectors;
        std::vector<std::int32_t> starts;
        std::int32_t leadout;
        std::vector<Seg> segments;
    };
    const std::vector<Case> cases = {
        {"PREGAP and POSTGAP are silence no file holds",
         "FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nPREGAP 00:02:00\n"
         "INDEX 01 00:01:00\nPOSTGAP 00:00:10\n",
         {200},
         {0, 225},
         360,
         {{0, 75, 0, 0}, {75, 150, -1, 0}, {225, 125, 0, 75}, {350, 10, -1, 0}}},
        {"track 1's 2 s pregap in the file lies before LSN 0",
         "FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 00 00:00:00\nINDEX 01 00:02:00\n"
         "TRACK 02 AUDIO\nINDEX 01 00:03:00\n",
         {300},
         {0, 75},
         150,
         {{-150, 300, 0, 0}}},
        {"a longer pregap of track 1 (a hidden track) keeps all but 2 s",
         "FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 00 00:00:00\nINDEX 01 00:10:00\n",
         {1000},
         {600},
         850,
         {{-150, 1000, 0, 0}}},
        {"files end to end, a data track first",
         "FILE d.iso BINARY\nTRACK 01 MODE1/2048\nINDEX 01 00:00:00\nFILE \"b c.wav\" WAVE\n"
         "TRACK 02 AUDIO\nINDEX 00 00:00:00\nINDEX 01 00:02:00\n",
         {100, 400},
         {0, 250},
         500,
         {{0, 100, 0, 0}, {100, 400, 1, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CueParseResult parsed = ParseCueSheet(c.sheet);
        ASSERT_TRUE(parsed.sheet) << parsed.problem.line << " " << parsed.problem.what;
        std::vector<std::int64_t> bytes;
        for (std::size_t f = 0; f < c.fileSectors.size(); ++f) {
            const int size = parsed.sheet->tracks[f].sectorBytes;
            bytes.push_back(c.fileSectors[f] * size);
        }
        const CueLayoutResult laid = LayOutCueSheet(*parsed.sheet, bytes);
        ASSERT_TRUE(laid.layout) << laid.problem.what;
        std::vector<std::int32_t> starts;
        for (const CdTocEntry& e : laid.layout->entries)
            starts.push_back(e.start);
        EXPECT_EQ(starts, c.starts);
        EXPECT_EQ(laid.layout->leadout, c.leadout);
        std::vector<Seg> segments;
        for (const CueSegment& s : laid.layout->segments)
            segments.push_back({s.lsn, s.sectors, s.file, s.fileSector});
        EXPECT_EQ(segments, c.segments);
    }
}

TEST(CueLayoutTest, TextIsUtf8OrShiftJisAndABadSheetNamesItsLine) {
    const std::string title = "春の扉";
    const std::string tail = "\r\nFILE a.bin BINARY\r\nTRACK 01 AUDIO\r\nINDEX 01 00:00:00\r\n";
    for (const std::string& sheet :
         {"TITLE \"" + title + "\"" + tail, "\xEF\xBB\xBFTITLE \"" + title + "\"" + tail,
          "TITLE \"" + Utf8ToCp932(title) + "\"" + tail}) {
        const CueParseResult parsed = ParseCueSheet(sheet);
        ASSERT_TRUE(parsed.sheet);
        EXPECT_EQ(parsed.sheet->disc.title, Utf8ToCp932(title));
    }

    struct Bad {
        std::string sheet;
        int line;
    };
    const std::vector<Bad> bad = {
        {"", 0},
        {"REM only\n", 0},
        {"TRACK 01 AUDIO\n", 1},
        {"FILE a.bin BINARY\nINDEX 01 00:00:00\n", 2},
        {"FILE a.mp4 MPEG4\n", 1},
        {"FILE a.bin BINARY\nTRACK 01 VIDEO\n", 2},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n", 2},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nTITLE \"open\n", 3},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:75\n", 3},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:02:00\nINDEX 01 00:03:00\n", 4},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 00 00:02:00\nINDEX 01 00:01:00\n", 4},
        {"FILE a.bin BINARY\nTRACK 02 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\n", 4},
        {"FILE a.bin BINARY\nTRACK 100 AUDIO\nINDEX 01 00:00:00\n", 2},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.sheet);
        const CueParseResult parsed = ParseCueSheet(b.sheet);
        EXPECT_FALSE(parsed.sheet);
        EXPECT_EQ(parsed.problem.line, b.line);
        EXPECT_FALSE(parsed.problem.what.empty());
    }
}

} // namespace
} // namespace tobira
