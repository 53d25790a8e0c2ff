// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/wave/wave_layout.h"

#include "media/wave/wave_file.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <unistd.h>

namespace tobira {

namespace {

// Chunks before the data are few in real files (fmt, fact, LIST, bext, JUNK); a file made of
// thousands of tiny ones is not worth reading header by header.
constexpr int kMaxChunks = 4096;

std::uint32_t Le(const unsigned char* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

std::string Printable(std::string_view id) {
    std::string name;
    for (char c : id)
        name += c >= 0x20 && c < 0x7F ? c : '?';
    return name;
}

void ReadFormat(const unsigned char* f, std::size_t length, WaveLayout& layout) {
    layout.formatTag = static_cast<int>(Le(f, 2));
    layout.channels = static_cast<int>(Le(f + 2, 2));
    layout.rate = static_cast<int>(Le(f + 4, 4) & 0x7FFFFFFF);
    layout.blockAlign = static_cast<int>(Le(f + 12, 2));
    layout.bits = static_cast<int>(Le(f + 14, 2));
    if (layout.formatTag == 0xFFFE && length >= 26)
        layout.formatTag = static_cast<int>(Le(f + 24, 2)); // the sub-format GUID's first field
    const bool plainFrames = layout.channels >= 1 && layout.channels <= 8 && layout.rate >= 1000 &&
                             layout.rate <= 768000 &&
                             layout.blockAlign == layout.channels * layout.bits / 8;
    if (plainFrames && layout.formatTag == 1 &&
        (layout.bits == 8 || layout.bits == 16 || layout.bits == 24 || layout.bits == 32))
        layout.coding = WaveLayout::Coding::Integer;
    else if (plainFrames && layout.formatTag == 3 && layout.bits == 32)
        layout.coding = WaveLayout::Coding::Float;
    else
        layout.coding = WaveLayout::Coding::Other;
}

} // namespace

std::size_t ReadWaveBytes(int fd, std::uint64_t offset, void* to, std::size_t count,
                          const std::string& cp932Path) {
    auto* bytes = static_cast<char*>(to);
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = ::pread(fd, bytes + got, count - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw WaveFileError(cp932Path, std::strerror(errno));
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

WaveLayout ReadWaveLayout(int fd, std::uint64_t size, const std::string& cp932Path) {
    unsigned char head[12] = {};
    const std::size_t got = ReadWaveBytes(fd, 0, head, sizeof head, cp932Path);
    const std::string_view start(reinterpret_cast<const char*>(head), got);
    std::uint64_t at = 0;
    if (got == 12 && start.substr(0, 4) == "RIFF" && start.substr(8, 4) == "WAVE")
        at = 12;
    else if (start.substr(0, 4) == "WAVE")
        at = 4;
    else
        throw WaveFileError(cp932Path, "not a WAVE file (no RIFF WAVE header)");

    WaveLayout layout;
    bool haveFormat = false;
    for (int chunk = 0; chunk < kMaxChunks; ++chunk) {
        unsigned char header[8];
        if (size - at < 8 || ReadWaveBytes(fd, at, header, 8, cp932Path) < 8) {
            if (size > at)
                throw WaveFileError(cp932Path, "the file ends inside a chunk header");
            break;
        }
        const std::string_view id(reinterpret_cast<const char*>(header), 4);
        const std::uint64_t declared = Le(header + 4, 4);
        const std::uint64_t held = size - at - 8;
        if (declared > held)
            throw WaveFileError(cp932Path, "the chunk \"" + Printable(id) + "\" declares " +
                                               std::to_string(declared) +
                                               " bytes but the file holds only " +
                                               std::to_string(held) + " after it");
        if (id == "fmt ") {
            unsigned char format[40] = {};
            const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(declared, 40));
            if (length < 16 || ReadWaveBytes(fd, at + 8, format, length, cp932Path) < length)
                throw WaveFileError(cp932Path, "the fmt chunk is too short");
            ReadFormat(format, length, layout);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                throw WaveFileError(cp932Path, "no fmt chunk before the data");
            layout.dataOffset = at + 8;
            layout.dataBytes = declared;
            return layout;
        }
        at += 8 + declared + (declared & 1);
        if (at > size)
            break;
    }
    throw WaveFileError(cp932Path, "no data chunk");
}

} // namespace tobira
