// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The clock the calls and the recording are placed on (the sound server's clock too).

#include <ctime>

namespace tobira::bench {

inline long long MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

} // namespace tobira::bench
