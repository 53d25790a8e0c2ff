// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a side window opens when no position was stored for it: beside the main window, never
// over it nor over another open window when the screen has room, and on the screen.

#include "ports/ports.h"

#include <vector>

namespace tobira {

class FormModel;

// The place (the frame's top-left corner) for `side`: below `main`, 15 pixels apart, left edges
// aligned; above it when there is no room below; else to its right or left; the whole window
// kept inside `area`. A place that would cover one of `open` (the program's other windows
// showing now) is passed over, and the same places beside each of those are tried next; only
// when none is free does the window go beside the main window over another one. Until a window
// has shown once, its frame is not known and a generous one is counted, so that a guess never
// lays it over its neighbour.
ScreenPoint PlaceBeside(const FormModel& main, const FormModel& side, ScreenArea area,
                        const std::vector<const FormModel*>& open = {});

} // namespace tobira
