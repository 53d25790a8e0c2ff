// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options every program here shares: --help, --version, and "--" before a file name that
// begins with a dash. Anything else beginning with a dash is refused, so that a mistyped option
// never becomes the name of a file or folder the program writes.

#include <string>
#include <vector>

namespace tobira {

struct ProgramOptions {
    enum class Ask { Run, Help, Version, Refused };
    Ask ask = Ask::Run;
    std::vector<std::string> operands; // the other arguments, in order
    std::string refused;               // the unknown option, when refused
};

// Reads argv[1..argc). The first of --help and --version wins (the answer writes nothing);
// otherwise an unknown option refuses the whole call.
ProgramOptions ReadProgramOptions(int argc, const char* const argv[]);

// The line a program prints for --version: "<program> <version>".
std::string VersionLine(const char* program);

} // namespace tobira
