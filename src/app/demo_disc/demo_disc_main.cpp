// SPDX-License-Identifier: GPL-3.0-or-later
// tobira-demo-disc FOLDER: writes the demo disc image into FOLDER and prints its .cue path, so
// that a machine without a CD drive can play the CD side.

#include "app/program_options.h"
#include "media/cd/demo_disc.h"

#include <exception>
#include <iostream>

namespace {

constexpr const char* kUsage = "usage: tobira-demo-disc FOLDER\n"
                               "  Writes TOBIRA's demo disc (a CUE sheet and its BIN image, about "
                               "34 MB)\n  into FOLDER, made if need be, and prints the sheet's "
                               "path.\n";

} // namespace

int main(int argc, char* argv[]) {
    const tobira::ProgramOptions options = tobira::ReadProgramOptions(argc, argv);
    switch (options.ask) {
    case tobira::ProgramOptions::Ask::Help:
        std::cout << kUsage;
        return 0;
    case tobira::ProgramOptions::Ask::Version:
        std::cout << tobira::VersionLine("tobira-demo-disc") << '\n';
        return 0;
    case tobira::ProgramOptions::Ask::Refused:
        std::cerr << "tobira-demo-disc: unknown option " << options.refused << '\n' << kUsage;
        return 2;
    case tobira::ProgramOptions::Ask::Run:
        break;
    }
    if (options.operands.size() != 1) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        std::cout << tobira::WriteDemoDisc(options.operands[0]).cue.string() << '\n';
    } catch (const std::exception& error) {
        std::cerr << "tobira-demo-disc: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
