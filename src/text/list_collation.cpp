// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/list_collation.h"

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

namespace {

// One line during the sort: the weights of its next twelve characters packed high to low, so
// that comparing two entries' chunks compares those characters; 0 stands for "past the end",
// below every weight, so a line sorts before its longer continuations.
constexpr int kChunks = 3;
constexpr int kChunkChars = 4;
struct SortEntry {
    std::uint64_t chunk[kChunks];
    std::uint32_t line;
    std::uint32_t pos; // byte offset of the first character not yet weighed
};

bool chunksLess(const SortEntry& x, const SortEntry& y) {
    for (int k = 0; k < kChunks; ++k)
        if (x.chunk[k] != y.chunk[k])
            return x.chunk[k] < y.chunk[k];
    return false;
}

bool chunksEqual(const SortEntry& x, const SortEntry& y) {
    for (int k = 0; k < kChunks; ++k)
        if (x.chunk[k] != y.chunk[k])
            return false;
    return true;
}

// Whether the entry's line ended within its chunks (no weight is 0).
bool endedIn(const SortEntry& entry) {
    return (entry.chunk[kChunks - 1] & 0xFFFF) == 0;
}

void loadChunks(SortEntry& entry, std::string_view text,
                const std::array<std::uint16_t, 256>& weights) {
    std::size_t pos = entry.pos;
    for (int k = 0; k < kChunks; ++k) {
        std::uint64_t chunk = 0;
        for (int c = 0; c < kChunkChars; ++c) {
            chunk <<= 16;
            if (pos < text.size())
                chunk |= nextWeight(text, pos, weights);
        }
        entry.chunk[k] = chunk;
    }
    entry.pos = static_cast<std::uint32_t>(pos);
}

// Lines are read in sorted order, far apart in memory: the view of a line a few entries ahead
// is asked for early, and the text of a nearer one, whose view has arrived by then. (Written
// out in the loops: GCC drops a call to a function that only prefetches.)
constexpr std::size_t kPrefetchNear = 8;
constexpr std::size_t kPrefetchFar = 16;

constexpr std::size_t kSmallRun = 16;

} // namespace

std::vector<std::uint32_t> ListSortOrder(const std::vector<std::string_view>& lines) {
    std::vector<std::uint32_t> order(lines.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<std::uint32_t>(i);
    const auto byComparison = [&](std::uint32_t x, std::uint32_t y) {
        return CompareListLines(lines[x], lines[y]) < 0;
    };
    // Entries keep a line's byte offset in 32 bits: a longer line is sorted the slow way.
    const bool fits = std::all_of(lines.begin(), lines.end(),
                                  [](std::string_view l) { return l.size() < UINT32_MAX; });
    if (!fits || lines.size() <= kSmallRun) {
        std::sort(order.begin(), order.end(), byComparison);
        return order;
    }

    // Each line is weighed once, twelve characters at a time and only as far as it shares its
    // weights with others: sort by the chunks, then carry on with the next chunks inside every
    // run of equal chunks. Comparisons are then plain integer ones on small entries.
    const auto& weights = singleWeights();
    std::vector<SortEntry> entries(lines.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].line = static_cast<std::uint32_t>(i);
        entries[i].pos = 0;
        loadChunks(entries[i], lines[i], weights);
    }
    struct Run {
        std::size_t begin, end;
    };
    std::vector<Run> runs{{0, entries.size()}};
    std::vector<Run> tied;
    std::vector<std::uint32_t> reload; // positions in `entries`, ascending
    while (!runs.empty()) {
        tied.clear();
        reload.clear();
        for (const Run& run : runs) {
            const auto first = entries.begin() + static_cast<std::ptrdiff_t>(run.begin);
            const auto last = entries.begin() + static_cast<std::ptrdiff_t>(run.end);
            // Lines that begin alike (or a song listed many times) share whole chunks.
            if (!std::all_of(first, last,
                             [&](const SortEntry& e) { return chunksEqual(e, *first); }))
                std::sort(first, last, chunksLess);
            for (std::size_t i = run.begin; i < run.end;) {
                std::size_t j = i + 1;
                while (j < run.end && chunksEqual(entries[j], entries[i]))
                    ++j;
                if (j - i > 1 && endedIn(entries[i])) {
                    // These lines all ended here, weighing alike: the bytes decide.
                    std::sort(entries.begin() + static_cast<std::ptrdiff_t>(i),
                              entries.begin() + static_cast<std::ptrdiff_t>(j),
                              [&](const SortEntry& x, const SortEntry& y) {
                                  return lines[x.line] < lines[y.line];
                              });
                } else if (j - i > 1) {
                    tied.push_back({i, j});
                    for (std::size_t k = i; k < j; ++k)
                        reload.push_back(static_cast<std::uint32_t>(k));
                }
                i = j;
            }
        }
        // All tied lines of this round are weighed on in one pass, so that the lines of the
        // next few runs can be asked for while this one is weighed.
        for (std::size_t k = 0; k < reload.size(); ++k) {
            if (k + kPrefetchFar < reload.size())
                __builtin_prefetch(&lines[entries[reload[k + kPrefetchFar]].line]);
            if (k + kPrefetchNear < reload.size()) {
                const SortEntry& ahead = entries[reload[k + kPrefetchNear]];
                __builtin_prefetch(lines[ahead.line].data() + ahead.pos);
            }
            SortEntry& entry = entries[reload[k]];
            loadChunks(entry, lines[entry.line], weights);
        }
        runs.swap(tied);
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        order[i] = entries[i].line;
    return order;
}

void SortListLines(std::vector<std::string>& lines) {
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    const std::vector<std::uint32_t> order = ListSortOrder(views);
    std::vector<std::string> sorted;
    sorted.reserve(lines.size());
    for (const std::uint32_t i : order)
        sorted.push_back(std::move(lines[i]));
    lines = std::move(sorted);
}

} // namespace tobira
