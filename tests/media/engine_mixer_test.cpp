// The software mixer: line volumes, the speakers line, mutes, clamping, notifications.

#include "media/audio_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace tobira {
namespace {

// A steady sine on both channels (or a constant when frequency is 0).
class ToneSource final : public AudioSource {
  public:
    ToneSource(float amplitude, double frequency = 441.0)
        : amplitude_(amplitude), frequency_(frequency) {}
    void renderAudio(float* out, std::size_t frames) override {
        for (std::size_t i = 0; i < frames; ++i, ++t_) {
            const float v =
                frequency_ == 0.0
                    ? amplitude_
                    : amplitude_ * static_cast<float>(std::sin(2.0 * std::numbers::pi * frequency_ *
                                                               t_ / AudioEngine::kSampleRate));
            out[2 * i] = v;
            out[2 * i + 1] = v;
        }
        rendered += frames;
    }
    std::size_t rendered = 0;

  private:
    float amplitude_;
    double frequency_;
    long t_ = 0;
};

double Rms(const std::vector<float>& samples, int channel) {
    double sum = 0;
    std::size_t n = 0;
    for (std::size_t i = channel; i < samples.size(); i += 2, ++n)
        sum += double(samples[i]) * samples[i];
    return n ? std::sqrt(sum / n) : 0.0;
}

constexpr std::size_t kSecond = AudioEngine::kSampleRate;
const double kToneRms = 0.5 / std::sqrt(2.0); // amplitude 0.5

TEST(EngineMixer, VolumesScaleTheRenderedSignal) {
    struct Case {
        MixerLine line;
        std::uint16_t left, right;
        double expectLeft, expectRight; // relative to the unscaled tone
    };
    const Case cases[] = {
        {MixerLine::WaveOut, 65535, 65535, 1.0, 1.0},
        {MixerLine::WaveOut, 32767, 32767, 0.5, 0.5},
        {MixerLine::WaveOut, 0, 0, 0.0, 0.0},
        {MixerLine::WaveOut, 65535, 16384, 1.0, 0.25},
        // The speakers line scales the whole mix.
        {MixerLine::Speakers, 32767, 32767, 0.5, 0.5},
        {MixerLine::Speakers, 0, 65535, 0.0, 1.0},
        // Another source's volume leaves this one alone.
        {MixerLine::CompactDisc, 0, 0, 1.0, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.line));
        SCOPED_TRACE(c.right);
        AudioEngine engine;
        ToneSource tone(0.5f);
        engine.attach(MixerLine::WaveOut, &tone);
        engine.setVolume(c.line, 0, c.left);
        engine.setVolume(c.line, 1, c.right);
        const auto out = engine.render(kSecond);
        EXPECT_NEAR(Rms(out, 0), kToneRms * c.expectLeft, 0.002);
        EXPECT_NEAR(Rms(out, 1), kToneRms * c.expectRight, 0.002);
        engine.attach(MixerLine::WaveOut, nullptr);
    }
}

TEST(EngineMixer, SourceAndSpeakerVolumesMultiply) {
    AudioEngine engine;
    ToneSource tone(0.5f);
    engine.attach(MixerLine::Synthesizer, &tone);
    engine.setLineVolume(MixerLine::Synthesizer, 32767);
    engine.setLineVolume(MixerLine::Speakers, 32767);
    EXPECT_NEAR(Rms(engine.render(kSecond), 0), kToneRms * 0.25, 0.002);
    engine.attach(MixerLine::Synthesizer, nullptr);
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
    ToneSource a(0.75f, 0.0), b(0.75f, 0.0), c(-0.25f, 0.0);
    engine.attach(MixerLine::WaveOut, &a);
    engine.attach(MixerLine::CompactDisc, &b);
    auto out = engine.render(64);
    for (float v : out)
        EXPECT_EQ(v, 1.0f);
    engine.attach(MixerLine::Synthesizer, &c);
    out = engine.render(64);
    EXPECT_FLOAT_EQ(out[0], 1.0f); // 0.75 + 0.75 - 0.25, clamped
    engine.setLineVolume(MixerLine::CompactDisc, 0);
    out = engine.render(64);
    EXPECT_FLOAT_EQ(out[0], 0.5f);
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
    // The older listener form hears volume and mute only.
    EXPECT_EQ(heardPlain, (std::vector<MixerLine>{MixerLine::CompactDisc, MixerLine::WaveOut,
                                                  MixerLine::Speakers}));

    engine.removeControlListener(id);
    engine.setMute(MixerLine::Speakers, false);
    EXPECT_EQ(heard.size(), expected.size());
    EXPECT_EQ(heardPlain.size(), 4u);
}

} // namespace
} // namespace tobira
