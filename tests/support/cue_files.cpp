// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/cue_files.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tobira::testing {

void WriteCueFile(const std::filesystem::path& file, CueFileKind kind, const std::vector<char>& bin,
                  std::int64_t from, std::int64_t to, int rate) {
    constexpr std::int64_t kSector = 2352;
    std::vector<char> part(bin.begin() + from * kSector, bin.begin() + to * kSector);
    if (kind == CueFileKind::Bin || kind == CueFileKind::Motorola) {
        if (kind == CueFileKind::Motorola)
            for (std::size_t i = 0; i + 1 < part.size(); i += 2)
                std::swap(part[i], part[i + 1]);
        WriteFileBytes(file, std::string(part.begin(), part.end()));
        return;
    }
    std::vector<short> samples(part.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<short>(static_cast<unsigned char>(part[2 * i]) |
                                        static_cast<unsigned char>(part[2 * i + 1]) << 8);
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = (kind == CueFileKind::Flac ? SF_FORMAT_FLAC : SF_FORMAT_WAV) | SF_FORMAT_PCM_16;
    SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
    const auto frames = static_cast<sf_count_t>(samples.size() / 2);
    const bool written = sf_writef_short(out, samples.data(), frames) == frames;
    if (sf_close(out) != 0 || !written)
        throw std::runtime_error("cannot write " + file.string());
}

namespace {

void seal(std::string& pack) {
    std::uint16_t crc = 0;
    for (char c : pack) {
        crc = static_cast<std::uint16_t>(crc ^ static_cast<unsigned char>(c) << 8);
        for (int b = 0; b < 8; ++b)
            crc = static_cast<std::uint16_t>(crc & 0x8000 ? crc << 1 ^ 0x1021 : crc << 1);
    }
    crc = static_cast<std::uint16_t>(~crc);
    pack += static_cast<char>(crc >> 8);
    pack += static_cast<char>(crc & 0xFF);
}

} // namespace

std::string CdTextFile(const std::vector<CdTextLanguage>& blocks) {
    std::vector<std::vector<std::string>> packs(blocks.size());
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const CdTextLanguage& block = blocks[b];
        const std::size_t width = block.shiftJis ? 2 : 1;
        const char flags = static_cast<char>((block.shiftJis ? 0x80 : 0) | b << 4);
        std::array<int, 16> counts{};
        for (int type : {0x80, 0x81}) {
            const auto& strings = type == 0x80 ? block.titles : block.performers;
            std::string stream;
            std::vector<std::size_t> starts; // of each string in the stream
            for (const std::string& s : strings) {
                starts.push_back(stream.size());
                stream += s + std::string(width, '\0');
            }
            for (std::size_t at = 0; at < stream.size(); at += 12) {
                std::size_t k = 0;
                while (k + 1 < starts.size() && starts[k + 1] <= at)
                    ++k;
                const std::size_t position = std::min<std::size_t>((at - starts[k]) / width, 15);
                std::string pack = {static_cast<char>(type), static_cast<char>(k),
                                    static_cast<char>(packs[b].size()),
                                    static_cast<char>(flags | static_cast<char>(position))};
                pack += stream.substr(at, 12);
                pack.resize(16, '\0');
                seal(pack);
                packs[b].push_back(pack);
                ++counts[static_cast<std::size_t>(type - 0x80)];
            }
        }
        counts[15] = 3;
        std::string info = {static_cast<char>(block.shiftJis ? 0x80 : 0x00), 1,
                            static_cast<char>(block.titles.size() - 1), 0};
        for (int c : counts)
            info += static_cast<char>(c);
        info.resize(36, '\0');
        for (int i = 0; i < 3; ++i) {
            std::string pack = {static_cast<char>(0x8F), static_cast<char>(i),
                                static_cast<char>(packs[b].size() + static_cast<std::size_t>(i)),
                                flags};
            pack += info.substr(static_cast<std::size_t>(i) * 12, 12);
            packs[b].push_back(pack); // sealed once every block's size is known
        }
    }
    std::string out;
    for (std::size_t b = 0; b < blocks.size(); ++b)
        for (std::string& pack : packs[b]) {
            if (static_cast<unsigned char>(pack[0]) == 0x8F) {
                for (std::size_t o = 0; o < blocks.size(); ++o) {
                    const std::size_t seqAt = 20 + o, languageAt = 28 + o;
                    for (const auto& [at, value] :
                         {std::pair{seqAt, static_cast<int>(packs[o].size()) - 1},
                          std::pair{languageAt, blocks[o].language}})
                        if (at / 12 == static_cast<std::size_t>(pack[1]))
                            pack[4 + at % 12] = static_cast<char>(value);
                }
                seal(pack);
            }
            out += pack;
        }
    return out;
}

std::vector<char> ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFileBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush())
        throw std::runtime_error("cannot write " + file.string());
}

} // namespace tobira::testing
