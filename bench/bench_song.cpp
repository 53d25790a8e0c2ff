// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a song for the benchmarks that hand one to the running player, as a Standard MIDI File.
//   bench_song <file.mid> [seconds, default 90] [typical | dense | dense-N]
// typical: the light song of the render benchmarks (about 21 notes a second); dense: as busy as
// real dense songs; dense-N: the same with other instruments and drum notes (N = 1, 2, ...).
#include "dense_song.h"
#include "typical_song.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_song <file.mid> [seconds] [typical|dense|dense-N]\n");
        return 2;
    }
    const int given = argc > 2 ? std::atoi(argv[2]) : 90;
    const int seconds = given > 0 ? given : 90;
    const std::string kind = argc > 3 ? argv[3] : "typical";
    try {
        if (kind == "typical")
            tobira::bench::TypicalSong(seconds).write(argv[1]);
        else if (kind == "dense")
            tobira::bench::DenseSong(seconds).write(argv[1]);
        else if (kind.starts_with("dense-"))
            tobira::bench::DenseSong(seconds, std::atoi(kind.c_str() + 6)).write(argv[1]);
        else {
            std::fprintf(stderr, "bench_song: unknown kind %s\n", kind.c_str());
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_song: %s\n", e.what());
        return 1;
    }
    return 0;
}
