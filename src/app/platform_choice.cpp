// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/platform_choice.h"

namespace tobira {

std::optional<std::string> PreferredPlatform(const PlatformInputs& inputs) {
    if (!inputs.qpaPlatform.empty() || inputs.platformArgument || inputs.display.empty())
        return std::nullopt;
    // Wayland stays the fallback for an X display that does not answer.
    return "xcb;wayland";
}

} // namespace tobira
