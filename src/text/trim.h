// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Removal of half-width (0x20) and full-width (0x81 0x40) spaces at the ends of a text. The
// 0x40 that ends a full-width space is never taken for an at sign, nor the reverse.

#include <string>
#include <string_view>

namespace tobira {

std::string TrimSpaces(std::string_view text);
std::string TrimLeftSpaces(std::string_view text);
std::string TrimRightSpaces(std::string_view text);

} // namespace tobira
