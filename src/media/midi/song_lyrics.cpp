// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/song_lyrics.h"

#include "media/midi/smf_reader.h"
#include "text/cp932_convert.h"
#include "text/utf8.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <map>
#include <string_view>

namespace tobira {
namespace {

enum class Encoding { Cp932, Utf8, Latin1 };

// UTF-8 first: Japanese in UTF-8 also passes as Shift-JIS byte pairs, the reverse never does
// for more than a few characters.
Encoding Detect(std::string_view all) {
    if (IsUtf8BeyondAscii(all))
        return Encoding::Utf8;
    if (Cp932ToUtf8(all).find("\xEF\xBF\xBD") == std::string::npos)
        return Encoding::Cp932;
    return Encoding::Latin1;
}

// Latin-1 letters C0..FF without their accents: code page 932 has none of them.
constexpr std::string_view kLatin1Letters =
    "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";

std::string Decode(std::string_view text, Encoding encoding) {
    switch (encoding) {
    case Encoding::Cp932:
        return std::string(text);
    case Encoding::Utf8:
        return Utf8ToCp932(text);
    case Encoding::Latin1:
        break;
    }
    std::string out;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out += ch;
        else if (c >= 0xC0)
            out += kLatin1Letters[c - 0xC0];
        else if (c == 0xA0)
            out += ' ';
        else
            out += '?';
    }
    return out;
}

// One piece of lyric text with what it does to the lines around it.
struct Piece {
    std::uint64_t tick = 0;
    std::string text; // as the file holds it
    bool newLineBefore = false;
    bool newLineAfter = false;
    bool paragraph = false; // "\" in a Soft Karaoke text
};

Piece Mark(const SmfText& t, bool lyricEvent) {
    Piece piece{t.tick, t.bytes};
    std::string& s = piece.text;
    if (!s.empty() && (s[0] == '/' || s[0] == '\\' || (lyricEvent && s[0] == '<'))) {
        piece.newLineBefore = true;
        piece.paragraph = s[0] == '\\';
        s.erase(0, 1);
    }
    if (lyricEvent)
        while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) {
            piece.newLineAfter = true;
            s.pop_back();
        }
    // Some files end a line with "/" after its last syllable instead. ("\" could be the second
    // byte of a Shift-JIS character there.)
    const std::size_t last = s.find_last_not_of(' ');
    if (last != std::string::npos && last > 0 && s[last] == '/') {
        piece.newLineAfter = true;
        s.erase(last);
    }
    return piece;
}

// The Soft Karaoke text events: those of the track with the most lyrics (the words track; a
// song's other tracks may carry notes of their own), "@" headers left out.
std::vector<Piece> KaraokePieces(const std::vector<SmfText>& texts) {
    std::map<int, int> perTrack;
    for (const SmfText& t : texts)
        if (t.type == 0x01 && !t.bytes.empty() && t.bytes[0] != '@')
            ++perTrack[t.track];
    if (perTrack.empty())
        return {};
    const int words = std::max_element(perTrack.begin(), perTrack.end(), [](auto& a, auto& b) {
                          return a.second < b.second;
                      })->first;
    std::vector<Piece> pieces;
    for (const SmfText& t : texts)
        if (t.type == 0x01 && t.track == words && !t.bytes.empty() && t.bytes[0] != '@')
            pieces.push_back(Mark(t, false));
    // The first paragraph mark starts the words; a note before it (a song's length, say) is no
    // lyric.
    const auto first =
        std::find_if(pieces.begin(), pieces.end(), [](const Piece& p) { return p.paragraph; });
    if (first != pieces.end())
        pieces.erase(pieces.begin(), first);
    return pieces;
}

// The Soft Karaoke mark, or its title or language header with lines marked in its texts.
bool CallsItselfKaraoke(const std::vector<SmfText>& texts) {
    bool header = false, marks = false;
    for (const SmfText& t : texts) {
        if (t.type != 0x01 || t.bytes.empty())
            continue;
        if (t.bytes.starts_with("@KMIDI KARAOKE FILE"))
            return true;
        header = header || t.bytes.starts_with("@T") || t.bytes.starts_with("@L");
        marks = marks || t.bytes[0] == '/' || t.bytes[0] == '\\';
    }
    return header && marks;
}

bool EndsWithKar(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string ext = path.substr(path.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".kar";
}

// Lyrics are text meta events, FF 01 to FF 0F: a song without those two bytes in a row has
// none. A quick look first, as reading a song of tens of megabytes through takes long. `before`
// is the byte before `bytes`.
bool MayHoldTexts(std::span<const std::uint8_t> bytes, std::uint8_t before) {
    for (std::uint8_t b : bytes) {
        if (before == 0xFF && b >= 0x01 && b <= 0x0F)
            return true;
        before = b;
    }
    return false;
}

} // namespace

std::string LyricLine::text() const {
    std::string all;
    for (const LyricSyllable& s : syllables)
        all += s.text;
    return all;
}

int SongLyrics::lineAt(std::uint64_t micros) const {
    const auto after = std::partition_point(lines_.begin(), lines_.end(), [micros](const auto& l) {
        return l.startMicros() <= micros;
    });
    return static_cast<int>(after - lines_.begin()) - 1;
}

std::size_t SongLyrics::sungBytes(int line, std::uint64_t micros) const {
    if (line < 0 || line >= static_cast<int>(lines_.size()))
        return 0;
    std::size_t bytes = 0;
    for (const LyricSyllable& s : lines_[static_cast<std::size_t>(line)].syllables) {
        if (s.micros > micros)
            break;
        bytes += s.text.size();
    }
    return bytes;
}

SongLyrics ParseSongLyrics(std::span<const std::uint8_t> smf, bool karaoke) {
    if (!MayHoldTexts(smf, 0))
        return {};
    std::vector<SmfText> texts;
    SmfSong song;
    try {
        song = ParseSmfTexts(smf, texts);
    } catch (const SmfError&) {
        return {};
    }
    std::vector<Piece> pieces;
    for (const SmfText& t : texts)
        if (t.type == 0x05)
            pieces.push_back(Mark(t, true));
    if (pieces.empty() && (karaoke || CallsItselfKaraoke(texts)))
        pieces = KaraokePieces(texts);
    if (pieces.empty())
        return {};

    std::string all;
    for (const Piece& p : pieces)
        all += p.text;
    const Encoding encoding = Detect(all);

    std::vector<LyricLine> lines;
    bool openLine = false;
    for (const Piece& p : pieces) {
        if (p.newLineBefore)
            openLine = false;
        if (!p.text.empty()) {
            if (!openLine)
                lines.emplace_back();
            openLine = true;
            const auto micros = static_cast<std::uint64_t>(song.secondsAtTick(p.tick) * 1e6 + 0.5);
            lines.back().syllables.push_back({micros, Decode(p.text, encoding)});
        }
        if (p.newLineAfter)
            openLine = false;
    }
    // A line of spaces alone shows nothing; its time belongs to the line before.
    std::erase_if(lines, [](const LyricLine& l) {
        const std::string text = l.text();
        return text.find_first_not_of(' ') == std::string::npos;
    });
    return SongLyrics(std::move(lines));
}

SongLyrics ReadSongLyrics(const std::string& cp932Path) {
    std::string bytes;
    try {
        RegularFile file = OpenSmfFile(PathFromCp932(cp932Path));
        // Looked through in pieces first: a big song without texts is never held whole here.
        std::array<std::uint8_t, 1 << 16> piece;
        std::uint8_t before = 0;
        bool texts = false;
        for (off_t at = 0; !texts;) {
            const ssize_t got = ::pread(file.fd(), piece.data(), piece.size(), at);
            if (got <= 0)
                break;
            const std::span<const std::uint8_t> read(piece.data(), static_cast<std::size_t>(got));
            texts = MayHoldTexts(read, before);
            before = read.back();
            at += got;
        }
        if (!texts)
            return {};
        bytes = ReadOpenedSmf(file);
    } catch (const SmfError&) {
        return {};
    }
    return ParseSongLyrics(SmfBytesOf(bytes), EndsWithKar(cp932Path));
}

} // namespace tobira
