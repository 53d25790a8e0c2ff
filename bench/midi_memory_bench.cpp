// The MIDI device's first note and memory, as a user meets them: RSS in CD mode, the time from
// PLAY to the first audible block when MIDI mode was entered a second before, RSS while a
// General MIDI song plays, the slowest render call of that song (it changes programs on every
// channel each bar and resets the sound module every eight seconds, GM and GS in turn), and
// RSS back in CD mode. One run per process, so that RSS is clean.
//
//   midi_memory_bench [--cold]    --cold: no prepare on entering MIDI mode, no release on
//                                 leaving it (how the device was used before both existed)
// TOBIRA_BENCH_SOUNDFONT overrides the SoundFont (default: the standard one).
#include "media/audio_engine.h"
#include "media/midi/midi_device.h"
#include "support/built_synth_module.h"
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

// Sixteen channels: instruments from every family of the General MIDI set and drums. Each
// channel moves between two instruments of its family every bar.
tobira::testing::SmfWriter GmSong(double seconds) {
    tobira::testing::SmfWriter w(1, 480);
    w.tempoBpm(0, 0, 120);
    for (std::uint32_t tick = 0, n = 0; tick < seconds * 960; tick += 8 * 960, ++n) {
        if (n % 2)
            w.sysex(0, tick, {0x7E, 0x7F, 0x09, 0x01, 0xF7}); // GM system on
        else if (n > 0)
            w.gsReset(0, tick);
    }
    for (int channel = 0; channel < 16; ++channel) {
        const int track = w.addTrack();
        for (std::uint32_t tick = 0; channel != 9 && tick < seconds * 960; tick += 1920)
            w.programChange(track, tick, channel,
                            channel * 8 + 1 + static_cast<int>(tick / 1920 % 2));
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
    tobira::testing::UseBuiltSynthModule();
    const bool cold = argc > 1 && std::strcmp(argv[1], "--cold") == 0;
    tobira::testing::TempDir dir;
    GmSong(40.0).write(dir / "gm.mid");

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
    // The audio thread asks for a block every 23 ms; asking every millisecond finds the first
    // note to within one.
    double firstNote = -1.0;
    while (firstNote < 0 && Clock::now() - pressed < std::chrono::seconds(5)) {
        engine.render(block.data(), kBlock);
        for (float s : block)
            if (std::fabs(s) > 1e-3f) {
                firstNote =
                    std::chrono::duration<double, std::milli>(Clock::now() - pressed).count();
                break;
            }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // Twenty seconds of the song (faster than real time; memory does not depend on the pace).
    double slowestBlockMs = 0.0;
    for (int i = 0; i < 20 * 44100 / static_cast<int>(kBlock); ++i) {
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
    device->settle();
    malloc_trim(0);
    const double back = RssMb();
    std::printf("%s: first note %.0f ms after PLAY; RSS CD mode %.1f MB, playing %.1f MB, back in "
                "CD mode %.1f MB; slowest 1024-frame block %.1f ms\n",
                cold ? "cold" : "prepared", firstNote, cdMode, playing, back, slowestBlockMs);
    return 0;
}
