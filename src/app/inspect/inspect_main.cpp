// SPDX-License-Identifier: GPL-3.0-or-later
// tobira-inspect FILE...: what the player makes of MIDI files, CUE sheets, song lists and
// albums, through the player's own readers. Exit status 0 when the player would play every file
// given, 1 when it would refuse one (with the message it would show), 2 for a wrong call.
#include "app/inspect/inspect_cue.h"
#include "app/inspect/inspect_list.h"
#include "app/inspect/inspect_midi.h"
#include "app/inspect/inspect_output.h"
#include "app/program_options.h"
#include "files/regular_file.h"
#include "media/cd/cd_medium.h"
#include "media/midi/midi_file_name.h"
#include "text/cp932_convert.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace tobira::inspect {
namespace {

enum class Kind { Midi, Cue, List };

// By name first, as the player decides; a file named otherwise by its first bytes.
Kind KindOf(const std::filesystem::path& path, const std::string& cp932Path) {
    if (IsMidiFileName(cp932Path))
        return Kind::Midi;
    if (CdMedium::isCueSheet(path))
        return Kind::Cue;
    // Sniffed through the readers' own opening, so a FIFO or device never blocks; a file that
    // cannot be opened goes to the list reader, which names the cause.
    std::string head;
    try {
        head = RegularFile::open(path, read_limit::List).readHead(12);
    } catch (const FileError&) {
        return Kind::List;
    }
    head.resize(12);
    if (head.starts_with("MThd") || (head.starts_with("RIFF") && head.substr(8) == "RMID"))
        return Kind::Midi;
    return Kind::List;
}

int Inspect(const char* argument) {
    const std::filesystem::path path(argument);
    const std::optional<std::string> cp932Path = Cp932FromPath(path);
    if (!cp932Path) {
        // The player refuses such a name before it reads anything, with these words.
        std::printf("このファイル名は使えません（Shift-JIS にない文字を含みます）:\n%s\n",
                    path.c_str());
        return 1;
    }
    switch (KindOf(path, *cp932Path)) {
    case Kind::Midi:
        return InspectMidi(*cp932Path);
    case Kind::Cue:
        return InspectCue(path);
    case Kind::List:
        return InspectList(*cp932Path);
    }
    return 1;
}

} // namespace
} // namespace tobira::inspect

int main(int argc, char* argv[]) {
    constexpr const char* usage =
        "usage: tobira-inspect FILE...\n"
        "  MIDI files (.mid .midi .kar .rmi), CUE sheets, song lists and albums:\n"
        "  what the player makes of each, or why it would refuse it (exit status 1).\n";
    const tobira::ProgramOptions options = tobira::ReadProgramOptions(argc, argv);
    switch (options.ask) {
    case tobira::ProgramOptions::Ask::Help:
        std::fputs(usage, stdout);
        return 0;
    case tobira::ProgramOptions::Ask::Version:
        std::printf("%s\n", tobira::VersionLine("tobira-inspect").c_str());
        return 0;
    case tobira::ProgramOptions::Ask::Refused:
        std::fprintf(stderr, "tobira-inspect: unknown option %s\n%s", options.refused.c_str(),
                     usage);
        return 2;
    case tobira::ProgramOptions::Ask::Run:
        break;
    }
    if (options.operands.empty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    int status = 0;
    for (const std::string& file : options.operands) {
        if (tobira::inspect::Inspect(file.c_str()) != 0)
            status = 1;
    }
    return status;
}
