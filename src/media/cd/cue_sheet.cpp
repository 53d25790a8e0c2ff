// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cue_sheet.h"

#include "media/cd/cd_toc.h"
#include "text/cp932_convert.h"
#include "text/crlf_lines.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace tobira {
namespace {

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Words of one line; a quoted word keeps its blanks and loses its quotes. Nullopt for an
// unterminated quote.
std::optional<std::vector<std::string>> splitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        if (line[i] == '"') {
            const std::size_t end = line.find('"', i + 1);
            if (end == std::string_view::npos)
                return std::nullopt;
            words.emplace_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        std::size_t end = i;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t')
            ++end;
        words.emplace_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

std::optional<int> number(std::string_view s, int max) {
    if (s.empty() || s.size() > 3)
        return std::nullopt;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v <= max ? std::optional<int>(v) : std::nullopt;
}

std::optional<std::int64_t> cueTime(std::string_view s) {
    const std::size_t a = s.find(':');
    const std::size_t b = a == std::string_view::npos ? a : s.find(':', a + 1);
    if (b == std::string_view::npos)
        return std::nullopt;
    const auto m = number(s.substr(0, a), 999);
    const auto sec = number(s.substr(a + 1, b - a - 1), 59);
    const auto f = number(s.substr(b + 1), 74);
    if (!m || !sec || !f)
        return std::nullopt;
    return (std::int64_t{*m} * 60 + *sec) * 75 + *f;
}

bool isKeyword(std::string_view w) {
    return !w.empty() && std::all_of(w.begin(), w.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

std::optional<CueFile::Type> fileType(const std::string& word) {
    const std::string t = upper(word);
    if (t == "BINARY")
        return CueFile::Type::Binary;
    if (t == "MOTOROLA")
        return CueFile::Type::Motorola;
    if (t == "WAVE" || t == "AIFF" || t == "FLAC" || t == "MP3")
        return CueFile::Type::Audio;
    return std::nullopt;
}

// Bytes per sector in the file for a TRACK line's mode; 0 when unknown.
int sectorBytes(const std::string& word) {
    static const std::array<std::pair<const char*, int>, 11> modes = {{
        {"AUDIO", 2352},
        {"MODEX/2XXX", 2352}, // EAC's data track of an Enhanced CD, of a mode it did not read
        {"MODE1/2352", 2352},
        {"MODE2/2352", 2352},
        {"CDI/2352", 2352},
        {"MODE1/2048", 2048},
        {"MODE2/2048", 2048},
        {"MODE2/2336", 2336},
        {"CDI/2336", 2336},
        {"MODE2/2324", 2324},
        {"CDG", 2448},
    }};
    const std::string t = upper(word);
    for (const auto& [name, bytes] : modes)
        if (t == name)
            return bytes;
    return 0;
}

class Parser {
  public:
    CueParseResult run(std::string_view text) {
        // Zero bytes that pad a sheet to a block, or the end-of-file byte of DOS editors.
        while (!text.empty() && (text.back() == '\0' || text.back() == '\x1A'))
            text.remove_suffix(1);
        // CR, LF and CR LF all end a line: sheets from old Macs use CR alone.
        int lineNo = 0;
        for (std::string_view line : SplitLines(text))
            if (!parseLine(line, ++lineNo))
                return {std::nullopt, problem_};
        return finish();
    }

  private:
    bool fail(int line, std::string what) {
        problem_ = {line, std::move(what)};
        return false;
    }

    bool parseLine(std::string_view line, int n) {
        const auto words = splitWords(line);
        if (!words)
            return fail(n, "引用符が閉じていません");
        if (words->empty())
            return true;
        const std::vector<std::string>& w = *words;
        const std::string command = upper(w[0]);
        if (command == "REM")
            return true;
        if (!isKeyword(w[0]))
            return fail(n, "読めない行です");
        if (command == "FILE")
            return fileLine(w, n);
        if (command == "TRACK")
            return trackLine(w, n);
        if (command == "INDEX")
            return indexLine(w, n);
        if (command == "PREGAP" || command == "POSTGAP")
            return gapLine(w, n, command == "PREGAP");
        if (command == "TITLE" || command == "PERFORMER") {
            if (w.size() < 2)
                return fail(n, command + " に文字列がありません");
            CdText& text = sheet_.tracks.empty() ? sheet_.disc : sheet_.tracks.back().text;
            (command == "TITLE" ? text.title : text.performer) = Utf8ToCp932(w[1]);
            return true;
        }
        if (command == "CATALOG" && w.size() >= 2)
            sheet_.catalog = w[1];
        if (command == "FLAGS" && !sheet_.tracks.empty())
            sheet_.tracks.back().preEmphasis = std::any_of(
                w.begin() + 1, w.end(), [](const std::string& f) { return upper(f) == "PRE"; });
        if (command == "CDTEXTFILE" && w.size() >= 2)
            sheet_.cdTextFile = w[1];
        // ISRC, SONGWRITER and the like say nothing about the sound.
        return true;
    }

    bool fileLine(const std::vector<std::string>& w, int n) {
        if (w.size() < 3)
            return fail(n, "FILE 行にファイル名と形式がありません");
        const auto type = fileType(w.back());
        if (!type)
            return fail(n, "ファイル形式【" + w.back() + "】には対応していません");
        sheet_.files.push_back(CueFile{w[1], *type, n});
        last_.reset();
        return true;
    }

    bool trackLine(const std::vector<std::string>& w, int n) {
        if (sheet_.files.empty())
            return fail(n, "FILE 行より前に TRACK 行があります");
        if (w.size() < 3)
            return fail(n, "TRACK 行にトラック番号と種類がありません");
        if (sheet_.tracks.size() >= CdToc::kMaxTracks)
            return fail(n, "トラックが 99 を超えています（ＣＤは 99 トラックまでです）");
        // One disc of a split set starts above 1, and a sheet may leave tracks out: the disc's
        // own numbers are kept, as long as they rise.
        const int previous = sheet_.tracks.empty() ? 0 : sheet_.tracks.back().number;
        const auto number = tobira::number(w[1], 999);
        if (number && *number > CdToc::kMaxTracks)
            return fail(n, "トラック番号は 99 までです");
        if (!number || *number <= previous)
            return fail(n, "トラック番号は " + std::to_string(previous + 1) + " 以上のはずです");
        const int bytes = sectorBytes(w[2]);
        if (bytes == 0)
            return fail(n, "トラックの種類【" + w[2] + "】には対応していません");
        if (!sheet_.tracks.empty() && !closeTrack())
            return fail(sheet_.tracks.back().line, "トラックに INDEX 01 がありません");
        CueSheetTrack track;
        track.number = *number;
        track.audio = upper(w[2]) == "AUDIO";
        track.sectorBytes = bytes;
        track.line = n;
        sheet_.tracks.push_back(track);
        hasIndex1_ = false;
        return true;
    }

    bool indexLine(const std::vector<std::string>& w, int n) {
        if (sheet_.tracks.empty())
            return fail(n, "TRACK 行より前に INDEX 行があります");
        const auto index = w.size() >= 3 ? number(w[1], 99) : std::nullopt;
        const auto time = w.size() >= 3 ? cueTime(w[2]) : std::nullopt;
        if (!index || !time)
            return fail(n, "INDEX 行の番号か時間が正しくありません");
        const CuePoint point{static_cast<int>(sheet_.files.size()) - 1, *time, n};
        if (last_ && last_->file == point.file && point.sector < last_->sector)
            return fail(n, "INDEX の時間が前の INDEX より前です");
        last_ = point;
        CueSheetTrack& track = sheet_.tracks.back();
        if (*index == 0 && !hasIndex1_ && !track.index0)
            track.index0 = point;
        else if (*index == 1 && !hasIndex1_) {
            track.index1 = point;
            hasIndex1_ = true;
        } else if (*index <= 1)
            return fail(n, "INDEX が重なっています");
        return true;
    }

    bool gapLine(const std::vector<std::string>& w, int n, bool pre) {
        if (sheet_.tracks.empty())
            return fail(n, "TRACK 行より前に GAP 行があります");
        const auto time = w.size() >= 2 ? cueTime(w[1]) : std::nullopt;
        if (!time)
            return fail(n, "時間が正しくありません");
        (pre ? sheet_.tracks.back().pregap : sheet_.tracks.back().postgap) = *time;
        return true;
    }

    // A track that only has an INDEX 00 (some rippers give each file's first track only that)
    // starts there, without a pregap. False for a track without any index.
    bool closeTrack() {
        CueSheetTrack& track = sheet_.tracks.back();
        if (!hasIndex1_ && track.index0) {
            track.index1 = *track.index0;
            track.index0.reset();
            hasIndex1_ = true;
        }
        return hasIndex1_;
    }

    CueParseResult finish() {
        if (sheet_.tracks.empty())
            return {std::nullopt, {0, "トラックがありません"}};
        if (!closeTrack())
            return {std::nullopt, {sheet_.tracks.back().line, "トラックに INDEX 01 がありません"}};
        if (std::none_of(sheet_.tracks.begin(), sheet_.tracks.end(),
                         [](const CueSheetTrack& t) { return t.audio; }))
            return {std::nullopt, {0, "音声トラックがありません"}};
        return {std::move(sheet_), {}};
    }

    CueSheet sheet_;
    CueProblem problem_;
    std::optional<CuePoint> last_;
    bool hasIndex1_ = false;
};

} // namespace

CueParseResult ParseCueSheet(std::string_view bytes) {
    return Parser().run(CueTextToUtf8(bytes));
}

} // namespace tobira
