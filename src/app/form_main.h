#pragma once

#include "app/data_paths.h"
#include "app/form_model.h"
#include "app/ports.h"
#include "media/media_device.h"

namespace tobira {

enum class PlayerModeKind { CD, MIDI };

// The three media devices the main window owns.
struct MediaDevices {
    MediaDevice& CD;
    MediaDevice& MIDI;
    MediaDevice& WAVE;
};

// The borderless 282 x 68 main window and the player state every other window reads.
class TFormMain final : public FormModel {
  public:
    TFormMain(Ports ports, DataPaths paths, MediaDevices devices);

    PlayerModeKind PlayerMode = PlayerModeKind::CD;
    bool DiscInfoRead = false;
    bool ResetDone = false;
    DataPaths Paths;

    // Builds the state, then opens the CD device; a device that cannot be opened throws, and
    // the program entry turns that into its start-up failure message.
    void FormCreate();
    // Stops and closes CD, MIDI and WAVE in that order; each call on its own, errors ignored.
    void FormClose();

    MediaDevices Devices;

  private:
    Ports ports_;
};

} // namespace tobira
