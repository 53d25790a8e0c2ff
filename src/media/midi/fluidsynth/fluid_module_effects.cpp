// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/fluidsynth/fluid_module_effects.h"

#include <algorithm>
#include <cmath>

namespace tobira {
namespace {

// FluidSynth's reverb answers its room size as Freeverb does: a feedback gain of 0.7 + 0.28 x
// room size on its longest delay line (1617 samples at 44.1 kHz), which sets the decay time.
constexpr double kLongestDelaySeconds = 1617.0 / 44100.0;
double RoomSize(double seconds) {
    const double feedback = std::pow(10.0, -3.0 * kLongestDelaySeconds / seconds);
    return std::clamp((feedback - 0.7) / 0.28, 0.0, 1.0);
}
// Tunings the program owns: far from those a song may send (bank 0 and up).
constexpr int kTuningBank = 127, kMelodicTuning = 126, kDrumTuning = 127;

// How far one step of a relative part parameter moves FluidSynth's generator, in its units:
// about two octaves either way for rates and the filter, a factor of four or so for the
// envelope's times, half a semitone for the vibrato.
struct PartGenerator {
    ModuleParam param;
    int generator;
    float perStep;
};
constexpr PartGenerator kPartGenerators[] = {
    {ModuleParam::VibratoRate, GEN_VIBLFOFREQ, 20.0f},    // cents
    {ModuleParam::VibratoDepth, GEN_VIBLFOTOPITCH, 0.8f}, // cents
    {ModuleParam::VibratoDelay, GEN_VIBLFODELAY, 20.0f},  // timecents
    {ModuleParam::FilterCutoff, GEN_FILTERFC, 40.0f},     // cents
    {ModuleParam::FilterResonance, GEN_FILTERQ, 3.0f},    // centibels
    {ModuleParam::Attack, GEN_VOLENVATTACK, 35.0f},       // timecents
    {ModuleParam::Decay, GEN_VOLENVDECAY, 35.0f},         // timecents
    {ModuleParam::Release, GEN_VOLENVRELEASE, 35.0f},     // timecents
};

} // namespace

void FluidModuleEffects::applyAll(const ModuleEffectsState& state, std::uint16_t drums) {
    applyReverb(state);
    applyChorus(state);
    applyGain(state);
    applyTuning(state, drums);
    applyRouting(state);
}

void FluidModuleEffects::drumsChanged(const ModuleEffectsState& state, std::uint16_t drums) {
    if (tuned_)
        applyTuning(state, drums);
}

void FluidModuleEffects::apply(const ModuleSetting& s, const ModuleEffectsState& state,
                               std::uint16_t drums) {
    switch (s.param) {
    case ModuleParam::ReverbType:
    case ModuleParam::ReverbLevel:
    case ModuleParam::ReverbTime:
        applyReverb(state);
        return;
    case ModuleParam::ChorusType:
    case ModuleParam::ChorusLevel:
    case ModuleParam::ChorusRate:
    case ModuleParam::ChorusDepth:
        applyChorus(state);
        return;
    case ModuleParam::MasterVolume:
    case ModuleParam::MasterBalance:
        applyGain(state);
        return;
    case ModuleParam::MasterTune:
    case ModuleParam::MasterTranspose:
        applyTuning(state, drums);
        return;
    case ModuleParam::PartReceive:
        applyRouting(state);
        return;
    default:
        applyPart(s);
        return;
    }
}

void FluidModuleEffects::applyReverb(const ModuleEffectsState& state) {
    const ReverbType& type = ReverbTypes()[static_cast<std::size_t>(state.reverbType)];
    const double seconds = state.reverbTime > 0 ? state.reverbTime / 100.0 : type.seconds;
    fluid_synth_set_reverb_group_roomsize(synth_, -1, RoomSize(seconds));
    fluid_synth_set_reverb_group_damp(synth_, -1, type.damping);
    fluid_synth_set_reverb_group_width(synth_, -1, type.width);
    fluid_synth_set_reverb_group_level(synth_, -1,
                                       std::min(1.0, type.level * state.reverbLevel / 64.0));
}

void FluidModuleEffects::applyChorus(const ModuleEffectsState& state) {
    const ChorusType& type = ChorusTypes()[static_cast<std::size_t>(state.chorusType)];
    const double rate = state.chorusRate > 0 ? state.chorusRate / 100.0 : type.rateHz;
    const double depth = state.chorusDepth > 0 ? state.chorusDepth / 100.0 : type.depthMs;
    fluid_synth_set_chorus_group_nr(synth_, -1, type.voices);
    fluid_synth_set_chorus_group_speed(synth_, -1, std::clamp(rate, 0.1, 5.0));
    fluid_synth_set_chorus_group_depth(synth_, -1, std::clamp(depth, 0.0, 256.0));
    fluid_synth_set_chorus_group_level(synth_, -1,
                                       std::min(10.0, type.level * state.chorusLevel / 64.0));
}

void FluidModuleEffects::applyGain(const ModuleEffectsState& state) {
    // Amplitude in proportion to the master volume: half of it is 6 dB down.
    fluid_synth_set_gain(synth_, static_cast<float>(gain_ * state.masterVolume / 16383.0));
    // A pan law that keeps the centre at full level: the far side only goes down.
    const float pan = std::clamp((state.masterBalance - 8192) / 8191.0f, -1.0f, 1.0f);
    left_ = pan > 0 ? 1.0f - pan : 1.0f;
    right_ = pan < 0 ? 1.0f + pan : 1.0f;
}

void FluidModuleEffects::applyTuning(const ModuleEffectsState& state, std::uint16_t drums) {
    const double fine = state.masterTune / 10.0;
    const double shifted = fine + 100.0 * state.masterTranspose;
    const bool tuned = fine != 0.0 || state.masterTranspose != 0;
    if (!tuned && !tuned_)
        return;
    tuned_ = tuned;
    if (!tuned) {
        for (int c = 0; c < 16; ++c)
            fluid_synth_deactivate_tuning(synth_, c, 1);
        return;
    }
    double melodic[12], drum[12];
    std::fill(std::begin(melodic), std::end(melodic), shifted);
    std::fill(std::begin(drum), std::end(drum), fine);
    fluid_synth_activate_octave_tuning(synth_, kTuningBank, kMelodicTuning, "master", melodic, 1);
    fluid_synth_activate_octave_tuning(synth_, kTuningBank, kDrumTuning, "master drums", drum, 1);
    for (int c = 0; c < 16; ++c)
        fluid_synth_activate_tuning(synth_, c, kTuningBank,
                                    drums >> c & 1 ? kDrumTuning : kMelodicTuning, 1);
}

void FluidModuleEffects::applyRouting(const ModuleEffectsState& state) {
    listeners_.fill(0);
    plainRouting_ = true;
    for (int part = 0; part < 16; ++part) {
        const int channel = state.receive[static_cast<std::size_t>(part)];
        plainRouting_ = plainRouting_ && channel == part;
        if (channel < 16)
            listeners_[static_cast<std::size_t>(channel)] |= static_cast<std::uint16_t>(1u << part);
    }
}

void FluidModuleEffects::applyPart(const ModuleSetting& s) {
    const int part = s.part & 15;
    switch (s.param) {
    case ModuleParam::PartLevel:
        fluid_synth_cc(synth_, part, 7, s.value);
        return;
    case ModuleParam::PartPan:
        fluid_synth_cc(synth_, part, 10, s.value == 0 ? 64 : s.value); // 0: random, not here
        return;
    case ModuleParam::PartReverbSend:
        fluid_synth_cc(synth_, part, 91, s.value);
        return;
    case ModuleParam::PartChorusSend:
        fluid_synth_cc(synth_, part, 93, s.value);
        return;
    default:
        break;
    }
    for (const PartGenerator& g : kPartGenerators)
        if (g.param == s.param)
            fluid_synth_set_gen(synth_, part, g.generator, g.perStep * static_cast<float>(s.value));
}

} // namespace tobira
