// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A DLS (Downloadable Sounds level 1) collection made by code: one melodic instrument, bank 0
// program 0, whose one region plays a looped sine wave over every key.

#include <cstdint>
#include <vector>

namespace tobira::testing {

std::vector<std::uint8_t> SineDls();

} // namespace tobira::testing
