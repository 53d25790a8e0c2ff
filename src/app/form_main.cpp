#include "app/form_main.h"

namespace tobira {

TFormMain::TFormMain(Ports ports, DataPaths paths, MediaDevices devices)
    : FormModel("", 282, 68), Paths(std::move(paths)), Devices(devices), ports_(ports) {
    Borderless = true;
}

void TFormMain::FormCreate() {
    DiscInfoRead = false;
    ResetDone = false;
    CentreOn(ports_.screen.screenSize());
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
