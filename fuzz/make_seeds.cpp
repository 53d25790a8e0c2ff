// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpus of every fuzz target, one folder per target: small valid inputs of
// each format (and a few near misses), made here rather than kept as binary files.
#include "media/cd/cue_bin_writer.h"
#include "media/cd/demo_disc.h"
#include "files/whole_file.h"
#include "text/cp932_convert.h"

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

using namespace tobira;

namespace {

std::string Be(std::uint32_t v, int bytes) {
    std::string s;
    for (int i = bytes - 1; i >= 0; --i)
        s += static_cast<char>(v >> (8 * i) & 0xFF);
    return s;
}

std::string Le(std::uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>(v >> (8 * i) & 0xFF);
    return s;
}

std::string Smf(int format, const std::vector<std::string>& tracks, int division = 480) {
    std::string s = "MThd" + Be(6, 4) + Be(format, 2) + Be(tracks.size(), 2) + Be(division, 2);
    for (const auto& t : tracks)
        s += "MTrk" + Be(static_cast<std::uint32_t>(t.size()), 4) + t;
    return s;
}

std::string Meta(int type, const std::string& text) {
    return std::string("\x00\xFF", 2) + static_cast<char>(type) + static_cast<char>(text.size()) +
           text;
}

const std::string kEnd("\x00\xFF\x2F\x00", 4);
const std::string kTempo("\x00\xFF\x51\x03\x07\xA1\x20", 7);
const std::string kNotes("\x00\x90\x3C\x64\x83\x60\x80\x3C\x00\x00\x3E\x64\x60\x3E\x00", 15);

std::string Wav(int format, int channels, int rate, int bits, const std::string& data,
                const std::string& extra = {}) {
    const int block = channels * bits / 8;
    std::string fmt = Le(format, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * block, 4) +
                      Le(block, 2) + Le(bits, 2);
    std::string body = "WAVE" + extra + "fmt " + Le(16, 4) + fmt + "data" +
                       Le(static_cast<std::uint32_t>(data.size()), 4) + data;
    return "RIFF" + Le(static_cast<std::uint32_t>(body.size()), 4) + body;
}

std::string Pcm16(int frames, int channels) {
    std::string s;
    for (int i = 0; i < frames * channels; ++i)
        s += Le(static_cast<std::uint16_t>((i * 2917) & 0xFFFF), 2);
    return s;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tobira-fuzz-seeds <folder>\n";
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::string kanji = Utf8ToCp932("扉の歌　ＣＤ");
    const std::string kana = Utf8ToCp932("ｶﾞｲﾄﾞ ﾊﾟﾊﾟ");
    std::map<std::string, std::vector<std::string>> seeds;

    seeds["ini"] = {
        "[TOBIRA]\r\nMODESELEC=2\r\nCDDEVICE=/dev/sr0\r\n",
        "; comment\n[tobira]\nKEY = \" spaced \"\n\n[Other]\r\nA=1",
        "[TOBIRA]\r\nTITLE=" + kanji + "\r\n[TOBIRA]\r\nTITLE=2\r",
    };
    const std::vector<std::string> records = {
        "Title\t/music/a.mid\t+0\t1",
        "!1 " + kanji + "\t/music/" + kana + ".mid\t-5\t0",
        "!3 Old\t/b.MID\t+5\t2",
        "Rest\t/c.mid\t+0\t3",
        "Short\t/d.mid",
        "\t\t\t",
    };
    seeds["list_line"] = records;
    std::string list;
    for (const auto& r : records)
        list += r + "\r\n";
    seeds["list_load"] = {list, "a\rb\nc\r\n\r\nd", std::string("x\0y\r\nz", 6)};
    seeds["album"] = {list, "Song\t/s.mid\t+0\tx\r\n"};

    const std::string titled = Smf(0, {Meta(3, "Song Title") + Meta(1, kanji) + kNotes + kEnd});
    seeds["midi_title"] = {titled, Smf(0, {Meta(1, "\x01text\r\nline") + kEnd}),
                           Smf(1, {Meta(3, "   ") + kEnd, Meta(3, "Second") + kEnd})};
    seeds["smf"] = {
        titled,
        Smf(1, {kTempo + kEnd, kNotes + kEnd, std::string("\x00\xC0\x05", 3) + kNotes + kEnd}),
        Smf(0, {std::string("\x00\xF0\x05\x7E\x7F\x09\x01\xF7", 8) + kNotes + kEnd}, 96),
        // Game music's loop marks: controller 111, and the loopStart and loopEnd markers.
        Smf(0, {kNotes + std::string("\x00\xB0\x6F\x00", 4) + kNotes + kEnd}),
        Smf(1, {Meta(6, "loopStart") + kNotes + Meta(6, "LoopEnd") + kEnd, kNotes + kEnd}),
    };
    {
        const std::string smf = Smf(2, {kTempo + kNotes + kEnd, kNotes + kEnd});
        const auto riff = [](const std::string& chunks) {
            return "RIFF" + Le(static_cast<std::uint32_t>(chunks.size() + 4), 4) + "RMID" + chunks;
        };
        const std::string info = "LIST" + Le(9, 4) + "INFOISFT" + std::string(1, '\0') + '\0';
        seeds["rmid"] = {
            riff("data" + Le(static_cast<std::uint32_t>(smf.size()), 4) + smf),
            riff(info + "data" + Le(static_cast<std::uint32_t>(smf.size()), 4) + smf),
            riff("data" + Le(0xFFFFFF, 4) + smf), // a data chunk longer than the file
            riff(info),                           // no data at all
            smf,
        };
    }
    seeds["lyrics"] = {
        titled,
        Smf(1, {kTempo + kEnd, Meta(5, kanji) + Meta(5, "\r") + Meta(5, "<XF") + kNotes + kEnd}),
        Smf(1, {Meta(1, "@KMIDI KARAOKE FILE") + kEnd,
                Meta(1, "@Ttitle") + Meta(1, "\\Hel") + Meta(1, "lo") + Meta(1, "/next") + kEnd}),
    };
    seeds["pattern"] = {
        "ABCDEFGHIJ0=01 02 03 .Best\r\nABCDEFGHIJ1=05 04 .\r\n",
        "KEY00000000=" + kanji + "\nno line end",
        "\r\n\r\nXYZ=99 00 01",
    };
    seeds["cp932"] = {kanji, kana, "abc ＡＢＣ　\x81", Utf8ToCp932("αβγ абв ～－￥"),
                      "\xFA\x40\xED\x40\xA0\xFD"};
    seeds["wave"] = {
        Wav(1, 1, 44100, 16, Pcm16(64, 1)),
        Wav(1, 2, 22050, 8, std::string(64, '\x80'), "LIST" + Le(3, 4) + "abc" + '\0'),
        Wav(3, 2, 48000, 32, std::string(64, '\0')),
        Wav(1, 1, 8000, 16, Pcm16(8, 1)).substr(0, 50),
    };
    // Beside the seeds, so that two builds making their seeds at once never share it.
    const auto demo = root / ".demo-disc";
    const CueImage image = WriteDemoDisc(demo);
    seeds["cue"] = {
        ReadWholeFile(image.cue).value_or(""),
        "FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
        "  TRACK 02 AUDIO\n    INDEX 00 00:01:00\n    INDEX 01 00:01:10\n",
        "TITLE \"Disc\"\nFILE \"disc.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
        "  TRACK 02 AUDIO\n    TITLE \"Two\"\n    INDEX 01 00:01:00\n",
    };
    std::filesystem::remove_all(demo);
    // ASCII sheets widened to 16 or 32 bits: enough for the Japanese title of a real sheet.
    const auto wide = [](const std::string& ascii, int width, bool little, bool mark) {
        std::string out = mark ? (width == 2 ? (little ? Le(0xFEFF, 2) : Be(0xFEFF, 2))
                                             : (little ? Le(0xFEFF, 4) : Be(0xFEFF, 4)))
                               : "";
        for (unsigned char c : ascii)
            out += little ? Le(c, width) : Be(c, width);
        return out;
    };
    const std::string sheet = "TITLE \"Disc\"\r\nFILE \"a.wav\" WAVE\r\n  TRACK 04 AUDIO\r\n"
                              "    INDEX 01 00:00:00\r\n";
    seeds["cue_text"] = {
        wide(sheet, 2, true, true),
        wide(sheet, 2, false, false),
        wide(sheet, 4, true, false),
        wide(sheet, 4, false, true),
        "\xEF\xBB\xBF" + sheet,
        Utf8ToCp932("TITLE \"扉\"\rFILE \"a.bin\" BINARY\rTRACK 01 AUDIO\rINDEX 01 00:00:00\r"),
    };

    // CD-Text packs: an English block and a Shift-JIS one, with and without a drive's header.
    const auto pack = [](int type, int track, int sequence, int flags, const std::string& text) {
        std::string p = {static_cast<char>(type), static_cast<char>(track),
                         static_cast<char>(sequence), static_cast<char>(flags)};
        p += text;
        p.resize(16, '\0');
        std::uint16_t crc = 0;
        for (char c : p) {
            crc = static_cast<std::uint16_t>(crc ^ static_cast<unsigned char>(c) << 8);
            for (int b = 0; b < 8; ++b)
                crc = static_cast<std::uint16_t>(crc & 0x8000 ? crc << 1 ^ 0x1021 : crc << 1);
        }
        return p + Be(static_cast<std::uint16_t>(~crc), 2);
    };
    const std::string sizes = std::string("\x00\x01\x01\x00\x01\x01", 6) + std::string(9, '\0') +
                              "\x03\x04\x06" + std::string(6, '\0') + "\x09\x69" +
                              std::string(6, '\0');
    std::string packs;
    for (int block = 0; block < 2; ++block) {
        const int flags = block << 4 | (block ? 0x80 : 0);
        packs += pack(0x80, 0, 0, flags,
                      block ? Utf8ToCp932("扉") + std::string(2, '\0') + Utf8ToCp932("一")
                            : std::string("Door\0One", 8));
        packs += pack(0x81, 0, 1, flags,
                      block ? std::string("\t\0\0\t\t\0\0", 7) : std::string("Band\0\t", 6));
        std::string info = sizes;
        info[0] = block ? '\x80' : '\0';
        for (int i = 0; i < 3; ++i)
            packs += pack(0x8F, i, 2 + i, flags, info.substr(static_cast<std::size_t>(i) * 12, 12));
    }
    seeds["cd_text"] = {packs, Be(static_cast<std::uint32_t>(packs.size() + 2), 2) + "\0\0" + packs,
                        packs.substr(0, 5 * 18)};

    for (const auto& [target, inputs] : seeds) {
        const auto folder = root / target;
        std::filesystem::create_directories(folder);
        for (std::size_t i = 0; i < inputs.size(); ++i)
            WriteFileAtomically(folder / ("seed-" + std::to_string(i)), inputs[i]);
    }
    return 0;
}
