// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How much memory this test process holds, for the long-run tests.

#include <fstream>

#include <unistd.h>

namespace tobira::testing {

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's quarantine holds freed memory back: resident sizes say nothing then.
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif

// Resident set size in kB.
inline long ResidentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace tobira::testing
