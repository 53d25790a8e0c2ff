// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which Qt platform the player asks for. Wayland lets no client place its own windows, so the
// side windows, the mode announcement and the saved positions would land wherever the
// compositor puts them; XWayland places them as described. So X11 comes first whenever an X
// display is there, and Wayland otherwise. A choice of the user's own always stands.

#include <optional>
#include <string>

namespace tobira {

struct PlatformInputs {
    std::string qpaPlatform;       // QT_QPA_PLATFORM
    std::string display;           // DISPLAY
    bool platformArgument = false; // -platform on the command line
};

// The value for QT_QPA_PLATFORM ("xcb;wayland": X11, else Wayland), or none to leave Qt's
// own order.
std::optional<std::string> PreferredPlatform(const PlatformInputs& inputs);

} // namespace tobira
