// The wave player, played through the audio engine on generated WAV files.

#include "media/audio_engine.h"
#include "media/wave/wave_device.h"
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

class WaveDeviceTest : public ::testing::Test {
  protected:
    std::string path(const std::string& name) { return *Cp932FromPath(dir / name); }
    void openFile(const std::string& name) {
        wave.setFileName(path(name));
        wave.open();
    }
    // A steady level that survives resampling, so the sound's end is where the silence starts.
    void writeLevel(const std::string& name, WavFormat format, long frames, float level = 0.5f) {
        WriteWav(dir / name, format,
                 std::vector<float>(static_cast<std::size_t>(frames) * format.channels, level));
    }

    TempDir dir;
    AudioEngine engine;
    WaveDevice wave{engine};
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

    wave.play(); // after the end: from the start again
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
    auto le = [](std::uint32_t v, int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += static_cast<char>(v >> (8 * i) & 0xFF);
        return s;
    };
    const std::string body = "WAVEfmt " + le(16, 4) + le(3, 2) + le(2, 2) + le(44100, 4) +
                             le(44100 * 8, 4) + le(8, 2) + le(32, 2) + "data" +
                             le(sizeof values, 4) + data;
    std::ofstream(dir / "nan.wav", std::ios::binary) << "RIFF" << le(body.size(), 4) << body;
    openFile("nan.wav");
    wave.play();
    const auto out = engine.render(3);
    ASSERT_EQ(out.size(), 6u);
    const float expected[] = {0.5f, 0.0f, 0.0f, 0.0f, -0.25f, 0.0f};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_NEAR(out[i], expected[i], 1e-4) << i;
}

TEST_F(WaveDeviceTest, BadFilesFailNamingTheFileAndLeaveTheDeviceClosed) {
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
    }
    WriteToneWav(dir / "good.wav", {22050, 1, 16}, 22050);
    for (const char* name : {"missing.wav", "text.wav", "empty.wav", "cut.wav", "forged.wav"}) {
        SCOPED_TRACE(name);
        openFile("good.wav");
        wave.play();
        const std::string file = path(name);
        wave.setFileName(file);
        try {
            wave.open();
            ADD_FAILURE() << "open succeeded";
        } catch (const DeviceError& e) {
            EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
            // The reason follows the name.
            EXPECT_GT(std::string(e.what()).size(), file.size() + 20) << e.what();
            if (name == std::string("forged.wav")) {
                EXPECT_NE(std::string(e.what()).find("declares 2147483632 bytes"),
                          std::string::npos)
                    << e.what();
            }
        }
        EXPECT_FALSE(wave.isOpen());
        EXPECT_EQ(wave.mode(), DeviceMode::NotReady);
        EXPECT_EQ(Rms(engine.render(256)), 0.0);
    }
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
