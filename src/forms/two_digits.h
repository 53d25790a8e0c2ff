// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tobira {

// A number in decimal with at least two digits ("05", "12", "123"), as the strip and the disc
// identity write their numbers.
inline std::string TwoDigits(long value) {
    std::string text = std::to_string(value < 0 ? -value : value);
    if (text.size() < 2)
        text.insert(0, "0");
    return value < 0 ? "-" + text : text;
}

} // namespace tobira
