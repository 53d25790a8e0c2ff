// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FluidSynth rendering with each MIDI channel in an audio group of its own (the synthesizer
// made with synth.audio-groups and synth.audio-channels at 16): mixed to interleaved stereo,
// the effects added, and when asked each part's peak taken on the way.

#include <fluidsynth.h>

#include <array>
#include <cstddef>
#include <vector>

namespace tobira {

class FluidPartRender final {
  public:
    static constexpr int kParts = 16;
    // The settings every synthesizer rendered here is made with.
    static void Configure(fluid_settings_t* settings);

    FluidPartRender();

    // Interleaved stereo into `out`, each side scaled by its gain.
    void render(fluid_synth_t* synth, float* out, std::size_t frames, float left = 1.0f,
                float right = 1.0f);

    void meter(bool on);
    // Of the last render; zeros while not metering.
    const std::array<float, kParts>& peaks() const { return peaks_; }

  private:
    static constexpr std::size_t kBlock = 512;
    void renderBlock(fluid_synth_t* synth, float* out, std::size_t frames, float left, float right);

    bool metering_ = false;
    std::array<float, kParts> peaks_{};
    // Planar: left and right of the mix, of the effects, then of each part.
    std::vector<float> planes_;
};

} // namespace tobira
