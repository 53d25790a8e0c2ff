// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/disc_ids.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace tobira {
namespace {

// Addresses as the IDs count them: from the start of the disc's first pregap.
constexpr std::int32_t kLeadInSectors = 2 * kCdSectorsPerSecond;
// An Enhanced CD's data track lies this far past its audio session's end.
constexpr std::int32_t kSessionGap = 152 * kCdSectorsPerSecond;

using Digest = std::array<std::uint8_t, 20>;

std::uint32_t rotate(std::uint32_t v, int n) {
    return v << n | v >> (32 - n);
}

Digest sha1(const std::string& message) {
    std::array<std::uint32_t, 5> h = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    std::string data = message;
    data += '\x80';
    while (data.size() % 64 != 56)
        data += '\0';
    const std::uint64_t bits = std::uint64_t{message.size()} * 8;
    for (int i = 7; i >= 0; --i)
        data += static_cast<char>(bits >> (8 * i) & 0xFF);
    for (std::size_t block = 0; block < data.size(); block += 64) {
        std::array<std::uint32_t, 80> w{};
        for (std::size_t i = 0; i < 16; ++i)
            for (std::size_t b = 0; b < 4; ++b)
                w[i] = w[i] << 8 | static_cast<std::uint8_t>(data[block + 4 * i + b]);
        for (std::size_t i = 16; i < 80; ++i)
            w[i] = rotate(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
        auto [a, b, c, d, e] = h;
        for (std::size_t i = 0; i < 80; ++i) {
            std::uint32_t f, k;
            if (i < 20) {
                f = (b & c) | (~b & d);
                k = 0x5A827999;
            } else if (i < 40) {
                f = b ^ c ^ d;
                k = 0x6ED9EBA1;
            } else if (i < 60) {
                f = (b & c) | (b & d) | (c & d);
                k = 0x8F1BBCDC;
            } else {
                f = b ^ c ^ d;
                k = 0xCA62C1D6;
            }
            const std::uint32_t t = rotate(a, 5) + f + e + k + w[i];
            e = d;
            d = c;
            c = rotate(b, 30);
            b = a;
            a = t;
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
        h[4] += e;
    }
    Digest digest{};
    for (std::size_t i = 0; i < 20; ++i)
        digest[i] = static_cast<std::uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
    return digest;
}

// Base64 with the three characters MusicBrainz puts in place of those URLs do not carry.
std::string base64(const Digest& bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t v = 0;
        for (std::size_t b = 0; b < 3; ++b)
            v = v << 8 | (b < n ? bytes[i + b] : 0);
        for (std::size_t c = 0; c < 4; ++c)
            out += c <= n ? kAlphabet[v >> (18 - 6 * c) & 0x3F] : '-';
    }
    return out;
}

std::string hex(std::uint32_t v, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, v);
    return text;
}

} // namespace

std::string MusicBrainzDiscId(const CdToc& toc) {
    const std::vector<CdTrack>& tracks = toc.tracks();
    std::size_t end = tracks.size();
    while (end > 1 && !tracks[end - 1].audio)
        --end;
    const bool enhanced = end < tracks.size() && tracks[end - 1].audio;
    const std::int32_t leadout =
        enhanced ? std::max(tracks[end].start - kSessionGap, tracks[end - 1].start + 1)
                 : toc.leadout();
    std::array<std::uint32_t, 100> offsets{};
    offsets[0] = static_cast<std::uint32_t>(leadout + kLeadInSectors);
    for (std::size_t i = 0; i < end; ++i)
        offsets[static_cast<std::size_t>(tracks[i].number)] =
            static_cast<std::uint32_t>(tracks[i].start + kLeadInSectors);
    std::string text = hex(static_cast<std::uint32_t>(tracks.front().number), 2) +
                       hex(static_cast<std::uint32_t>(tracks[end - 1].number), 2);
    for (std::uint32_t offset : offsets)
        text += hex(offset, 8);
    return base64(sha1(text));
}

std::string FreedbDiscId(const CdToc& toc) {
    const std::vector<CdTrack>& tracks = toc.tracks();
    auto seconds = [](std::int32_t lsn) { return (lsn + kLeadInSectors) / kCdSectorsPerSecond; };
    std::uint32_t digits = 0;
    for (const CdTrack& t : tracks)
        for (std::int32_t s = seconds(t.start); s > 0; s /= 10)
            digits += static_cast<std::uint32_t>(s % 10);
    const auto length =
        static_cast<std::uint32_t>(seconds(toc.leadout()) - seconds(tracks.front().start));
    const std::uint32_t id =
        (digits % 255) << 24 | length << 8 | static_cast<std::uint32_t>(tracks.size());
    char text[16];
    std::snprintf(text, sizeof text, "%08x", id);
    return text;
}

} // namespace tobira
