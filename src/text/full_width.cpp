// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/full_width.h"

#include "text/case_fold.h"
#include "text/cp932_chars.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tobira {
namespace {

enum class Kind : std::uint8_t {
    Kana,      // a following sound mark is written as a full-width mark after it
    Voiceable, // a following mark folds in: code + 1 for ﾞ, + 2 for ﾟ (ｶﾞ -> ガ, ﾊﾟ -> パ)
};

constexpr unsigned char kVoicedMark = 0xDE;     // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF; // ﾟ

// JIS X 0208 row/column to the Shift-JIS byte pair.
constexpr void JisToSjis(unsigned row, unsigned col, std::uint8_t* out) {
    out[0] = static_cast<std::uint8_t>(((row + 1) >> 1) + (row <= 0x5E ? 0x70 : 0xB0));
    if (row & 1)
        out[1] = static_cast<std::uint8_t>(col + (col >= 0x60 ? 0x20 : 0x1F));
    else
        out[1] = static_cast<std::uint8_t>(col + 0x7E);
}

struct KanaEntry {
    unsigned char halfWidth;
    unsigned char jisColumn; // row 0x25 (katakana)
    Kind kind;
};

// JIS X 0201 katakana -> JIS X 0208 katakana column. ｰ, ﾞ and ﾟ are not kana here: ｰ is in
// the symbol table, and a sound mark that no kana takes stays as it is.
constexpr KanaEntry kKana[] = {
    {0xA6, 0x72, Kind::Kana},      {0xA7, 0x21, Kind::Kana},      {0xA8, 0x23, Kind::Kana},
    {0xA9, 0x25, Kind::Kana},      {0xAA, 0x27, Kind::Kana},      {0xAB, 0x29, Kind::Kana},
    {0xAC, 0x63, Kind::Kana},      {0xAD, 0x65, Kind::Kana},      {0xAE, 0x67, Kind::Kana},
    {0xAF, 0x43, Kind::Kana},      {0xB1, 0x22, Kind::Kana},      {0xB2, 0x24, Kind::Kana},
    {0xB3, 0x26, Kind::Kana},      {0xB4, 0x28, Kind::Kana},      {0xB5, 0x2A, Kind::Kana},
    {0xB6, 0x2B, Kind::Voiceable}, {0xB7, 0x2D, Kind::Voiceable}, {0xB8, 0x2F, Kind::Voiceable},
    {0xB9, 0x31, Kind::Voiceable}, {0xBA, 0x33, Kind::Voiceable}, {0xBB, 0x35, Kind::Voiceable},
    {0xBC, 0x37, Kind::Voiceable}, {0xBD, 0x39, Kind::Voiceable}, {0xBE, 0x3B, Kind::Voiceable},
    {0xBF, 0x3D, Kind::Voiceable}, {0xC0, 0x3F, Kind::Voiceable}, {0xC1, 0x41, Kind::Voiceable},
    {0xC2, 0x44, Kind::Voiceable}, {0xC3, 0x46, Kind::Voiceable}, {0xC4, 0x48, Kind::Voiceable},
    {0xC5, 0x4A, Kind::Kana},      {0xC6, 0x4B, Kind::Kana},      {0xC7, 0x4C, Kind::Kana},
    {0xC8, 0x4D, Kind::Kana},      {0xC9, 0x4E, Kind::Kana},      {0xCA, 0x4F, Kind::Voiceable},
    {0xCB, 0x52, Kind::Voiceable}, {0xCC, 0x55, Kind::Voiceable}, {0xCD, 0x58, Kind::Voiceable},
    {0xCE, 0x5B, Kind::Voiceable}, {0xCF, 0x5E, Kind::Kana},      {0xD0, 0x5F, Kind::Kana},
    {0xD1, 0x60, Kind::Kana},      {0xD2, 0x61, Kind::Kana},      {0xD3, 0x62, Kind::Kana},
    {0xD4, 0x64, Kind::Kana},      {0xD5, 0x66, Kind::Kana},      {0xD6, 0x68, Kind::Kana},
    {0xD7, 0x69, Kind::Kana},      {0xD8, 0x6A, Kind::Kana},      {0xD9, 0x6B, Kind::Kana},
    {0xDA, 0x6C, Kind::Kana},      {0xDB, 0x6D, Kind::Kana},      {0xDC, 0x6F, Kind::Kana},
    {0xDD, 0x73, Kind::Kana},
};

struct SymbolEntry {
    unsigned char halfWidth;
    std::uint8_t full[2];
};

// Note the brackets (corner brackets), backslash (yen sign) and tilde (overline): the
// JIS X 0201 reading of those bytes.
constexpr SymbolEntry kSymbols[] = {
    {0x20, {0x81, 0x40}}, {0x21, {0x81, 0x49}}, {0x22, {0x81, 0x68}}, {0x23, {0x81, 0x94}},
    {0x24, {0x81, 0x90}}, {0x25, {0x81, 0x93}}, {0x26, {0x81, 0x95}}, {0x27, {0x81, 0x66}},
    {0x28, {0x81, 0x69}}, {0x29, {0x81, 0x6A}}, {0x3D, {0x81, 0x81}}, {0x60, {0x81, 0x65}},
    {0x7C, {0x81, 0x62}}, {0x2D, {0x81, 0x7C}}, {0x5E, {0x81, 0x4F}}, {0x5C, {0x81, 0x8F}},
    {0x7E, {0x81, 0x50}}, {0x7B, {0x81, 0x6F}}, {0x40, {0x81, 0x97}}, {0x5B, {0x81, 0x75}},
    {0x2B, {0x81, 0x7B}}, {0x2A, {0x81, 0x96}}, {0x7D, {0x81, 0x70}}, {0x3B, {0x81, 0x47}},
    {0x3A, {0x81, 0x46}}, {0x5D, {0x81, 0x76}}, {0x3C, {0x81, 0x83}}, {0x3E, {0x81, 0x84}},
    {0x3F, {0x81, 0x48}}, {0x5F, {0x81, 0x51}}, {0xA4, {0x81, 0x41}}, {0xA1, {0x81, 0x42}},
    {0xA5, {0x81, 0x45}}, {0x2C, {0x81, 0x43}}, {0x2E, {0x81, 0x44}}, {0x2F, {0x81, 0x5E}},
    {0xB0, {0x81, 0x5B}},
};

// What a single-byte character becomes, by the byte after it: variant [0] anything else,
// [1] ﾞ, [2] ﾟ. Only a kana differs between the three: it takes the mark into itself or
// writes it full-width after itself, and consumes it either way.
struct Entry {
    std::uint8_t out[3][4] = {};
    std::uint8_t length[3] = {1, 1, 1};   // bytes written
    std::uint8_t consumed[3] = {1, 1, 1}; // bytes read
    std::uint8_t trailCase = 0;           // lead bytes: row of kTrailCase for the trail
};

// Trail bytes as written: row 0 unchanged, rows 1-3 upper-cased after the leads 82, 83, 84.
constexpr std::array<std::array<std::uint8_t, 256>, 4> BuildTrailCase() {
    std::array<std::array<std::uint8_t, 256>, 4> rows{};
    for (unsigned t = 0; t < 256; ++t) {
        rows[0][t] = static_cast<std::uint8_t>(t);
        for (unsigned lead = 0x82; lead <= 0x84; ++lead)
            rows[lead - 0x81][t] = case_fold::UpperTrail(static_cast<unsigned char>(lead),
                                                         static_cast<unsigned char>(t));
    }
    return rows;
}

constexpr auto kTrailCase = BuildTrailCase();

// One entry per byte value. With `upper`, small letters get the capital full-width form, so the
// loose-search normalisation is one pass.
constexpr std::array<Entry, 256> BuildTable(bool upper) {
    std::array<Entry, 256> table{};
    auto setAll = [&table](unsigned c, const std::uint8_t full[2]) {
        for (unsigned v = 0; v < 3; ++v) {
            table[c].out[v][0] = full[0];
            table[c].out[v][1] = full[1];
            table[c].length[v] = 2;
        }
    };
    auto setJis = [&setAll](unsigned c, unsigned row, unsigned col) {
        std::uint8_t full[2] = {};
        JisToSjis(row, col, full);
        setAll(c, full);
    };
    for (unsigned c = 0; c < 256; ++c) {
        for (auto& out : table[c].out)
            out[0] = static_cast<std::uint8_t>(c);
        if (upper && case_fold::HasSmallLetters(static_cast<unsigned char>(c)))
            table[c].trailCase = static_cast<std::uint8_t>(c - 0x81);
    }
    for (unsigned c = '0'; c <= '9'; ++c)
        setJis(c, 0x23, c);
    for (unsigned c = 'A'; c <= 'Z'; ++c) {
        setJis(c, 0x23, c);
        setJis(c + 0x20, 0x23, upper ? c : c + 0x20);
    }
    for (const auto& s : kSymbols)
        setAll(s.halfWidth, s.full);
    for (const auto& k : kKana) {
        Entry& e = table[k.halfWidth];
        setJis(k.halfWidth, 0x25, k.jisColumn);
        for (unsigned v = 1; v < 3; ++v) {
            e.consumed[v] = 2;
            if (k.kind == Kind::Voiceable) {
                // Stored titles were normalised this way, so ｶﾟ (no such kana) gives キ.
                JisToSjis(0x25, k.jisColumn + v, e.out[v]);
            } else {
                // No combined form (ｳﾞ, ﾅﾟ): the kana, then the full-width mark ゛ or ゜.
                JisToSjis(0x21, v == 1 ? 0x2B : 0x2C, e.out[v] + 2);
                e.length[v] = 4;
            }
        }
    }
    return table;
}

constexpr std::array<Entry, 256> kTable = BuildTable(false);
constexpr std::array<Entry, 256> kUpperTable = BuildTable(true);

// Which variant of an entry a following byte selects.
constexpr std::array<std::uint8_t, 256> BuildVariant() {
    std::array<std::uint8_t, 256> variant{};
    variant[kVoicedMark] = 1;
    variant[kSemiVoicedMark] = 2;
    return variant;
}

constexpr auto kVariant = BuildVariant();

// Room `Convert` needs for n input bytes: two per byte, and it stores four bytes at a time.
constexpr std::size_t OutputRoom(std::size_t n) {
    return 2 * n + 4;
}

// Writes the converted text to `dst` (OutputRoom(n) bytes); returns the length written.
//
// The steps from character to character are branches on the byte's kind, not lengths looked up
// in the table: a predicted branch lets the next character start before this one is done, where
// a looked-up length would make every step wait for the previous load.
template <bool Upper>
std::size_t Convert(const unsigned char* src, std::size_t n, unsigned char* dst) {
    const auto& table = Upper ? kUpperTable : kTable;
    unsigned char* out = dst;
    std::size_t i = 0;
    // Every character but the last has a byte after it, so the loop needs no end test inside.
    while (i + 1 < n) {
        const unsigned char c = src[i];
        if (IsLeadByte(c)) {
            const unsigned char trail = src[i + 1];
            out[0] = c;
            out[1] = Upper ? kTrailCase[table[c].trailCase][trail] : trail;
            out += 2;
            i += 2;
            continue;
        }
        const Entry& e = table[c];
        const unsigned v = kVariant[src[i + 1]];
        std::memcpy(out, e.out[v], 4);
        out += e.length[v];
        // A branch, not a looked-up step: the next character can start before this load lands.
        if (v == 0)
            ++i;
        else
            i += e.consumed[v];
    }
    if (i < n) {
        // The last byte: a lone lead byte is a character of its own; no sound mark follows.
        const unsigned char c = src[i];
        if (IsLeadByte(c)) {
            *out++ = c;
        } else {
            std::memcpy(out, table[c].out[0], 4);
            out += table[c].length[0];
        }
    }
    return static_cast<std::size_t>(out - dst);
}

template <bool Upper> std::string ConvertText(std::string_view text) {
    const auto* src = reinterpret_cast<const unsigned char*>(text.data());
    // Titles are short: convert on the stack and allocate the result once, at its size.
    constexpr std::size_t kShort = 256;
    if (text.size() <= kShort) {
        unsigned char buffer[OutputRoom(kShort)];
        const std::size_t length = Convert<Upper>(src, text.size(), buffer);
        return std::string(reinterpret_cast<const char*>(buffer), length);
    }
    std::string out(OutputRoom(text.size()), '\0');
    out.resize(Convert<Upper>(src, text.size(), reinterpret_cast<unsigned char*>(out.data())));
    return out;
}

} // namespace

std::string ToFullWidth(std::string_view text) {
    return ConvertText<false>(text);
}

std::string NormaliseForLooseSearch(std::string_view text) {
    return ConvertText<true>(text);
}

void NormaliseForLooseSearch(std::string_view text, std::string& out) {
    out.resize(OutputRoom(text.size()));
    out.resize(Convert<true>(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                             reinterpret_cast<unsigned char*>(out.data())));
}

} // namespace tobira
