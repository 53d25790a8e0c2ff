// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/cd_device_choice.h"

#include "player/form_main.h"

namespace tobira {
namespace {

void closeQuietly(MediaDevice& device) {
    try {
        device.stop();
    } catch (const DeviceError&) {
    }
    try {
        device.close();
    } catch (const DeviceError&) {
    }
}

} // namespace

void UseCdDevice(TFormMain& main, const std::string& name) {
    MediaDevice& cd = main.Devices.CD;
    if (main.PlayerMode == PlayerModeKind::CD && (main.IsCdPlaying() || main.IsCdPaused())) {
        main.PendingCdDevice = name;
        return;
    }
    main.PendingCdDevice.reset();
    const std::string old = cd.fileName();
    cd.setFileName(name);
    if (main.PlayerMode != PlayerModeKind::CD)
        return;
    closeQuietly(cd);
    main.DiscInfoRead = false;
    try {
        cd.open();
    } catch (const DeviceError&) {
        cd.setFileName(old);
        try {
            cd.open();
        } catch (const DeviceError&) {
            // The old device has gone too; the tick shows no disc until one is chosen.
        }
        throw;
    }
}

} // namespace tobira
