// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cd_text_packs.h"

#include "text/cp932_convert.h"

#include <cdio/cdtext.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <map>

namespace tobira {
namespace {

constexpr std::size_t kPackBytes = 18;
constexpr std::size_t kTextBytes = 12;
constexpr int kBlocks = 8;
constexpr std::uint8_t kTitle = 0x80;
constexpr std::uint8_t kPerformer = 0x81;
constexpr std::uint8_t kSizeInfo = 0x8F;
constexpr std::uint8_t kShiftJis = 0x80;
constexpr std::uint8_t kKorean = 0x81; // and 0x82, Mandarin: double-byte sets we do not read

std::uint8_t byte(std::string_view s, std::size_t i) {
    return static_cast<std::uint8_t>(s[i]);
}

// CRC-16/CCITT over the pack's first 16 bytes, stored inverted.
bool checksumHolds(std::string_view pack) {
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < 16; ++i) {
        crc = static_cast<std::uint16_t>(crc ^ byte(pack, i) << 8);
        for (int b = 0; b < 8; ++b)
            crc = static_cast<std::uint16_t>(crc & 0x8000 ? crc << 1 ^ 0x1021 : crc << 1);
    }
    const auto stored = static_cast<std::uint16_t>(byte(pack, 16) << 8 | byte(pack, 17));
    // Some tools write CD-Text files without checksums.
    return stored == static_cast<std::uint16_t>(~crc) || stored == 0;
}

std::string latin1ToCp932(std::string_view latin1) {
    std::string utf8;
    for (char c : latin1) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | u >> 6);
            utf8 += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return Utf8ToCp932(utf8);
}

struct RawBlock {
    bool present = false;
    bool doubleByte = false;
    std::array<char, 36> sizeInfo{};
    std::map<std::uint8_t, std::pair<int, std::string>> text; // type: first track, bytes
};

// The strings of one pack type, one per track from `first` on; a lone tab repeats the one
// before.
void spread(const std::pair<int, std::string>& run, bool doubleByte, bool shiftJis, DiscText& disc,
            std::string CdText::*field) {
    const std::size_t width = doubleByte ? 2 : 1;
    std::string current, previous;
    int track = run.first;
    const std::string& bytes = run.second;
    for (std::size_t i = 0; i + width <= bytes.size() && track <= 99; i += width) {
        const bool end = bytes[i] == '\0' && (width == 1 || bytes[i + 1] == '\0');
        if (!end) {
            current.append(bytes, i, width);
            continue;
        }
        if (current == std::string(width, '\t'))
            current = previous;
        // Through UTF-8 and back, so that bytes Shift-JIS does not define become a mark.
        std::string value = shiftJis ? Utf8ToCp932(Cp932ToUtf8(current)) : latin1ToCp932(current);
        if (track == 0) {
            disc.disc.*field = value;
        } else {
            if (disc.tracks.size() < static_cast<std::size_t>(track))
                disc.tracks.resize(static_cast<std::size_t>(track));
            disc.tracks[static_cast<std::size_t>(track - 1)].*field = value;
        }
        previous = current;
        current.clear();
        ++track;
    }
}

int languageOf(std::string_view locale) {
    static const std::map<std::string, int, std::less<>> codes = {
        {"da", 0x07}, {"de", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fr", 0x0F}, {"it", 0x15},
        {"nl", 0x1D}, {"no", 0x1E}, {"nb", 0x1E}, {"pl", 0x20}, {"pt", 0x21}, {"fi", 0x27},
        {"sv", 0x28}, {"ru", 0x56}, {"ko", 0x65}, {"ja", 0x69}, {"zh", 0x75}};
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    const auto found = codes.find(language);
    return found == codes.end() ? -1 : found->second;
}

} // namespace

std::vector<CdTextBlock> ParseCdTextPacks(std::string_view bytes) {
    if (bytes.size() >= 4 && bytes.size() % kPackBytes == 4)
        bytes.remove_prefix(4);
    std::array<RawBlock, kBlocks> raw;
    for (std::size_t at = 0; at + kPackBytes <= bytes.size(); at += kPackBytes) {
        const std::string_view pack = bytes.substr(at, kPackBytes);
        const std::uint8_t type = byte(pack, 0);
        if (type < kTitle || type > kSizeInfo || !checksumHolds(pack))
            continue;
        RawBlock& block = raw[static_cast<std::size_t>(byte(pack, 3) >> 4 & 0x07)];
        block.present = true;
        const int track = byte(pack, 1) & 0x7F;
        const std::string_view text = pack.substr(4, kTextBytes);
        if (type == kSizeInfo) {
            if (track <= 2)
                std::copy(text.begin(), text.end(),
                          block.sizeInfo.begin() + static_cast<std::ptrdiff_t>(track * kTextBytes));
            continue;
        }
        block.doubleByte = block.doubleByte || (byte(pack, 3) & 0x80) != 0;
        auto [entry, fresh] = block.text.try_emplace(type, track, std::string());
        entry->second.second.append(text);
    }
    std::vector<CdTextBlock> blocks;
    for (std::size_t b = 0; b < raw.size(); ++b) {
        const RawBlock& block = raw[b];
        if (!block.present)
            continue;
        const auto charset = static_cast<std::uint8_t>(block.sizeInfo[0]);
        const bool shiftJis = charset == kShiftJis || (block.doubleByte && charset < kKorean);
        CdTextBlock out;
        out.language = static_cast<std::uint8_t>(block.sizeInfo[28 + b]);
        if (charset >= kKorean && charset != kShiftJis) {
            blocks.push_back(std::move(out));
            continue;
        }
        if (auto t = block.text.find(kTitle); t != block.text.end())
            spread(t->second, block.doubleByte, shiftJis, out.text, &CdText::title);
        if (auto p = block.text.find(kPerformer); p != block.text.end())
            spread(p->second, block.doubleByte, shiftJis, out.text, &CdText::performer);
        blocks.push_back(std::move(out));
    }
    return blocks;
}

std::size_t PreferredCdTextBlock(const std::vector<CdTextBlock>& blocks, std::string_view locale) {
    const int wanted = languageOf(locale);
    for (std::size_t i = 0; i < blocks.size(); ++i)
        if (blocks[i].language == wanted)
            return i;
    return 0;
}

std::string MessagesLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(name); value && *value)
            return value;
    return {};
}

std::string CdTextLanguageName(int language) {
    const char* name = cdtext_lang2str(static_cast<cdtext_lang_t>(language));
    return name && language > 0 ? name : std::string();
}

} // namespace tobira
