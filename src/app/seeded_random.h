// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ports.h"

#include <cstdint>
#include <random>

namespace tobira {

// The program's one random generator, seeded once at start-up.
class SeededRandom final : public RandomPort {
  public:
    void seed(std::uint64_t value) { engine_.seed(value); }
    int random(int k) override;

  private:
    std::mt19937_64 engine_{0};
};

} // namespace tobira
