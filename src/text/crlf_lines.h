// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line layout of the program's text files: CR LF after every line when written; CR, LF and
// CR LF each end a line when read.

#include <string>
#include <string_view>
#include <vector>

namespace tobira {

// The lines of `bytes`, without their ends; text after the last line end is a line too.
std::vector<std::string_view> SplitLines(std::string_view bytes);

// Every line followed by CR LF.
std::string JoinCrLfLines(const std::vector<std::string>& lines);

} // namespace tobira
