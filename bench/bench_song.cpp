// Writes the benchmarks' typical song as a Standard MIDI File, for benchmarks that hand a song
// to the running player.
//   bench_song <file.mid> [seconds, default 90]
#include "typical_song.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_song <file.mid> [seconds]\n");
        return 2;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 90;
    try {
        tobira::bench::TypicalSong(seconds > 0 ? seconds : 90).write(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_song: %s\n", e.what());
        return 1;
    }
    return 0;
}
