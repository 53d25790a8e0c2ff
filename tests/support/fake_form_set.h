// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form_set.h"
#include "controls/mixer_ctrl.h"
#include "support/fake_media_device.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"

namespace tobira::testing {

// The eleven windows over fake ports and fake devices, without a mixer device, in a fresh program
// folder: where most window tests start.
struct FakeFormSet {
    TempDir folder;
    FakePorts fakes;
    FakeMediaDevice cd, midi, wave;
    TMixerCtrl mixer;
    FormSet forms{fakes.ports(), DataPaths::InFolder(folder.path()), MediaDevices{cd, midi, wave},
                  mixer};
};

} // namespace tobira::testing
