// SPDX-License-Identifier: GPL-3.0-or-later
// The entry point of the synthesizer module: FluidSynth behind the table the program loads.
#include "media/midi/fluidsynth/fluid_synthesizer.h"
#include "media/midi/synth_module.h"

namespace tobira {
namespace {

void CheckInModule(const std::filesystem::path& soundFont) {
    CheckFluidSoundFont(soundFont);
}

std::unique_ptr<MidiSynthesizer> MakeInModule(const std::filesystem::path& soundFont,
                                              double probeRms, int sampleRate) {
    return std::make_unique<FluidSynthesizer>(soundFont, probeRms, sampleRate);
}

const char* VersionInModule() {
    return fluid_version_str();
}

constexpr SynthModuleTable kTable{kSynthModuleAbi, CheckInModule, MakeInModule, VersionInModule,
                                  FluidDlsProblem};

} // namespace
} // namespace tobira

extern "C" __attribute__((visibility("default"))) const tobira::SynthModuleTable*
tobira_synth_module() {
    return &tobira::kTable;
}
