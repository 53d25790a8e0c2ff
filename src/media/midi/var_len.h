// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The variable-length numbers of SMF (seven bits a byte, high bit set on all but the last).

#include <cstdint>
#include <vector>

namespace tobira {

inline void PutVarLen(std::vector<std::uint8_t>& out, std::uint64_t value) {
    std::uint8_t groups[10];
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value > 0 && n < 10);
    while (n > 1)
        out.push_back(groups[--n] | 0x80);
    out.push_back(groups[0]);
}

} // namespace tobira
