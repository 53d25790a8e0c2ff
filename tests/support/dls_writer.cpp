// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/dls_writer.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

namespace tobira::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes Chunk(const char* id, const Bytes& data) {
    Bytes b(id, id + 4);
    Put(b, static_cast<std::uint32_t>(data.size()), 4);
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() % 2)
        b.push_back(0);
    return b;
}

Bytes List(const char* type, const std::vector<Bytes>& chunks) {
    Bytes data(type, type + 4);
    for (const Bytes& c : chunks)
        data.insert(data.end(), c.begin(), c.end());
    return Chunk("LIST", data);
}

} // namespace

std::vector<std::uint8_t> SineDls() {
    constexpr std::uint32_t kRate = 44100, kFrames = 4410; // 441 Hz: a whole number of cycles
    Bytes samples;
    for (std::uint32_t i = 0; i < kFrames; ++i)
        Put(samples,
            static_cast<std::uint16_t>(static_cast<std::int16_t>(
                12000 * std::sin(2 * std::numbers::pi * 441.0 * i / kRate))),
            2);
    Bytes format;
    for (auto [value, bytes] :
         {std::pair{1u, 2}, {1u, 2}, {kRate, 4}, {kRate * 2, 4}, {2u, 2}, {16u, 2}})
        Put(format, value, bytes);
    // Unity key 69 (A4), no tuning or attenuation, one forward loop over the whole wave.
    Bytes sampler;
    for (auto [value, bytes] : {std::pair{20u, 4},
                                {69u, 2},
                                {0u, 2},
                                {0u, 4},
                                {0u, 4},
                                {1u, 4},
                                {16u, 4},
                                {0u, 4},
                                {0u, 4},
                                {kFrames, 4}})
        Put(sampler, value, bytes);
    Bytes regionHeader; // keys 0-127, velocities 0-127
    for (auto [value, bytes] : {std::pair{0u, 2}, {127u, 2}, {0u, 2}, {127u, 2}, {0u, 2}, {0u, 2}})
        Put(regionHeader, value, bytes);
    Bytes waveLink; // channel 1 (left/mono), wave 0
    for (auto [value, bytes] : {std::pair{0u, 2}, {0u, 2}, {1u, 4}, {0u, 4}})
        Put(waveLink, value, bytes);
    Bytes instrumentHeader; // one region, bank 0, program 0
    for (std::uint32_t v : {1u, 0u, 0u})
        Put(instrumentHeader, v, 4);
    Bytes count, cues;
    Put(count, 1, 4);
    for (std::uint32_t v : {8u, 1u, 0u})
        Put(cues, v, 4);

    const Bytes region = List(
        "rgn ", {Chunk("rgnh", regionHeader), Chunk("wsmp", sampler), Chunk("wlnk", waveLink)});
    const Bytes instrument =
        List("ins ", {Chunk("insh", instrumentHeader), List("lrgn", {region})});
    const Bytes wave =
        List("wave", {Chunk("fmt ", format), Chunk("wsmp", sampler), Chunk("data", samples)});
    Bytes body{'D', 'L', 'S', ' '};
    for (const Bytes& part : {Chunk("colh", count), List("lins", {instrument}), Chunk("ptbl", cues),
                              List("wvpl", {wave})})
        body.insert(body.end(), part.begin(), part.end());
    return Chunk("RIFF", body);
}

} // namespace tobira::testing
