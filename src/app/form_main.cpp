#include "app/form_main.h"

#include "settings/ini_file.h"
#include "settings/settings_keys.h"

namespace tobira {

TFormMain::TFormMain(Ports ports, DataPaths paths, MediaDevices devices, TCustomMixerCtrl& mixer)
    : FormModel("", 282, 68), Paths(std::move(paths)), Devices(devices), MixerCtrl1(mixer),
      ports_(ports) {
    Borderless = true;
}

void TFormMain::FormCreate() {
    DiscInfoRead = false;
    ResetDone = false;
    CentreOn(ports_.screen.screenSize());
    // Which drive or disc image to play; empty for the first drive found.
    Devices.CD.setFileName(ReadSetting(IniFile(Paths.SettingsPath), keys::CDDEVICE));
    Devices.CD.open();
}

void TFormMain::FormClose() {
    for (MediaDevice* device : {&Devices.CD, &Devices.MIDI, &Devices.WAVE}) {
        try {
            device->stop();
        } catch (...) {
        }
        try {
            device->close();
        } catch (...) {
        }
    }
}

} // namespace tobira
