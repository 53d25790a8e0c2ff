#include "midi/list_collation.h"

#include "text/cp932_chars.h"
#include "text/full_width.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tobira {
namespace {

// Weight bands; within a band the offset keeps the natural order of the class.
constexpr std::uint16_t kControl = 0x0001; // + byte
constexpr std::uint16_t kMark = 0x0100;    // "!" before every other symbol
constexpr std::uint16_t kAsciiSymbol = 0x0101;
constexpr std::uint16_t kOtherSingle = 0x0200; // undefined single bytes, lone lead bytes
constexpr std::uint16_t kWideSymbol = 0x0300;  // lead 0x81
constexpr std::uint16_t kDigit = 0x0400;
constexpr std::uint16_t kLatin = 0x0500;
constexpr std::uint16_t kGreek = 0x0600;
constexpr std::uint16_t kCyrillic = 0x0700;
constexpr std::uint16_t kKana = 0x0800;
constexpr std::uint16_t kGeneric = 0x1000; // + lead rank * 256 + trail

std::uint16_t doubleByteWeight(unsigned char lead, unsigned char trail) {
    switch (lead) {
    case 0x81:
        return kWideSymbol + trail;
    case 0x82:
        if (trail >= 0x4F && trail <= 0x58)
            return kDigit + (trail - 0x4F);
        if (trail >= 0x60 && trail <= 0x79)
            return kLatin + (trail - 0x60);
        if (trail >= 0x81 && trail <= 0x9A)
            return kLatin + (trail - 0x81);
        if (trail >= 0x9F && trail <= 0xF1) // hiragana, in the katakana's order
            return kKana + (trail - 0x9F);
        break;
    case 0x83:
        if (trail >= 0x40 && trail <= 0x7E)
            return kKana + (trail - 0x40);
        if (trail >= 0x80 && trail <= 0x96) // 83 7F is unused
            return kKana + (trail - 0x41);
        if (trail >= 0x9F && trail <= 0xB6)
            return kGreek + (trail - 0x9F);
        if (trail >= 0xBF && trail <= 0xD6)
            return kGreek + (trail - 0xBF);
        break;
    case 0x84:
        if (trail >= 0x40 && trail <= 0x60)
            return kCyrillic + (trail - 0x40);
        if (trail >= 0x70 && trail <= 0x7E)
            return kCyrillic + (trail - 0x70);
        if (trail >= 0x80 && trail <= 0x91)
            return kCyrillic + (trail - 0x71);
        break;
    default:
        break;
    }
    int rank = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
    return static_cast<std::uint16_t>(kGeneric + rank * 256 + trail);
}

std::array<std::uint16_t, 256> makeSingleWeights() {
    std::array<std::uint16_t, 256> w{};
    for (int c = 0; c < 256; ++c) {
        if (c < 0x20)
            w[c] = static_cast<std::uint16_t>(kControl + c);
        else if (c == '!')
            w[c] = kMark;
        else if (c >= '0' && c <= '9')
            w[c] = static_cast<std::uint16_t>(kDigit + (c - '0'));
        else if (c >= 'A' && c <= 'Z')
            w[c] = static_cast<std::uint16_t>(kLatin + (c - 'A'));
        else if (c >= 'a' && c <= 'z')
            w[c] = static_cast<std::uint16_t>(kLatin + (c - 'a'));
        else if (c < 0x80)
            w[c] = static_cast<std::uint16_t>(kAsciiSymbol + c);
        else
            w[c] = static_cast<std::uint16_t>(kOtherSingle + c);
    }
    // Half-width katakana and punctuation weigh as their full-width forms.
    for (int c = 0xA1; c <= 0xDF; ++c) {
        std::string wide = ToFullWidth(std::string(1, static_cast<char>(c)));
        if (wide.size() == 2)
            w[c] = doubleByteWeight(static_cast<unsigned char>(wide[0]),
                                    static_cast<unsigned char>(wide[1]));
    }
    return w;
}

// Built on first use: ToFullWidth's own tables may not exist yet during static initialisation.
const std::array<std::uint16_t, 256>& singleWeights() {
    static const std::array<std::uint16_t, 256> weights = makeSingleWeights();
    return weights;
}

// Weight of the character at `pos`; advances `pos` past it.
inline std::uint16_t nextWeight(std::string_view text, std::size_t& pos,
                                const std::array<std::uint16_t, 256>& singles) {
    auto c = static_cast<unsigned char>(text[pos]);
    if (IsLeadByte(c) && pos + 1 < text.size()) {
        auto trail = static_cast<unsigned char>(text[pos + 1]);
        pos += 2;
        return doubleByteWeight(c, trail);
    }
    ++pos;
    return singles[c];
}

int compareBytes(std::string_view a, std::string_view b) {
    int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

} // namespace

int CompareListLines(std::string_view a, std::string_view b) {
    if (a == b)
        return 0; // a song listed twice
    const auto& weights = singleWeights();
    // Lines of one list often begin alike: skip their common bytes at once, back to the start
    // of the character in which they first differ, and weigh only from there.
    const std::size_t common = static_cast<std::size_t>(
        std::mismatch(a.begin(),
                      a.begin() + static_cast<std::ptrdiff_t>(std::min(a.size(), b.size())),
                      b.begin())
            .first -
        a.begin());
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < common;) {
        const std::size_t length =
            IsLeadByte(static_cast<unsigned char>(a[pos])) && pos + 1 < a.size() ? 2 : 1;
        if (pos + length > common)
            break;
        pos += length;
        start = pos;
    }
    std::size_t i = start;
    std::size_t j = start;
    while (i < a.size() && j < b.size()) {
        std::uint16_t wa = nextWeight(a, i, weights);
        std::uint16_t wb = nextWeight(b, j, weights);
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return compareBytes(a, b);
}

std::string ListCollationKey(std::string_view line) {
    const auto& weights = singleWeights();
    std::string key;
    key.reserve(line.size() * 2);
    for (std::size_t pos = 0; pos < line.size();) {
        std::uint16_t w = nextWeight(line, pos, weights);
        key.push_back(static_cast<char>(w >> 8));
        key.push_back(static_cast<char>(w & 0xFF));
    }
    return key;
}

void SortListLines(std::vector<std::string>& lines) {
    // The collation key of each line's first characters is computed once, into one buffer:
    // comparisons are then a memcmp, and only lines whose keys agree that far are weighed in
    // full. The entries are small and trivially movable, so the sort moves no strings.
    constexpr std::size_t kKeyChars = 24;
    struct Entry {
        std::uint64_t head[2]; // the first eight weights: most comparisons end there
        std::uint32_t offset, index;
        std::uint16_t length;
    };
    const auto& weights = singleWeights();
    std::string keys;
    keys.reserve(lines.size() * kKeyChars);
    std::vector<Entry> entries;
    entries.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t offset = keys.size();
        std::uint64_t head[2] = {0, 0};
        std::size_t pos = 0;
        for (std::size_t c = 0; c < kKeyChars && pos < line.size(); ++c) {
            const std::uint16_t w = nextWeight(line, pos, weights);
            if (c < 8)
                head[c / 4] |= static_cast<std::uint64_t>(w) << (48 - 16 * (c % 4));
            keys.push_back(static_cast<char>(w >> 8));
            keys.push_back(static_cast<char>(w & 0xFF));
        }
        entries.push_back({{head[0], head[1]},
                           static_cast<std::uint32_t>(offset),
                           static_cast<std::uint32_t>(i),
                           static_cast<std::uint16_t>(keys.size() - offset)});
    }
    std::sort(entries.begin(), entries.end(), [&](const Entry& x, const Entry& y) {
        if (x.head[0] != y.head[0])
            return x.head[0] < y.head[0];
        if (x.head[1] != y.head[1])
            return x.head[1] < y.head[1];
        const int r = std::string_view(keys.data() + x.offset, x.length)
                          .compare(std::string_view(keys.data() + y.offset, y.length));
        if (r != 0)
            return r < 0;
        return CompareListLines(lines[x.index], lines[y.index]) < 0;
    });
    std::vector<std::string> sorted;
    sorted.reserve(lines.size());
    for (const Entry& e : entries)
        sorted.push_back(std::move(lines[e.index]));
    lines = std::move(sorted);
}

} // namespace tobira
