// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/midi_title.h"

#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <functional>
#include <system_error>

namespace tobira {
namespace {

using testing::SmfWriter;

std::string sjis(const char* utf8) {
    return Utf8ToCp932(utf8);
}

TEST(ReadMidiTitle, TakesTheEarlierNamedEventOfASmfElseTheFileName) {
    const struct {
        const char* name;
        std::string fileName; // code page 932
        std::function<void(SmfWriter&)> build;
        std::string title;
    } cases[] = {
        {"track name, text later", "a.mid",
         [](SmfWriter& w) {
             w.text(0, 0, 0x03, "Song");
             w.text(0, 10, 0x01, "Comment");
         },
         "Song"},
        {"text first", "a.mid",
         [](SmfWriter& w) {
             w.text(0, 0, 0x01, "Comment");
             w.text(0, 10, 0x03, "Song");
         },
         "Comment"},
        {"shift-jis name", "a.mid",
         [](SmfWriter& w) { w.text(0, 0, 0x03, sjis("春の海　第一楽章")); },
         sjis("春の海　第一楽章")},
        {"no event", "plain.mid", [](SmfWriter& w) { w.note(0, 0, 0, 60, 100, 480); }, "plain.mid"},
        {"japanese file name", sjis("曲.MID"), [](SmfWriter& w) { w.note(0, 0, 0, 60, 100, 480); },
         sjis("曲.MID")},
        {"spaces only", "blank.mid", [](SmfWriter& w) { w.text(0, 0, 0x03, "   "); }, "blank.mid"},
        {"empty name, text", "a.mid",
         [](SmfWriter& w) {
             w.text(0, 0, 0x03, "");
             w.text(0, 0, 0x01, "Text");
         },
         "Text"},
        {"both empty", "empty.mid",
         [](SmfWriter& w) {
             w.text(0, 0, 0x03, "");
             w.text(0, 0, 0x01, "");
         },
         "empty.mid"},
        {"control bytes", "a.mid", [](SmfWriter& w) { w.text(0, 0, 0x03, "A\tB\rC\nD"); }, "ABCD"},
        {"beyond the window", "late.mid",
         [](SmfWriter& w) {
             std::vector<std::uint8_t> body(300, 0x20);
             body.push_back(0xF7);
             w.sysex(0, 0, body);
             w.text(0, 0, 0x03, "Late");
         },
         "late.mid"},
        // 200 is written as the variable-length 81 48: one byte is read as the length (129),
        // and the text starts with 48 ("H").
        {"long name", "a.mid", [](SmfWriter& w) { w.text(0, 0, 0x03, std::string(200, 'x')); },
         "H" + std::string(128, 'x')},
    };
    testing::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmfWriter writer;
        c.build(writer);
        auto file = dir.path() / PathFromCp932(c.fileName);
        writer.write(file);
        EXPECT_EQ(ReadMidiTitle(*Cp932FromPath(file)), c.title);
    }
}

// The bytes as they are: a length byte of 0x0D (13) or 0x1A (26), or a header holding CR, LF or
// 0x1A, is no line end and no end of the data.
TEST(ReadMidiTitle, ReadsTheHeadAsItIs) {
    const std::string song = "\xFF\x03\x04Song";
    const std::string sakura = sjis("さくら さくら"); // 13 bytes
    const std::string header =
        std::string("MThd\0\0\0\x06\0\x01\0\x02\x01\xE0MTrk\0\0\0\x40\0", 23);
    const auto withHeader = [&](char a, char b) {
        std::string h = header;
        h[12] = a; // the division
        h[13] = b;
        return h;
    };
    const struct {
        const char* name;
        std::string head;
        std::string title;
    } cases[] = {
        {"13 bytes", header + "\xFF\x03\x0D" + sakura + "\0\xFF\x2F", sakura},
        {"26 bytes", header + "\xFF\x03\x1A" + sakura + sakura, sakura + sakura},
        {"10 bytes", header + "\xFF\x01\x0A" + sakura.substr(0, 10), sakura.substr(0, 10)},
        {"header with CR LF", withHeader('\r', '\n') + song, "Song"},
        {"header with 0x1A", withHeader('\x1A', '\x1A') + song, "Song"},
        {"at position 255", std::string(254, 'a') + song, "Song"},
        {"at position 256", std::string(255, 'a') + song, "f.mid"},
        {"text past the 256th byte", std::string(250, 'a') + "\xFF\x03\x14" + std::string(20, 'x'),
         std::string(20, 'x')},
        {"length byte past the 256th byte", std::string(253, 'a') + "\xFF\x03\x02xy", "xy"},
        {"text cut by the data end", "MThd\xFF\x01\x09Part", "Part"},
        {"pair at the very end", "MThd\xFF\x03", "f.mid"},
        // UTF-8 that is no plausible Shift-JIS is converted; what code page 932 lacks is "？".
        {"utf-8 kana", "\xFF\x03\x09さくら", sjis("さくら")},
        {"utf-8 kanji and ascii", "\xFF\x03\x0Bx 春の海", sjis("x 春の海")},
        {"utf-8 accent",
         "\xFF\x03\x06"
         "Caf\xC3\xA9!",
         sjis("Caf？!")},
        {"utf-8 cut mid-character", "\xFF\x03\x08さくら", sjis("さく")},
        {"shift-jis that is also utf-8", "\xFF\x03\x03\xC3\x81\x41", "\xC3\x81\x41"},
        {"half-width katakana", "\xFF\x03\x03\xBB\xB8\xD7", "\xBB\xB8\xD7"},
        {"soft karaoke title", "\xFF\x01\x0B@TTwinkle!!", "Twinkle!!"},
        {"soft karaoke title in utf-8", "\xFF\x01\x0B@Tさくら", sjis("さくら")},
        {"soft karaoke header alone", "\xFF\x01\x02@T", "f.mid"},
        {"empty", "", "f.mid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MidiTitleFromHead(c.head, "f.mid"), c.title);
    }
}

TEST(ReadMidiTitle, ReadsAnRmidThroughItsSmf) {
    SmfWriter writer;
    writer.text(0, 0, 0x03, sjis("さくら さくら"));
    const std::vector<std::uint8_t> smf = writer.bytes();
    std::vector<std::uint8_t> file{'R', 'I', 'F', 'F', 0,   0,   0,   0,
                                   'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'};
    for (int i = 0; i < 4; ++i)
        file.push_back(static_cast<std::uint8_t>(smf.size() >> (8 * i)));
    file.insert(file.end(), smf.begin(), smf.end());
    testing::TempDir dir;
    testing::WriteBytes(dir / "sakura.rmi", file);
    EXPECT_EQ(ReadMidiTitle(*Cp932FromPath(dir / "sakura.rmi")), sjis("さくら さくら"));
}

TEST(IsMidiFileName, TakesTheMidiExtensionsInAnyCase) {
    const std::pair<std::string, bool> cases[] = {
        {"/a/song.mid", true},    {"/a/SONG.MID", true},  {"b.Midi", true}, {"c.kar", true},
        {"d.RMI", true},          {sjis("曲.mid"), true}, {"e.txt", false}, {"f.mid.txt", false},
        {"/x.mid/readme", false}, {"midi", false},        {"g.mi", false},  {"h.midis", false},
    };
    for (const auto& [name, midi] : cases)
        EXPECT_EQ(IsMidiFileName(name), midi) << name;
}

TEST(ReadMidiTitle, FailsOnAFileThatCannotBeRead) {
    testing::TempDir dir;
    EXPECT_THROW(ReadMidiTitle(*Cp932FromPath(dir / "missing.mid")), std::system_error);
    EXPECT_THROW(ReadMidiTitle(*Cp932FromPath(dir.path())), std::system_error);
    testing::WriteBytes(dir / "short.mid", {'M', 'T'});
    EXPECT_EQ(ReadMidiTitle(*Cp932FromPath(dir / "short.mid")), "short.mid");
}

} // namespace
} // namespace tobira
