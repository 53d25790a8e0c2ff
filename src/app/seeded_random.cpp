// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/seeded_random.h"

namespace tobira {

int SeededRandom::random(int k) {
    if (k <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, k - 1)(engine_);
}

} // namespace tobira
