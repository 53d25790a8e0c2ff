// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The inspection program's output: the core's code page 932 texts on a UTF-8 terminal.

#include <string>

namespace tobira::inspect {

// One line on stdout; `cp932` is converted.
void Line(const std::string& cp932);
// A line of a label and a value, indented under the file's name: "  label: value".
void Field(const char* utf8Label, const std::string& cp932Value);

// Code page 932 from a UTF-8 literal.
std::string Sjis(const char* utf8);

} // namespace tobira::inspect
