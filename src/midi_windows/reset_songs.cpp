// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/reset_songs.h"

#include "files/whole_file.h"

#include <optional>
#include <system_error>

namespace tobira {
namespace {

constexpr int kDivision = 480;
// 120 ticks at the default 120 BPM: 125 ms for the module to finish its reset.
constexpr std::uint8_t kRestTicks = 120;

// Roland's checksum: address and data bytes plus the checksum are 0 modulo 128.
std::uint8_t rolandChecksum(std::initializer_list<std::uint8_t> bytes) {
    unsigned sum = 0;
    for (auto b : bytes)
        sum += b;
    return static_cast<std::uint8_t>((128 - sum % 128) % 128);
}

// A Roland DT1 (data set 1) to a GS module, device 17 (ID 10h).
std::vector<std::uint8_t> rolandDataSet(std::uint8_t a1, std::uint8_t a2, std::uint8_t a3,
                                        std::uint8_t data) {
    return {0xF0, 0x41, 0x10, 0x42, 0x12, a1, a2, a3, data, rolandChecksum({a1, a2, a3, data}),
            0xF7};
}

void append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// Writes the song only where no file of that name exists: a user's own reset song stays.
bool createIfMissing(const std::filesystem::path& target, const std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(target, ec)))
        return false;
    WriteFileAtomically(
        target, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

} // namespace

std::string_view ResetSongFileName(MidiResetType type) {
    switch (type) {
    case MidiResetType::Gm:
        return "GAKUFU_GM.MID";
    case MidiResetType::Gs:
        return "GAKUFU_GS.MID";
    case MidiResetType::Sc88Mode1:
        return "GAKUFU_88.MID";
    case MidiResetType::Non:
        break;
    }
    return {};
}

std::vector<std::uint8_t> ResetSysEx(MidiResetType type) {
    switch (type) {
    case MidiResetType::Gm: // Universal Non-Real Time, all devices: General MIDI System On
        return {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    case MidiResetType::Gs: // 40 00 7F := 00, GS Reset
        return rolandDataSet(0x40, 0x00, 0x7F, 0x00);
    case MidiResetType::Sc88Mode1: // 00 00 7F := 00, system mode set: single module
        return rolandDataSet(0x00, 0x00, 0x7F, 0x00);
    case MidiResetType::Non:
        break;
    }
    return {};
}

std::vector<std::uint8_t> ResetSongBytes(MidiResetType type) {
    std::vector<std::uint8_t> sysex = ResetSysEx(type);
    if (sysex.empty())
        return {};
    // One track: the SysEx at tick 0 (stored as F0, length, the rest including F7), then the
    // end of track after the rest.
    std::vector<std::uint8_t> track{0x00, 0xF0, static_cast<std::uint8_t>(sysex.size() - 1)};
    track.insert(track.end(), sysex.begin() + 1, sysex.end());
    track.insert(track.end(), {kRestTicks, 0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd'};
    append32(out, 6);
    out.insert(out.end(), {0x00, 0x00, 0x00, 0x01, kDivision >> 8, kDivision & 0xFF});
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    append32(out, static_cast<std::uint32_t>(track.size()));
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

std::vector<std::filesystem::path> PlaceMissingResetSongs(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> placed;
    std::optional<std::system_error> firstError;
    for (auto type : {MidiResetType::Gm, MidiResetType::Gs, MidiResetType::Sc88Mode1}) {
        auto target = folder / std::string(ResetSongFileName(type));
        try {
            if (createIfMissing(target, ResetSongBytes(type)))
                placed.push_back(target);
        } catch (const std::system_error& e) {
            if (!firstError)
                firstError = e;
        }
    }
    if (firstError)
        throw *firstError;
    return placed;
}

} // namespace tobira
