// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Programs outside CTest (benchmarks) find the synthesizer module of this build tree.

#include <cstdlib>

namespace tobira::testing {

inline bool UseBuiltSynthModule() {
    setenv("TOBIRA_MODULE_DIR", TOBIRA_BUILT_MODULE_DIR, 0);
    return true;
}

} // namespace tobira::testing
