#pragma once

#include "windows/setup_devices.h"

namespace tobira {

class MidiDevice;

// The setup window's devices on the synthesizer module and libcdio.
class MediaSetupDevices final : public SetupDevices {
  public:
    explicit MediaSetupDevices(MidiDevice& midi) : midi_(midi) {}

    // Loads the SoundFont into a synthesizer of its own, as the sequencer would.
    std::optional<std::string> soundFontProblem(const std::string& cp932Path) override;
    void useSoundFont(const std::string& cp932Path) override;
    std::vector<std::string> cdDrives() override;

  private:
    MidiDevice& midi_;
};

// The versions of the libraries in use, asked of them at run time.
struct LibraryVersions {
    std::string fluidSynth, libcdio, sdl2;
};
LibraryVersions MediaLibraryVersions();

} // namespace tobira
