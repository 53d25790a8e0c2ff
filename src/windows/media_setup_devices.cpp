// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/media_setup_devices.h"

#include "media/media_device.h"
#include "media/midi/midi_device.h"
#include "media/library_facts.h"
#include "media/midi/midi_output_selector.h"
#include "media/midi/midi_synthesizer.h"
#include "media/midi/synth_module.h"
#include "text/cp932_convert.h"

namespace tobira {

std::optional<std::string> MediaSetupDevices::soundFontProblem(const std::string& cp932Path) {
    try {
        MakeMidiSynthesizer(PathFromCp932(cp932Path), 0.1, 44100);
    } catch (const DeviceError& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

std::string MediaSetupDevices::dlsProblem() {
    return SynthDlsProblem();
}

void MediaSetupDevices::useSoundFont(const std::string& cp932Path) {
    midi_.setSoundFont(cp932Path);
}

void MediaSetupDevices::useLoopSetting(int repeats, int fadeSeconds) {
    midi_.setLoopSetting(LoopSetting{repeats, fadeSeconds});
}

std::vector<std::string> MediaSetupDevices::cdDrives() {
    return CdDriveNames();
}

std::vector<std::string> MediaSetupDevices::midiOutputs() {
    return output_ ? output_->listPorts() : std::vector<std::string>{};
}

void MediaSetupDevices::useMidiOutput(const std::string& cp932Port) {
    if (output_)
        output_->setPort(cp932Port);
}

} // namespace tobira
