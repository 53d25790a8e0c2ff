// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/position_check.h"

namespace tobira {
namespace {

// The margins keep enough of each window on the screen to grab it again.
bool inside(ScreenPoint p, ScreenSize screen, int marginX, int marginY) {
    return p.x > 0 && p.x < screen.width - marginX && p.y > 0 && p.y < screen.height - marginY;
}

} // namespace

bool MainWindowPositionUsable(ScreenPoint stored, ScreenSize screen) {
    return inside(stored, screen, 282, 75);
}

bool TrackControlPositionUsable(ScreenPoint stored, ScreenSize screen) {
    return inside(stored, screen, 420, 190);
}

bool SideWindowPositionUsable(ScreenPoint stored, ScreenSize screen) {
    return inside(stored, screen, 100, 50);
}

} // namespace tobira
