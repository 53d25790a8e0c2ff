// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/media_setup_devices.h"

#include "media/media_device.h"
#include "media/midi/midi_device.h"
#include "media/loaders/sdl_api.h"
#include "media/loaders/shared_library.h"
#include "media/midi/midi_output_selector.h"
#include "media/midi/midi_synthesizer.h"
#include "media/midi/synth_module.h"
#include "text/cp932_convert.h"

#include <cdio/cdio.h>
#include <cdio/version.h>

#include <memory>

namespace tobira {

std::optional<std::string> MediaSetupDevices::soundFontProblem(const std::string& cp932Path) {
    try {
        MakeMidiSynthesizer(PathFromCp932(cp932Path), 0.1, 44100);
    } catch (const DeviceError& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

void MediaSetupDevices::useSoundFont(const std::string& cp932Path) {
    midi_.setSoundFont(cp932Path);
}

void MediaSetupDevices::useLoopSetting(int repeats, int fadeSeconds) {
    midi_.setLoopSetting(LoopSetting{repeats, fadeSeconds});
}

std::vector<std::string> MediaSetupDevices::cdDrives() {
    std::vector<std::string> drives;
    std::unique_ptr<char*, void (*)(char**)> list(cdio_get_devices(DRIVER_DEVICE),
                                                  [](char** l) { cdio_free_device_list(l); });
    for (char** drive = list.get(); drive && *drive; ++drive)
        if (auto name = Cp932FromPath(*drive))
            drives.push_back(*name);
    return drives;
}

std::vector<std::string> MediaSetupDevices::midiOutputs() {
    return output_ ? output_->listPorts() : std::vector<std::string>{};
}

void MediaSetupDevices::useMidiOutput(const std::string& cp932Port) {
    if (output_)
        output_->setPort(cp932Port);
}

LibraryVersions MediaLibraryVersions() {
    std::string sdlVersion;
    try {
        SDL_version sdl{};
        Sdl().GetVersion(&sdl);
        sdlVersion = std::to_string(sdl.major) + "." + std::to_string(sdl.minor) + "." +
                     std::to_string(sdl.patch);
    } catch (const LibraryError& e) {
        sdlVersion = e.what();
    }
    return {SynthLibraryVersion(), cdio_version_string, sdlVersion};
}

} // namespace tobira
