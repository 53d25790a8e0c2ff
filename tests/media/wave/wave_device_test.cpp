// SPDX-License-Identifier: GPL-3.0-or-later
// The wave player, played through the audio engine on generated WAV files.

#include "media/audio_engine.h"
#include "media/wave/wave_device.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "support/wav_writer.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <fstream>
#include <thread>
#include <string>
#include <vector>

namespace tobira {
namespace {

using testing::MakeTone;
using testing::TempDir;
using testing::WavFormat;
using testing::WriteToneWav;
using testing::WriteWav;

constexpr int kRate = AudioEngine::kSampleRate;

double Rms(const std::vector<float>& samples, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    to = std::min(to, samples.size());
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(samples[i]) * samples[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
}

// Frames up to and including the last one that is not silent.
std::size_t SoundingFrames(const std::vector<float>& samples) {
    for (std::size_t i = samples.size(); i > 0; --i)
        if (samples[i - 1] != 0.0f)
            return (i - 1) / 2 + 1;
    return 0;
}

std::string Le(std::uint64_t v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += static_cast<char>(v >> (8 * i) & 0xFF);
    return s;
}

// A WAV file of the given coding around `data`; WAVE_FORMAT_EXTENSIBLE with the tag as its
// sub-format when `extensible`.
std::string WavBytes(int tag, int channels, int rate, int bits, const std::string& data,
                     bool extensible = false) {
    const int align = channels * bits / 8;
    std::string fmt = Le(extensible ? 0xFFFE : tag, 2) + Le(channels, 2) + Le(rate, 4) +
                      Le(rate * align, 4) + Le(align, 2) + Le(bits, 2);
    if (extensible)
        fmt += Le(22, 2) + Le(bits, 2) + Le(channels == 2 ? 3 : 4, 4) + Le(tag, 2) +
               "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";
    const std::string body =
        "WAVEfmt " + Le(fmt.size(), 4) + fmt + "data" + Le(data.size(), 4) + data;
    return "RIFF" + Le(body.size(), 4) + body;
}

class WaveDeviceTest : public ::testing::Test {
  protected:
    std::string path(const std::string& name) { return *Cp932FromPath(dir / name); }
    void openFile(const std::string& name) {
        wave.setFileName(path(name));
        wave.open();
        wave.settle();
    }
    // A steady level that survives resampling, so the sound's end is where the silence starts.
    void writeLevel(const std::string& name, WavFormat format, long frames, float level = 0.5f) {
        WriteWav(dir / name, format,
                 std::vector<float>(static_cast<std::size_t>(frames) * format.channels, level));
    }

    TempDir dir;
    AudioEngine engine;
    testing::FakeUiPost post;
    WaveDevice wave{engine, post};
    std::vector<NotifyValue> notices;
    WaveDeviceTest() {
        wave.setNotifyHandler([this](NotifyValue v) { notices.push_back(v); });
    }
};

TEST_F(WaveDeviceTest, AnyFormatPlaysAtItsOwnLengthInEngineStereo) {
    struct Case {
        WavFormat format;
        long frames;
    };
    const Case cases[] = {
        {{22050, 1, 16}, 22050}, // one second
        {{44100, 2, 16}, 44100}, {{8000, 1, 8}, 4000},
        {{48000, 2, 16}, 12000}, {{11025, 2, 8}, 11025},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format.rate * 100 + c.format.channels * 10 + c.format.bits / 8);
        writeLevel("level.wav", c.format, c.frames);
        openFile("level.wav");
        const long expected = c.frames * kRate / c.format.rate;
        EXPECT_EQ(wave.length(), static_cast<std::uint32_t>(c.frames * 1000 / c.format.rate));
        EXPECT_EQ(wave.mode(), DeviceMode::Stopped);

        wave.play();
        EXPECT_EQ(wave.mode(), DeviceMode::Playing);
        const auto out = engine.render(static_cast<std::size_t>(expected) + kRate / 2);
        EXPECT_EQ(wave.mode(), DeviceMode::Stopped);
        EXPECT_NEAR(static_cast<double>(SoundingFrames(out)), static_cast<double>(expected), 2.0);
        // Mono reaches both channels; a level stays a level (8-bit: within its step).
        EXPECT_NEAR(out[2 * kRate / 10 % (2 * expected)], 0.5, 0.01);
        EXPECT_EQ(out[0], out[1]);
        EXPECT_EQ(out[200], out[201]);
    }
}

TEST_F(WaveDeviceTest, ToneFrom22050MonoKeepsPitchLevelAndLength) {
    WriteToneWav(dir / "tone.wav", {22050, 1, 16}, 22050, 441.0, 0.5);
    openFile("tone.wav");
    wave.play();
    const auto out = engine.render(2 * kRate);
    EXPECT_NEAR(Rms(out, 0, 2 * kRate), 0.5 / std::sqrt(2.0), 0.005);
    EXPECT_EQ(Rms(out, 2 * (kRate + 4)), 0.0);
    // 441 Hz at 44100: one period every 100 frames, so the sound repeats itself there.
    EXPECT_NEAR(out[2 * 1000], out[2 * 1100], 0.01);
    EXPECT_NEAR(out[2 * 1025], 0.5, 0.01);
}

TEST_F(WaveDeviceTest, PauseAndResumeKeepThePosition) {
    writeLevel("level.wav", {22050, 1, 16}, 22050);
    openFile("level.wav");
    wave.play();
    engine.render(kRate / 4);
    wave.pause();
    EXPECT_EQ(wave.mode(), DeviceMode::Paused);
    EXPECT_EQ(wave.position(), 250u);
    EXPECT_EQ(Rms(engine.render(kRate)), 0.0); // silent while paused, and time stands still
    EXPECT_EQ(wave.position(), 250u);

    wave.play();
    EXPECT_EQ(wave.mode(), DeviceMode::Playing);
    const auto rest = engine.render(kRate);
    EXPECT_NEAR(static_cast<double>(SoundingFrames(rest)), 0.75 * kRate, 2.0);
    EXPECT_EQ(wave.mode(), DeviceMode::Stopped);
    EXPECT_EQ(wave.position(), 1000u);
}

TEST_F(WaveDeviceTest, StopKeepsThePositionAndTheEndRestartsFromTheStart) {
    writeLevel("level.wav", {44100, 1, 16}, 44100);
    openFile("level.wav");
    wave.play();
    engine.render(kRate / 2);
    wave.stop();
    EXPECT_EQ(wave.mode(), DeviceMode::Stopped);
    EXPECT_EQ(Rms(engine.render(1000)), 0.0);
    EXPECT_EQ(wave.position(), 500u);

    wave.play(); // resumes where stop left it
    EXPECT_EQ(SoundingFrames(engine.render(kRate)), static_cast<std::size_t>(kRate / 2));
    EXPECT_EQ(wave.mode(), DeviceMode::Stopped);

    // Pausing a finished sound does not make it resumable.
    wave.pause();
    EXPECT_EQ(wave.mode(), DeviceMode::Stopped);

    wave.play(); // after the end: from the start again, decoded anew
    wave.settle();
    EXPECT_EQ(SoundingFrames(engine.render(2 * kRate)), static_cast<std::size_t>(kRate));
}

TEST_F(WaveDeviceTest, ASecondFileReplacesAPlayingOne) {
    WriteToneWav(dir / "loud.wav", {44100, 2, 16}, 2 * kRate, 441.0, 0.8);
    WriteToneWav(dir / "soft.wav", {22050, 1, 16}, 11025, 441.0, 0.2);
    openFile("loud.wav");
    wave.play();
    EXPECT_NEAR(Rms(engine.render(kRate / 2)), 0.8 / std::sqrt(2.0), 0.005);

    openFile("soft.wav");
    EXPECT_EQ(wave.mode(), DeviceMode::Stopped);
    EXPECT_EQ(Rms(engine.render(100)), 0.0); // the old sound stopped with the new open
    wave.play();
    const auto out = engine.render(kRate);
    EXPECT_NEAR(Rms(out, 0, kRate), 0.2 / std::sqrt(2.0), 0.005);
    EXPECT_LE(SoundingFrames(out), static_cast<std::size_t>(kRate / 2 + 4));
    EXPECT_EQ(wave.length(), 500u);
}

// A stereo file under a Japanese name: the code page 932 path opens, left stays left.
TEST_F(WaveDeviceTest, JapaneseNamedStereoFileKeepsItsChannels) {
    std::vector<float> samples;
    for (int i = 0; i < 2205; ++i)
        samples.insert(samples.end(), {0.5f, -0.25f});
    WriteWav(dir / "拍手１.wav", {44100, 2, 16}, samples);
    wave.setFileName(*Cp932FromPath(dir.path()) + Utf8ToCp932("/拍手１.wav"));
    wave.open();
    wave.settle();
    EXPECT_EQ(wave.length(), 50u);
    wave.play();
    const auto out = engine.render(10);
    EXPECT_NEAR(out[0], 0.5f, 1e-4);
    EXPECT_NEAR(out[1], -0.25f, 1e-4);
}

// A float file holding NaN and infinity plays them as silence instead of poisoning the mix.
TEST_F(WaveDeviceTest, NonFiniteFloatSamplesPlayAsSilence) {
    const float values[] = {0.5f, std::nanf(""), INFINITY, -INFINITY, -0.25f, 0.0f};
    const std::string data(reinterpret_cast<const char*>(values), sizeof values);
    std::ofstream(dir / "nan.wav", std::ios::binary) << WavBytes(3, 2, 44100, 32, data);
    openFile("nan.wav");
    wave.play();
    const auto out = engine.render(3);
    ASSERT_EQ(out.size(), 6u);
    const float expected[] = {0.5f, 0.0f, 0.0f, 0.0f, -0.25f, 0.0f};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_NEAR(out[i], expected[i], 1e-4) << i;
}

// What cannot be played is told once, naming the file: by open() what opening shows (missing,
// over the size limit), by one Failure notice and takeProblem() what decoding finds. The device
// is closed and silent either way.
TEST_F(WaveDeviceTest, BadFilesAreToldOnceNamingTheFileAndLeaveTheDeviceClosed) {
    {
        std::ofstream(dir / "text.wav") << "this is not a wave file at all";
        std::ofstream(dir / "empty.wav");
        std::string riff("RIFF\x24\x00\x00\x00WAVEfmt ", 16); // cut off inside the header
        std::ofstream(dir / "cut.wav", std::ios::binary) << riff;
        // A data chunk declaring 2 GB in a 60-byte file: refused before anything is allocated.
        std::string forged("RIFF\x34\x00\x00\x00WAVEfmt \x10\x00\x00\x00"
                           "\x01\x00\x01\x00\x44\xac\x00\x00\x88\x58\x01\x00\x02\x00\x10\x00"
                           "data\xf0\xff\xff\x7f",
                           44);
        std::ofstream(dir / "forged.wav", std::ios::binary) << forged << std::string(16, '\0');
        // Over the size limit (a sparse file), and a mu-law sound too long to decode whole.
        std::ofstream(dir / "big.wav");
        std::filesystem::resize_file(dir / "big.wav", 300u << 20);
        std::ofstream(dir / "ulaw.wav", std::ios::binary)
            << WavBytes(7, 1, 8000, 8, std::string(8000 * 200, '\x80'));
    }
    WriteToneWav(dir / "good.wav", {22050, 1, 16}, 22050);
    struct Case {
        const char* name;
        bool byOpen;
        const char* says; // UTF-8
    };
    const Case cases[] = {
        {"missing.wav", true, "がありません"},
        {"big.wav", true, "大きすぎて使えません（300 MB、上限 256 MB）"},
        {"text.wav", false, "not a WAVE file"},
        {"empty.wav", false, "not a WAVE file"},
        {"cut.wav", false, "ends inside a chunk header"},
        {"forged.wav", false, "declares 2147483632 bytes"},
        {"ulaw.wav", false, "大きすぎて使えません（2 MB、この形式は 3 分まで）"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openFile("good.wav");
        wave.play();
        notices.clear();
        const std::string file = path(c.name);
        wave.setFileName(file);
        std::string told;
        try {
            wave.open();
            EXPECT_FALSE(c.byOpen);
            wave.settle();
            post.runPending();
            EXPECT_EQ(notices, std::vector<NotifyValue>{NotifyValue::Failure});
            told = wave.takeProblem();
            EXPECT_EQ(wave.takeProblem(), "") << "told once";
        } catch (const DeviceError& e) {
            EXPECT_TRUE(c.byOpen) << e.what();
            told = e.what();
        }
        EXPECT_NE(told.find(file), std::string::npos) << told;
        EXPECT_NE(Cp932ToUtf8(told).find(c.says), std::string::npos) << Cp932ToUtf8(told);
        EXPECT_FALSE(wave.isOpen());
        EXPECT_EQ(wave.mode(), DeviceMode::NotReady);
        EXPECT_EQ(Rms(engine.render(256)), 0.0);
    }
}

// Every coding: PCM of any width and float (plain and WAVE_FORMAT_EXTENSIBLE) converted piece by
// piece, and a compressed one decoded whole, at any rate: the level and the length are kept.
TEST_F(WaveDeviceTest, EveryCodingPlaysAtItsLevelAndLength) {
    auto repeat = [](std::string frame, std::size_t frames) {
        std::string data;
        for (std::size_t i = 0; i < frames; ++i)
            data += frame;
        return data;
    };
    struct Case {
        const char* what;
        std::string bytes;
        int rate;
        std::size_t frames;
        float left, right;
    };
    const float kFloatHalf = 0.5f, kFloatQuarter = -0.25f;
    std::string floats(reinterpret_cast<const char*>(&kFloatHalf), 4);
    floats.append(reinterpret_cast<const char*>(&kFloatQuarter), 4);
    const Case cases[] = {
        {"24-bit mono 48 kHz",
         WavBytes(1, 1, 48000, 24, repeat(std::string("\x00\x00\x40", 3), 24000)), 48000, 24000,
         0.5f, 0.5f},
        {"32-bit stereo",
         WavBytes(1, 2, 44100, 32, repeat(std::string("\0\0\0\x40\0\0\0\xE0", 8), 4410)), 44100,
         4410, 0.5f, -0.25f},
        {"float extensible 96 kHz", WavBytes(3, 2, 96000, 32, repeat(floats, 48000), true), 96000,
         48000, 0.5f, -0.25f},
        {"mu-law 8 kHz", WavBytes(7, 1, 8000, 8, std::string(8000, '\x80')), 8000, 8000, 0.98f,
         0.98f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(dir / "coded.wav", std::ios::binary) << c.bytes;
        openFile("coded.wav");
        const std::size_t expected = c.frames * kRate / static_cast<std::size_t>(c.rate);
        post.runPending();
        EXPECT_EQ(wave.takeProblem(), "");
        EXPECT_EQ(wave.length(), static_cast<std::uint32_t>(c.frames * 1000 / c.rate));
        wave.play();
        const auto out = engine.render(expected + kRate / 4);
        EXPECT_NEAR(static_cast<double>(SoundingFrames(out)), static_cast<double>(expected), 2.0);
        EXPECT_NEAR(std::abs(out[2 * (expected / 2)]), c.left, 0.01);
        EXPECT_NEAR(std::abs(out[2 * (expected / 2) + 1]), std::abs(c.right), 0.01);
    }
}

// A sound far longer than the decoder runs ahead, played in blocks as the audio thread plays
// it: the resampled tone goes on without a seam where one piece of the file ends and the next
// begins, and the sound ends at its length.
TEST_F(WaveDeviceTest, ALongSoundStreamsWithoutSeams) {
    constexpr long kFrames = 22050 * 12;
    WriteToneWav(dir / "long.wav", {22050, 1, 16}, kFrames, 441.0, 0.5);
    openFile("long.wav");
    wave.play();
    const std::size_t expected = 2 * kFrames;
    std::vector<float> out;
    while (out.size() < 2 * (expected + 4096)) {
        const auto block = engine.render(4096);
        out.insert(out.end(), block.begin(), block.end());
        wave.settle();
    }
    EXPECT_EQ(wave.mode(), DeviceMode::Stopped);
    EXPECT_NEAR(static_cast<double>(SoundingFrames(out)), static_cast<double>(expected), 2.0);
    double worst = 0;
    for (std::size_t f = 64; f + 64 < expected; ++f) {
        const double ideal = 0.5 * std::sin(2 * M_PI * 441.0 * static_cast<double>(f) / kRate);
        worst = std::max(worst, std::abs(out[2 * f] - ideal));
    }
    EXPECT_LT(worst, 0.005);
}

TEST_F(WaveDeviceTest, ClosedDeviceRefusesAllButCloseStopAndMode) {
    EXPECT_EQ(wave.mode(), DeviceMode::NotReady);
    EXPECT_NO_THROW(wave.stop());
    EXPECT_NO_THROW(wave.close());
    EXPECT_THROW(wave.play(), DeviceError);
    EXPECT_THROW(wave.pause(), DeviceError);
    EXPECT_THROW(wave.position(), DeviceError);
    EXPECT_THROW(wave.length(), DeviceError);
    EXPECT_THROW(wave.tracks(), DeviceError);
    EXPECT_THROW(wave.previous(), DeviceError);
    EXPECT_THROW(wave.eject(), DeviceError);
    EXPECT_THROW(wave.playFrom(1), DeviceError);

    WriteToneWav(dir / "good.wav", {22050, 1, 16}, 2205);
    openFile("good.wav");
    EXPECT_EQ(wave.tracks(), 1);
    // What a wave player cannot do is refused also when open.
    EXPECT_THROW(wave.previous(), DeviceError);
    EXPECT_THROW(wave.eject(), DeviceError);
    EXPECT_THROW(wave.playFrom(1), DeviceError);
    wave.play();
    wave.close();
    EXPECT_EQ(wave.mode(), DeviceMode::NotReady);
    EXPECT_EQ(Rms(engine.render(256)), 0.0);
}

// The audio thread renders while the UI thread opens, replaces, pauses and closes sounds.
TEST_F(WaveDeviceTest, UiOperationsWhileTheAudioThreadRenders) {
    WriteToneWav(dir / "a.wav", {22050, 1, 16}, 2205);
    WriteToneWav(dir / "b.wav", {44100, 2, 8}, 441);
    std::atomic<bool> done{false};
    std::atomic<long> blocks{0};
    std::thread audio([&] {
        std::vector<float> out(2 * 64);
        while (!done) {
            engine.render(out.data(), 64);
            for (float v : out)
                ASSERT_LE(std::abs(v), 1.0f);
            ++blocks;
        }
    });
    for (int i = 0; i < 300; ++i) {
        openFile(i % 2 ? "a.wav" : "b.wav");
        wave.play();
        if (i % 3 == 0)
            wave.pause();
        if (i % 5 == 0)
            wave.play();
        (void)wave.position();
        (void)wave.mode();
        if (i % 7 == 0)
            wave.stop();
        if (i % 11 == 0)
            wave.close();
    }
    done = true;
    audio.join();
    EXPECT_GT(blocks.load(), 0);
}

} // namespace
} // namespace tobira
