// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/wave/wave_check.h"

#include <cstdint>

namespace tobira {

namespace {

std::uint32_t Le32(std::string_view bytes, std::size_t at) {
    auto b = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i]));
    };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

} // namespace

std::optional<std::string> WaveSizeFault(std::string_view bytes) {
    std::size_t at = 0;
    if (bytes.size() >= 12 && bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 4) == "WAVE")
        at = 12;
    else if (bytes.substr(0, 4) == "WAVE") // SDL also reads a file that lacks the RIFF header
        at = 4;
    else
        return std::nullopt;
    while (bytes.size() - at >= 8) {
        const std::string_view id = bytes.substr(at, 4);
        const std::uint64_t declared = Le32(bytes, at + 4);
        const std::uint64_t held = bytes.size() - at - 8;
        if (declared > held) {
            std::string name;
            for (char c : id)
                name += c >= 0x20 && c < 0x7F ? c : '?';
            return "the chunk \"" + name + "\" declares " + std::to_string(declared) +
                   " bytes but the file holds only " + std::to_string(held) + " after it";
        }
        // Chunks after the data are never read.
        if (id == "data")
            return std::nullopt;
        at += 8 + static_cast<std::size_t>(declared) + (declared & 1);
        if (at > bytes.size())
            break;
    }
    return std::nullopt;
}

} // namespace tobira
