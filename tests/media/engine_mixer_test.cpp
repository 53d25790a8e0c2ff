// SPDX-License-Identifier: GPL-3.0-or-later
// The software mixer: line volumes, the speakers line, mutes, clamping, notifications.

#include "media/audio_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace tobira {
namespace {

// A 441 Hz sine on both channels, or a constant level with `steady`.
class ToneSource final : public AudioSource {
  public:
    explicit ToneSource(float amplitude, bool steady = false)
        : amplitude_(amplitude), steady_(steady) {}
    void renderAudio(float* out, std::size_t frames) override {
        for (std::size_t i = 0; i < frames; ++i, ++t_)
            out[2 * i] = out[2 * i + 1] =
                steady_ ? amplitude_
                        : amplitude_ * float(std::sin(2 * std::numbers::pi * t_ / 100.0));
        rendered += frames;
    }
    std::size_t rendered = 0;

  private:
    float amplitude_;
    bool steady_;
    long t_ = 0;
};

double Rms(const std::vector<float>& samples, int channel) {
    double sum = 0;
    for (std::size_t i = channel; i < samples.size(); i += 2)
        sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / double(samples.size() / 2));
}

constexpr std::size_t kSecond = AudioEngine::kSampleRate;
const double kToneRms = 0.5 / std::sqrt(2.0); // amplitude 0.5

TEST(EngineMixer, VolumesScaleTheRenderedSignal) {
    struct Case {
        MixerLine line;
        std::uint16_t left, right;
        double expectLeft, expectRight; // relative to the unscaled tone
        std::uint16_t speakers = 65535;
    };
    const Case cases[] = {
        {MixerLine::WaveOut, 65535, 65535, 1.0, 1.0},
        {MixerLine::WaveOut, 32767, 32767, 0.5, 0.5},
        {MixerLine::WaveOut, 0, 0, 0.0, 0.0},
        {MixerLine::WaveOut, 65535, 16384, 1.0, 0.25},
        {MixerLine::WaveOut, 32767, 32767, 0.25, 0.25, 32767}, // source × speakers
        {MixerLine::Speakers, 0, 65535, 0.0, 1.0},             // the speakers scale the mix
        {MixerLine::CompactDisc, 0, 0, 1.0, 1.0},              // another line: no effect
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.line) << " " << c.left << " " << c.right);
        AudioEngine engine;
        ToneSource tone(0.5f);
        engine.attach(MixerLine::WaveOut, &tone);
        engine.setLineVolume(MixerLine::Speakers, c.speakers);
        engine.setVolume(c.line, 0, c.left);
        engine.setVolume(c.line, 1, c.right);
        const auto out = engine.render(kSecond);
        EXPECT_NEAR(Rms(out, 0), kToneRms * c.expectLeft, 0.002);
        EXPECT_NEAR(Rms(out, 1), kToneRms * c.expectRight, 0.002);
        engine.attach(MixerLine::WaveOut, nullptr);
    }
}

TEST(EngineMixer, MuteSilencesButTheSourceKeepsTime) {
    for (MixerLine muted : {MixerLine::WaveOut, MixerLine::Speakers}) {
        AudioEngine engine;
        ToneSource tone(0.5f);
        engine.attach(MixerLine::WaveOut, &tone);
        engine.setMute(muted, true);
        const auto out = engine.render(4096);
        EXPECT_EQ(Rms(out, 0) + Rms(out, 1), 0.0);
        EXPECT_EQ(tone.rendered, 4096u);
        engine.setMute(muted, false);
        EXPECT_NEAR(Rms(engine.render(kSecond), 0), kToneRms, 0.002);
        engine.attach(MixerLine::WaveOut, nullptr);
    }
}

TEST(EngineMixer, MixIsSummedAndClamped) {
    AudioEngine engine;
    ToneSource a(0.75f, true), b(0.75f, true), c(-0.25f, true);
    engine.attach(MixerLine::WaveOut, &a);
    engine.attach(MixerLine::CompactDisc, &b);
    engine.attach(MixerLine::Synthesizer, &c);
    for (float v : engine.render(64))
        EXPECT_EQ(v, 1.0f); // 0.75 + 0.75 - 0.25, clamped
    engine.setLineVolume(MixerLine::CompactDisc, 0);
    EXPECT_FLOAT_EQ(engine.render(64)[0], 0.5f);
    for (auto line : {MixerLine::WaveOut, MixerLine::CompactDisc, MixerLine::Synthesizer})
        engine.attach(line, nullptr);
}

TEST(EngineMixer, ListenersHearEachRealChangeOnce) {
    AudioEngine engine;
    std::vector<std::pair<MixerLine, MixerChange>> heard;
    std::vector<MixerLine> heardPlain;
    const int id = engine.addControlListener(
        [&](MixerLine line, MixerChange what) { heard.emplace_back(line, what); });
    engine.addControlListener([&](MixerLine line) { heardPlain.push_back(line); });

    ToneSource tone(0.1f);
    engine.setLineVolume(MixerLine::CompactDisc, 1000); // both channels: one report
    engine.setLineVolume(MixerLine::CompactDisc, 1000); // no change: none
    engine.setVolume(MixerLine::WaveOut, 1, 5);
    engine.setMute(MixerLine::Speakers, true);
    engine.setMute(MixerLine::Speakers, true);
    engine.attach(MixerLine::WaveOut, &tone);
    engine.attach(MixerLine::WaveOut, nullptr);

    const std::vector<std::pair<MixerLine, MixerChange>> expected = {
        {MixerLine::CompactDisc, MixerChange::Volume}, {MixerLine::WaveOut, MixerChange::Volume},
        {MixerLine::Speakers, MixerChange::Mute},      {MixerLine::WaveOut, MixerChange::Source},
        {MixerLine::WaveOut, MixerChange::Source},
    };
    EXPECT_EQ(heard, expected);
    // The one-argument form hears volume and mute only.
    EXPECT_EQ(heardPlain, (std::vector<MixerLine>{MixerLine::CompactDisc, MixerLine::WaveOut,
                                                  MixerLine::Speakers}));
    engine.removeControlListener(id);
    engine.setMute(MixerLine::Speakers, false);
    EXPECT_EQ(heard.size(), expected.size());
    EXPECT_EQ(heardPlain.size(), 4u);
}

// An output keeps the lines it rendered and mixes them again when a volume changes: the mix
// follows the volumes of the moment it is made, and the sources are not rendered again.
TEST(EngineMixer, RenderedLinesMixAgainWithTheVolumesOfTheMoment) {
    AudioEngine engine;
    ToneSource cd(0.5f), wave(0.25f, true);
    engine.attach(MixerLine::CompactDisc, &cd);
    engine.attach(MixerLine::WaveOut, &wave);
    std::vector<float> storage(kMixerLineCount * 2 * 1000);
    LineBuffers lines{};
    ConstLineBuffers held{};
    for (int line = 1; line < kMixerLineCount; ++line)
        held[line] = lines[line] = storage.data() + line * 2000;
    EXPECT_FALSE(engine.sounding()) << "nothing rendered yet";
    engine.renderLines(lines, 1000);
    EXPECT_TRUE(engine.sounding());
    EXPECT_EQ(cd.rendered, 1000u);
    for (float s : std::vector<float>(lines[2], lines[2] + 2000))
        ASSERT_EQ(s, 0.0f) << "the synthesizer's line has no source: silence";

    std::vector<float> mixed(2000);
    const struct {
        const char* what;
        std::function<void()> change;
        double cdGain, waveGain;
    } steps[] = {
        {"as rendered", [] {}, 1.0, 1.0},
        {"CD halved", [&] { engine.setLineVolume(MixerLine::CompactDisc, 32768); }, 0.5, 1.0},
        {"speakers halved", [&] { engine.setLineVolume(MixerLine::Speakers, 32768); }, 0.25, 0.5},
        {"wave muted", [&] { engine.setMute(MixerLine::WaveOut, true); }, 0.25, 0.0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        engine.mixLines(held, mixed.data(), 1000);
        for (std::size_t i = 0; i < mixed.size(); ++i)
            ASSERT_NEAR(mixed[i], held[3][i] * step.cdGain + held[1][i] * step.waveGain, 1e-4);
    }
    EXPECT_EQ(cd.rendered, 1000u);
    engine.attach(MixerLine::CompactDisc, nullptr);
    engine.attach(MixerLine::WaveOut, nullptr);
}

} // namespace
} // namespace tobira
