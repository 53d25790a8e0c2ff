#pragma once
// Where a side window opens when no position was stored for it: beside the main window, never
// over it, and on the screen.

#include "ports/ports.h"

namespace tobira {

class FormModel;

// The place (the frame's top-left corner) for `side`: below `main`, 15 pixels apart, left edges
// aligned; above it when there is no room below; else to its right or left; the whole window
// kept inside `area`. Until the side window has shown once, its frame is not known and a
// generous one is counted, so that a guess never lays it over the main window.
ScreenPoint PlaceBeside(const FormModel& main, const FormModel& side, ScreenArea area);

} // namespace tobira
