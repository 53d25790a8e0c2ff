// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI device's first note and memory, as a user meets them: RSS in CD mode, the time from
// PLAY to the first audible block when MIDI mode was entered a second before, RSS while a
// General MIDI song plays, the slowest render call of that song (it changes programs on every
// channel each bar and resets the sound module every eight seconds, GM and GS in turn), and
// RSS back in CD mode after it and nine more songs, each with other instruments, as the device
// itself gives the memory back. One run per process, so that RSS is clean.
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

// A line of /proc/self/status in megabytes: VmRSS, or RssAnon for the heap and stacks alone.
double StatusMb(const char* key = "VmRSS:") {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(key);
    while (std::getline(status, line))
        if (line.compare(0, length, key) == 0)
            return std::atof(line.c_str() + length) / 1024.0;
    return 0.0;
}
double RssMb() {
    return StatusMb();
}

// Sixteen channels: instruments from every family of the General MIDI set and drums. Each
// channel moves between two instruments of its family every bar.
tobira::testing::SmfWriter GmSong(double seconds, int shift = 0) {
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
                            (channel * 8 + 1 + shift + static_cast<int>(tick / 1920 % 2)) % 128);
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
    constexpr int kSongs = 10;
    for (int n = 1; n < kSongs; ++n)
        GmSong(10.0, 3 * n).write(dir / ("gm" + std::to_string(n) + ".mid"));

    tobira::AudioEngine engine;
    tobira::testing::FakeUiPost post;
    auto device = std::make_unique<tobira::MidiDevice>(engine, post);
    if (const char* font = std::getenv("TOBIRA_BENCH_SOUNDFONT"))
        device->setSoundFont(font);
    device->setFileName((dir / "gm.mid").string());
    constexpr std::size_t kBlock = 1024;
    std::vector<float> block(kBlock * 2);
    const double cdMode = RssMb();
    const double cdModeAnon = StatusMb("RssAnon:");

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

    // Nine more songs, five seconds of each.
    for (int n = 1; n < kSongs; ++n) {
        device->setFileName((dir / ("gm" + std::to_string(n) + ".mid")).string());
        device->open();
        device->settle();
        device->play();
        for (int i = 0; i < 5 * 44100 / static_cast<int>(kBlock); ++i) {
            engine.render(block.data(), kBlock);
            post.runPending();
        }
    }
    const double peak = RssMb();

    // Back to CD mode: what the device frees is measured as the program leaves it.
    device->stop();
    if (cold)
        device->close();
    else
        media.release();
    device->settle();
    const double back = RssMb();
    const double backAnon = StatusMb("RssAnon:");
    std::printf("%s: first note %.0f ms after PLAY; RSS CD mode %.1f MB, playing %.1f MB, after "
                "%d songs %.1f MB, back in CD mode %.1f MB (%+.1f MB; anonymous %+.1f MB); "
                "slowest 1024-frame block %.1f ms\n",
                cold ? "cold" : "prepared", firstNote, cdMode, playing, kSongs, peak, back,
                back - cdMode, backAnon - cdModeAnon, slowestBlockMs);
    return 0;
}
