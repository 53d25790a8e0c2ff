// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/song_lyrics.h"

#include "support/smf_writer.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tobira {
namespace {

using testing::SmfWriter;

struct Text {
    int track;
    std::uint32_t tick; // 960 ticks a second
    std::uint8_t type;
    std::string bytes;
};

std::vector<std::uint8_t> SongWith(const std::vector<Text>& texts) {
    SmfWriter w(1, 480);
    w.addTrack();
    w.addTrack();
    for (const Text& t : texts)
        w.text(t.track, t.tick, t.type, t.bytes);
    w.note(1, 0, 0, 60, 100, 3000);
    return w.bytes();
}

TEST(SongLyricsTest, LinesAndTimesFromEachKindOfLyrics) {
    struct Case {
        const char* name;
        std::vector<Text> texts;
        bool karaoke;
        std::vector<std::pair<double, std::string>> lines; // seconds, UTF-8
    };
    const std::string sakura = Utf8ToCp932("さくら");
    const Case cases[] = {
        {"Soft Karaoke: headers left out, / and \\ start lines, the words track only",
         {{0, 0, 0x01, "A note on the arrangement"},
          {1, 0, 0x01, "@KMIDI KARAOKE FILE"},
          {2, 0, 0x01, "@LENGL"},
          {2, 0, 0x01, "@TSpring"},
          {2, 0, 0x01, "DURATION: 46"},
          {2, 480, 0x01, "\\Hel"},
          {2, 720, 0x01, "lo "},
          {2, 960, 0x01, "world/ "},
          {2, 1440, 0x01, "Good"},
          {2, 1680, 0x01, "bye"}},
         false,
         {{0.5, "Hello world"}, {1.5, "Goodbye"}}},
        {"Shift-JIS lyric events, a line ending in CR",
         {{1, 480, 0x05, Utf8ToCp932("さ")},
          {1, 600, 0x05, Utf8ToCp932("く")},
          {1, 720, 0x05, Utf8ToCp932("ら\r")},
          {1, 960, 0x05, Utf8ToCp932("さいた")},
          {2, 0, 0x01, "/not lyrics"}},
         false,
         {{0.5, "さくら"}, {1.0, "さいた"}}},
        {"UTF-8 lyric events, XF's < starting a page",
         {{1, 480, 0x05, "こんにち"}, {1, 600, 0x05, "は"}, {1, 960, 0x05, "<また"}},
         false,
         {{0.5, "こんにちは"}, {1.0, "また"}}},
        {"Latin-1 lyric events",
         {{1, 960, 0x05, "Caf\xE9 "}, {1, 1200, 0x05, "cr\xE8me"}},
         false,
         {{1.0, "Cafe creme"}}},
        {"text events of a file that is no karaoke", {{1, 480, 0x01, "/Hello"}}, false, {}},
        {"the same named .kar", {{1, 480, 0x01, "/Hello"}}, true, {{0.5, "Hello"}}},
        {"a title header and marked lines without the karaoke mark",
         {{1, 0, 0x01, "@TSong"}, {1, 480, 0x01, "\\Hel"}, {1, 720, 0x01, "lo"}},
         false,
         {{0.5, "Hello"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SongLyrics lyrics = ParseSongLyrics(SongWith(c.texts), c.karaoke);
        std::vector<std::pair<double, std::string>> got;
        for (const LyricLine& line : lyrics.lines())
            got.emplace_back(line.startMicros() / 1e6, Cp932ToUtf8(line.text()));
        EXPECT_EQ(got, c.lines);
    }
}

} // namespace
} // namespace tobira
