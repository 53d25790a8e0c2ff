// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/setup_options.h"

namespace tobira::testing {

// Setup options as a plain value, for windows tested without the setup window.
struct FixedSetupOptions final : SetupOptionsSource {
    SetupOptions options;
    SetupOptions CurrentOptions() const override { return options; }
};

} // namespace tobira::testing
