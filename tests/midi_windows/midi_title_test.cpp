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
        // The CR ends a text line and is lost; the length still counts it, so the event takes
        // the next byte (the end-of-track delta 00), which is removed with the other controls.
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

TEST(ReadMidiTitle, ReadsTheHeadAsTextLines) {
    const std::string song = "\xFF\x03\x04Song";
    const struct {
        const char* name;
        std::string head;
        std::string title;
    } cases[] = {
        {"at position 255", std::string(254, 'a') + song, "Song"},
        {"at position 256", std::string(255, 'a') + song, "f.mid"},
        {"after CR LF lines", "MThd\r\nab\rcd\r\n" + song, "Song"},
        {"lone LF is text", "MThd\n\n\n" + song, "Song"},
        {"empty line stops", "MThd\r\r" + song, "f.mid"},
        {"empty line stops (CR LF)", "MThd\r\n\r\n" + song, "f.mid"},
        {"0x1A ends the data", "MThd\x1A" + song, "f.mid"},
        // Lines are joined only until 256 bytes: an event behind that is never seen.
        {"stops at 256 bytes", std::string(256, 'a') + "\r" + song, "f.mid"},
        {"text cut by the data end", "MThd\xFF\x01\x09Part", "Part"},
        {"pair at the very end", "MThd\xFF\x03", "f.mid"},
        {"empty", "", "f.mid"},
        {"header only", "MThd", "f.mid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MidiTitleFromHead(c.head, "f.mid"), c.title);
    }
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
