// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colour identifiers as the settings file stores them: the name of a standard colour
// ("clLime", "clYellow", ...) or "$" and eight hexadecimal digits of the value 0x00BBGGRR.

#include "forms/controls_state.h"

#include <optional>
#include <string>
#include <string_view>

namespace tobira {

// The standard colour's name when there is one, else "$00BBGGRR" (upper-case digits).
std::string ColorToIdent(Color color);

// A standard colour's name (without regard to case), or a number: "$" or "0x" and hexadecimal
// digits, or decimal, of the value 0x00BBGGRR. Empty for anything else, and for values beyond
// 24 bits (the system colours of other platforms).
std::optional<Color> IdentToColor(std::string_view ident);

} // namespace tobira
