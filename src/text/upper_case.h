// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tobira {

// Code page 932 upper-casing: ASCII a-z, full-width ａ-ｚ, Greek α-ω and Cyrillic а-я become
// their capitals; every other character, and every trail byte, is left alone.
std::string UpperCaseCp932(std::string_view text);

} // namespace tobira
