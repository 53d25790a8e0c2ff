#include "text/full_width.h"

#include "text/cp932_chars.h"

#include <array>
#include <cstdint>

namespace tobira {
namespace {

enum class Kind : std::uint8_t {
    Keep,       // copied as it is
    Lead,       // starts a double-byte character
    Replace,    // becomes `full`
    Kana,       // becomes `full`; a following sound mark is written as a full-width mark
    Voiceable,  // as Kana, but ﾞ folds into the voiced kana (ｶﾞ -> ガ)
    Hvoiceable, // as Voiceable, and ﾟ folds into the half-voiced kana (ﾊﾟ -> パ)
};

struct Entry {
    Kind kind = Kind::Keep;
    std::uint8_t full[2] = {0, 0};
    std::uint8_t jisColumn = 0; // kana only: its column in JIS row 0x25
};

constexpr unsigned char kVoicedMark = 0xDE;     // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF; // ﾟ

// JIS X 0208 row/column to the Shift-JIS byte pair.
constexpr void JisToSjis(unsigned row, unsigned col, std::uint8_t out[2]) {
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
    {0xA6, 0x72, Kind::Kana},       {0xA7, 0x21, Kind::Kana},       {0xA8, 0x23, Kind::Kana},
    {0xA9, 0x25, Kind::Kana},       {0xAA, 0x27, Kind::Kana},       {0xAB, 0x29, Kind::Kana},
    {0xAC, 0x63, Kind::Kana},       {0xAD, 0x65, Kind::Kana},       {0xAE, 0x67, Kind::Kana},
    {0xAF, 0x43, Kind::Kana},       {0xB1, 0x22, Kind::Kana},       {0xB2, 0x24, Kind::Kana},
    {0xB3, 0x26, Kind::Kana},       {0xB4, 0x28, Kind::Kana},       {0xB5, 0x2A, Kind::Kana},
    {0xB6, 0x2B, Kind::Voiceable},  {0xB7, 0x2D, Kind::Voiceable},  {0xB8, 0x2F, Kind::Voiceable},
    {0xB9, 0x31, Kind::Voiceable},  {0xBA, 0x33, Kind::Voiceable},  {0xBB, 0x35, Kind::Voiceable},
    {0xBC, 0x37, Kind::Voiceable},  {0xBD, 0x39, Kind::Voiceable},  {0xBE, 0x3B, Kind::Voiceable},
    {0xBF, 0x3D, Kind::Voiceable},  {0xC0, 0x3F, Kind::Voiceable},  {0xC1, 0x41, Kind::Voiceable},
    {0xC2, 0x44, Kind::Voiceable},  {0xC3, 0x46, Kind::Voiceable},  {0xC4, 0x48, Kind::Voiceable},
    {0xC5, 0x4A, Kind::Kana},       {0xC6, 0x4B, Kind::Kana},       {0xC7, 0x4C, Kind::Kana},
    {0xC8, 0x4D, Kind::Kana},       {0xC9, 0x4E, Kind::Kana},       {0xCA, 0x4F, Kind::Hvoiceable},
    {0xCB, 0x52, Kind::Hvoiceable}, {0xCC, 0x55, Kind::Hvoiceable}, {0xCD, 0x58, Kind::Hvoiceable},
    {0xCE, 0x5B, Kind::Hvoiceable}, {0xCF, 0x5E, Kind::Kana},       {0xD0, 0x5F, Kind::Kana},
    {0xD1, 0x60, Kind::Kana},       {0xD2, 0x61, Kind::Kana},       {0xD3, 0x62, Kind::Kana},
    {0xD4, 0x64, Kind::Kana},       {0xD5, 0x66, Kind::Kana},       {0xD6, 0x68, Kind::Kana},
    {0xD7, 0x69, Kind::Kana},       {0xD8, 0x6A, Kind::Kana},       {0xD9, 0x6B, Kind::Kana},
    {0xDA, 0x6C, Kind::Kana},       {0xDB, 0x6D, Kind::Kana},       {0xDC, 0x6F, Kind::Kana},
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

constexpr std::array<Entry, 256> BuildTable() {
    std::array<Entry, 256> table{};
    for (unsigned c = 0; c < 256; ++c) {
        if (IsLeadByte(static_cast<unsigned char>(c)))
            table[c].kind = Kind::Lead;
    }
    for (unsigned c = '0'; c <= '9'; ++c) {
        table[c].kind = Kind::Replace;
        JisToSjis(0x23, c, table[c].full);
    }
    for (unsigned c = 'A'; c <= 'Z'; ++c) {
        table[c].kind = Kind::Replace;
        JisToSjis(0x23, c, table[c].full);
        table[c + 0x20].kind = Kind::Replace;
        JisToSjis(0x23, c + 0x20, table[c + 0x20].full);
    }
    for (const auto& s : kSymbols) {
        table[s.halfWidth].kind = Kind::Replace;
        table[s.halfWidth].full[0] = s.full[0];
        table[s.halfWidth].full[1] = s.full[1];
    }
    for (const auto& k : kKana) {
        table[k.halfWidth].kind = k.kind;
        table[k.halfWidth].jisColumn = k.jisColumn;
        JisToSjis(0x25, k.jisColumn, table[k.halfWidth].full);
    }
    return table;
}

constexpr std::array<Entry, 256> kTable = BuildTable();

} // namespace

std::string ToFullWidth(std::string_view text) {
    // At most two bytes out per byte in: size once, write through a pointer, trim at the end.
    std::string out(text.size() * 2, '\0');
    auto* dst = reinterpret_cast<unsigned char*>(out.data());
    const auto* src = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = src[i];
        const Entry& e = kTable[c];
        switch (e.kind) {
        case Kind::Keep:
            *dst++ = c;
            ++i;
            break;
        case Kind::Lead:
            *dst++ = c;
            if (++i < n)
                *dst++ = src[i++];
            break;
        case Kind::Replace:
            *dst++ = e.full[0];
            *dst++ = e.full[1];
            ++i;
            break;
        case Kind::Kana:
        case Kind::Voiceable:
        case Kind::Hvoiceable: {
            ++i;
            const unsigned char mark = i < n ? src[i] : 0;
            if (mark != kVoicedMark && mark != kSemiVoicedMark) {
                *dst++ = e.full[0];
                *dst++ = e.full[1];
                break;
            }
            ++i;
            const bool folds =
                mark == kVoicedMark ? e.kind != Kind::Kana : e.kind == Kind::Hvoiceable;
            if (folds) {
                JisToSjis(0x25, e.jisColumn + (mark == kVoicedMark ? 1 : 2), dst);
                dst += 2;
            } else {
                // No combined form (ｳﾞ, ｶﾟ): the kana, then the full-width mark ゛ or ゜.
                *dst++ = e.full[0];
                *dst++ = e.full[1];
                JisToSjis(0x21, mark == kVoicedMark ? 0x2B : 0x2C, dst);
                dst += 2;
            }
            break;
        }
        }
    }
    out.resize(static_cast<std::size_t>(dst - reinterpret_cast<unsigned char*>(out.data())));
    return out;
}

} // namespace tobira
