// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_options.h"

#include <string_view>

namespace tobira {

ProgramOptions ReadProgramOptions(int argc, const char* const argv[]) {
    ProgramOptions options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        // A lone "-" is a name (the usual "standard input"), not an option.
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            options.operands.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            if (options.ask == ProgramOptions::Ask::Run)
                options.ask = ProgramOptions::Ask::Help;
        } else if (argument == "--version") {
            if (options.ask == ProgramOptions::Ask::Run)
                options.ask = ProgramOptions::Ask::Version;
        } else if (options.refused.empty()) {
            options.refused = argument;
        }
    }
    if (!options.refused.empty() && options.ask == ProgramOptions::Ask::Run)
        options.ask = ProgramOptions::Ask::Refused;
    return options;
}

std::string VersionLine(const char* program) {
    return std::string(program) + " " + TOBIRA_VERSION;
}

} // namespace tobira
