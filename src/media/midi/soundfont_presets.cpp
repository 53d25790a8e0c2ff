// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/soundfont_presets.h"

#include "files/regular_file.h"

#include <algorithm>
#include <cstring>

namespace tobira {
namespace {

constexpr std::size_t kPresetHeaderBytes = 38; // name[20], preset, bank, bag, three dwords
// The preset data of even the largest SoundFonts is a few megabytes.
constexpr std::uint32_t kMaxPdtaBytes = 64u << 20;

std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

int Le16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}

bool Is(const std::uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

// The "phdr" sub-chunk of a pdta list's body; its last record only marks the end.
std::vector<SoundFontPreset> ReadPdta(std::span<const std::uint8_t> pdta) {
    std::vector<SoundFontPreset> presets;
    std::size_t pos = 0;
    while (pos + 8 <= pdta.size()) {
        const std::uint32_t size = Le32(&pdta[pos + 4]);
        const std::size_t body = pos + 8;
        if (pdta.size() - body < size)
            break;
        if (Is(&pdta[pos], "phdr")) {
            const std::size_t records = size / kPresetHeaderBytes;
            for (std::size_t i = 0; i + 1 < records; ++i) {
                const std::uint8_t* r = &pdta[body + i * kPresetHeaderBytes];
                const char* name = reinterpret_cast<const char*>(r);
                presets.push_back(
                    {{Le16(r + 22), Le16(r + 20)}, std::string(name, strnlen(name, 20))});
            }
            break;
        }
        pos = body + size + (size & 1);
    }
    return presets;
}

} // namespace

std::vector<SoundFontPreset> ParseSoundFontPresets(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 12 || !Is(bytes.data(), "RIFF") || !Is(&bytes[8], "sfbk"))
        return {};
    std::size_t pos = 12;
    while (pos + 12 <= bytes.size()) {
        const std::uint32_t size = Le32(&bytes[pos + 4]);
        const std::size_t body = pos + 8;
        if (bytes.size() - body < size)
            break;
        if (Is(&bytes[pos], "LIST") && size >= 4 && Is(&bytes[body], "pdta"))
            return ReadPdta(bytes.subspan(body + 4, size - 4));
        pos = body + size + (size & 1);
    }
    return {};
}

std::vector<SoundFontPreset> ReadSoundFontPresets(const std::filesystem::path& path) {
    try {
        // Opened as every reader opens: a FIFO or device named like a SoundFont never blocks.
        RegularFile file = RegularFile::open(path, read_limit::SoundFont);
        const std::string head = file.readHead(12);
        const auto* h = reinterpret_cast<const std::uint8_t*>(head.data());
        if (head.size() < 12 || !Is(h, "RIFF") || !Is(h + 8, "sfbk"))
            return {};
        // Top-level chunks are stepped over until the preset data comes.
        for (std::uint64_t pos = 12;;) {
            const std::string chunk = file.readAt(pos, 12);
            if (chunk.size() < 12)
                return {};
            const auto* c = reinterpret_cast<const std::uint8_t*>(chunk.data());
            const std::uint32_t size = Le32(c + 4);
            if (size < 4)
                return {};
            if (Is(c, "LIST") && Is(c + 8, "pdta")) {
                if (size > kMaxPdtaBytes)
                    return {};
                const std::string pdta = file.readAt(pos + 12, size - 4);
                if (pdta.size() != size - 4)
                    return {};
                return ReadPdta({reinterpret_cast<const std::uint8_t*>(pdta.data()), pdta.size()});
            }
            pos += 8 + std::uint64_t{size} + (size & 1);
        }
    } catch (const FileError&) {
        return {};
    }
}

} // namespace tobira
