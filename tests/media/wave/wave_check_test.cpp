// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/wave/wave_check.h"

#include <gtest/gtest.h>

#include <string>

namespace tobira {
namespace {

std::string Chunk(const std::string& id, std::uint32_t declared, std::size_t held) {
    std::string c = id;
    for (int i = 0; i < 4; ++i)
        c += static_cast<char>(declared >> (8 * i) & 0xFF);
    return c + std::string(held, '\x01');
}

std::string Riff(const std::string& chunks) {
    return Chunk("RIFF", static_cast<std::uint32_t>(chunks.size() + 4), 0) + "WAVE" + chunks;
}

TEST(WaveSizeFaultTest, DeclaredSizesUpToTheDataChunkMustFitInTheFile) {
    const std::string fmt = Chunk("fmt ", 16, 16);
    struct Case {
        const char* what;
        std::string bytes;
        bool fault;
    } cases[] = {
        {"sizes that fit", Riff(fmt + Chunk("data", 8, 8)), false},
        {"odd chunk padded to even", Riff(Chunk("LIST", 3, 4) + fmt + Chunk("data", 2, 2)), false},
        {"data longer than the file", Riff(fmt + Chunk("data", 0x7FFFFFF0, 8)), true},
        {"data one byte short", Riff(fmt + Chunk("data", 9, 8)), true},
        {"huge chunk before fmt", Riff(Chunk("LIST", 0xFFFFFFFF, 4) + fmt), true},
        {"huge fmt", Riff(Chunk("fmt ", 0x80000000, 16)), true},
        {"after data nothing is read", Riff(fmt + Chunk("data", 2, 2) + Chunk("junk", 999, 0)),
         false},
        {"no RIFF at all", std::string("RIFX") + std::string(40, '\xFF'), false},
        {"WAVE without its RIFF header", "WAVE" + fmt + Chunk("data", 0xFFFFFF18, 8), true},
        {"WAVE without RIFF, sizes that fit", "WAVE" + fmt + Chunk("data", 8, 8), false},
        {"header only", std::string("RIFF\0\0\0\0WAVE", 12), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(WaveSizeFault(c.bytes).has_value(), c.fault);
    }
}

} // namespace
} // namespace tobira
