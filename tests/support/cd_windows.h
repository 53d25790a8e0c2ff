// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cd_windows/form_list.h"
#include "cd_windows/form_manage.h"
#include "cd_windows/form_pattern.h"
#include "controls/mixer_ctrl.h"
#include "player/form_main.h"
#include "support/fake_media_device.h"
#include "support/fake_ports.h"
#include "support/fixed_setup_options.h"
#include "support/temp_dir.h"
#include "windows/form_msg.h"

namespace tobira::testing {

// The track control window with only the windows it works with (the main window, the pattern
// selector and management window, the author message), wired as the window set wires them, in
// a fresh program folder. The main window's own peers are not set: its handlers stay unused.
struct CdWindows {
    TempDir folder;
    FakePorts fakes;
    FakeMediaDevice cd, midi, wave;
    TMixerCtrl mixer;
    FixedSetupOptions setup;
    TFormMain main{fakes.ports(), DataPaths::InFolder(folder.path()), MediaDevices{cd, midi, wave},
                   mixer};
    TFormList list;
    TFormPattern selector{fakes.ports()};
    TFormManage manage{fakes.ports()};
    TFormMsg msg;

    CdWindows() {
        list.SetPeers({.Main = main, .Msg = msg, .Manage = manage, .Options = setup},
                      fakes.ports());
        selector.SetPeers(main, list);
        manage.SetPeers(main, list, selector);
    }
};

} // namespace tobira::testing
