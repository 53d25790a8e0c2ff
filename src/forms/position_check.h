// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a window position stored in the settings file is plausible on the current screen.
// A window whose stored position fails its check is centred instead; the default -1 always
// fails, so a first start centres every window.

#include "ports/ports.h"

namespace tobira {

// 1 <= x < width - 282 and 1 <= y < height - 75.
bool MainWindowPositionUsable(ScreenPoint stored, ScreenSize screen);

// 0 < x < width - 420 and 0 < y < height - 190.
bool TrackControlPositionUsable(ScreenPoint stored, ScreenSize screen);

// The MIDI control window, the MIDI selector and the document reader:
// 0 < x < width - 100 and 0 < y < height - 50.
bool SideWindowPositionUsable(ScreenPoint stored, ScreenSize screen);

} // namespace tobira
