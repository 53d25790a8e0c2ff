// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a dense MIDI file for bench/dense_midi.sh: one track of note pairs all at delta 0 at
// the start, about `megabytes` in size, then silence to `seconds`.
//   dense_song <file.mid> <megabytes> [seconds, default 20]
#include "support/smf_writer.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: dense_song <file.mid> <megabytes> [seconds]\n");
        return 2;
    }
    const double megabytes = std::atof(argv[2]);
    const int seconds = argc > 3 ? std::atoi(argv[3]) : 20;
    try {
        const auto pairs = static_cast<std::size_t>(megabytes * 1024 * 1024 / 6);
        tobira::testing::WriteBytes(
            argv[1],
            tobira::testing::DenseSmf(pairs, {0}, static_cast<std::uint32_t>(seconds * 960)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dense_song: %s\n", e.what());
        return 1;
    }
    return 0;
}
