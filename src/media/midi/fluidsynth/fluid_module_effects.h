// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Carries out what a song sets on its module (module_effects.h) with FluidSynth's reverb,
// chorus, gain, tunings, controllers and generator offsets. Audio thread only.

#include "media/midi/module_effects.h"

#include <fluidsynth.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace tobira {

class FluidModuleEffects final {
  public:
    FluidModuleEffects(fluid_synth_t* synth, double gain) : synth_(synth), gain_(gain) {}

    // One setting, `state` already holding it; `drums` has a bit set for each drum part.
    void apply(const ModuleSetting& setting, const ModuleEffectsState& state, std::uint16_t drums);
    // Everything, after a reset.
    void applyAll(const ModuleEffectsState& state, std::uint16_t drums);
    // After a drum part has become melodic or the reverse: the transpose spares drums.
    void drumsChanged(const ModuleEffectsState& state, std::uint16_t drums);

    // The parts that listen to a MIDI channel, by the receive channels.
    std::uint16_t listeners(int channel) const { return listeners_[channel & 15]; }
    bool plainRouting() const { return plainRouting_; }

    // The master balance, as gains for the left and right output.
    float leftGain() const { return left_; }
    float rightGain() const { return right_; }
    bool balanced() const { return left_ == 1.0f && right_ == 1.0f; }

  private:
    void applyReverb(const ModuleEffectsState& state);
    void applyChorus(const ModuleEffectsState& state);
    void applyGain(const ModuleEffectsState& state);
    void applyTuning(const ModuleEffectsState& state, std::uint16_t drums);
    void applyRouting(const ModuleEffectsState& state);
    void applyPart(const ModuleSetting& setting);

    fluid_synth_t* synth_;
    double gain_;
    float left_ = 1.0f, right_ = 1.0f;
    std::array<std::uint16_t, 16> listeners_{};
    bool plainRouting_ = true;
    bool tuned_ = false;
};

} // namespace tobira
