// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The synthesizer back end is a module of its own (tobira-fluidsynth.so), loaded on first use,
// so that starting the program and playing CDs never pay for FluidSynth and the libraries it
// pulls in. This is the table of functions the module exports, and the loader.

#include "media/midi/midi_synthesizer.h"

#include <filesystem>
#include <memory>
#include <string>

namespace tobira {

// What the module's one exported C function returns. Both sides are built together; errors
// cross as DeviceError.
struct SynthModuleTable {
    int abiVersion;
    void (*checkSoundFont)(const std::filesystem::path& soundFont);
    std::unique_ptr<MidiSynthesizer> (*make)(const std::filesystem::path& soundFont,
                                             double probeRms, int sampleRate);
    const char* (*libraryVersion)();
    // Empty when the synthesizer reads DLS collections, else why not (code page 932).
    std::string (*dlsProblem)();
};

inline constexpr int kSynthModuleAbi = 4;
inline constexpr const char* kSynthModuleFile = "tobira-fluidsynth.so";
inline constexpr const char* kSynthModuleEntry = "tobira_synth_module";

// The loaded module, loaded on the first call: from $TOBIRA_MODULE_DIR when set, else beside
// the executable, else from the library folder of the executable's prefix, else from the
// library folder of the prefix it was built for. DeviceError naming the file and
// the reason when it cannot be loaded; the next call tries again.
const SynthModuleTable& SynthModule();

// The synthesizer library's version, or the reason the module cannot be loaded.
std::string SynthLibraryVersion();
// Empty when the synthesizer reads DLS collections as SoundFonts, else why not (code page 932):
// its build lacks the library for them, or the module cannot be loaded.
std::string SynthDlsProblem();

} // namespace tobira
