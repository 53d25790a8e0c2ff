// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windows/setup_devices.h"

namespace tobira {

class MidiDevice;
class MidiOutputSelector;

// The setup window's devices on the synthesizer module, the ALSA sequencer and libcdio.
class MediaSetupDevices final : public SetupDevices {
  public:
    // Without `output` the synthesizer is the only MIDI output.
    explicit MediaSetupDevices(MidiDevice& midi, MidiOutputSelector* output = nullptr)
        : midi_(midi), output_(output) {}

    // Loads the SoundFont into a synthesizer of its own, as the sequencer would.
    std::optional<std::string> soundFontProblem(const std::string& cp932Path) override;
    std::string dlsProblem() override;
    void useSoundFont(const std::string& cp932Path) override;
    std::vector<std::string> cdDrives() override;
    std::vector<std::string> midiOutputs() override;
    void useMidiOutput(const std::string& cp932Port) override;
    void useLoopSetting(int repeats, int fadeSeconds) override;

  private:
    MidiDevice& midi_;
    MidiOutputSelector* output_;
};

} // namespace tobira
