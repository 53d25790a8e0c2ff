// The MIDI device's first note and memory, as a user meets them: RSS in CD mode, the time from
// PLAY to the first audible block when MIDI mode was entered a second before, RSS while a
// General MIDI song plays, and RSS back in CD mode. One run per process, so that RSS is clean.
//
//   midi_memory_bench [--cold]    --cold: no prepare on entering MIDI mode, no release on
//                                 leaving it (how the device was used before both existed)
// TOBIRA_BENCH_SOUNDFONT overrides the SoundFont (default: the standard one).
#include "media/audio_engine.h"
#include "media/midi_device.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"

#include <malloc.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double RssMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0.0;
}

// Sixteen channels: fifteen instruments from every family of the General MIDI set and drums.
tobira::testing::SmfWriter GmSong(double seconds) {
    tobira::testing::SmfWriter w(1, 480);
    w.tempoBpm(0, 0, 120);
    for (int channel = 0; channel < 16; ++channel) {
        const int track = w.addTrack();
        if (channel != 9)
            w.programChange(track, 0, channel, channel * 8 + 1);
        for (std::uint32_t tick = 0; tick + 240 <= seconds * 960; tick += 240) {
            const int key = channel == 9 ? 35 + static_cast<int>(tick / 240 % 12)
                                         : 48 + (channel * 5 + static_cast<int>(tick / 240)) % 24;
            w.note(track, tick, channel, key, 90, 230);
        }
    }
    return w;
}

} // namespace

int main(int argc, char** argv) {
    const bool cold = argc > 1 && std::strcmp(argv[1], "--cold") == 0;
    tobira::testing::TempDir dir;
    GmSong(20.0).write(dir / "gm.mid");

    tobira::AudioEngine engine;
    tobira::testing::FakeUiPost post;
    auto device = std::make_unique<tobira::MidiDevice>(engine, post);
    if (const char* font = std::getenv("TOBIRA_BENCH_SOUNDFONT"))
        device->setSoundFont(font);
    device->setFileName((dir / "gm.mid").string());
    constexpr std::size_t kBlock = 1024;
    std::vector<float> block(kBlock * 2);
    const double cdMode = RssMb();

    // MIDI mode entered; the user picks a song a second later and presses PLAY.
    tobira::MediaDevice& media = *device;
    if (!cold)
        media.prepare();
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    const auto pressed = Clock::now();
    device->open();
    device->play();
    double firstNote = -1.0;
    for (int i = 0; i < 200 && firstNote < 0; ++i) {
        engine.render(block.data(), kBlock);
        for (float s : block)
            if (std::fabs(s) > 1e-3f) {
                firstNote =
                    std::chrono::duration<double, std::milli>(Clock::now() - pressed).count();
                break;
            }
    }
    // Ten seconds of the song (faster than real time; memory does not depend on the pace).
    double slowestBlockMs = 0.0;
    for (int i = 0; i < 10 * 44100 / static_cast<int>(kBlock); ++i) {
        const auto start = Clock::now();
        engine.render(block.data(), kBlock);
        slowestBlockMs =
            std::max(slowestBlockMs,
                     std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        post.runPending();
    }
    const double playing = RssMb();

    // Back to CD mode.
    device->stop();
    if (cold)
        device->close();
    else
        media.release();
    malloc_trim(0);
    const double back = RssMb();
    std::printf("%s: first note %.0f ms after PLAY; RSS CD mode %.1f MB, playing %.1f MB, back in "
                "CD mode %.1f MB; slowest 1024-frame block %.1f ms\n",
                cold ? "cold" : "prepared", firstNote, cdMode, playing, back, slowestBlockMs);
    return 0;
}
