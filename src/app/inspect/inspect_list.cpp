// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/inspect/inspect_list.h"

#include "app/inspect/inspect_output.h"
#include "files/regular_file.h"
#include "media/midi/smf_reader.h"
#include "midi_windows/list_file.h"
#include "midi_windows/list_messages.h"
#include "midi_windows/midi_title.h"
#include "midi_windows/song_record.h"
#include "player/midi_play_error.h"
#include "text/cp932_convert.h"
#include "text/upper_case.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tobira::inspect {

namespace {

// The list's own message for a file that cannot be read or is empty.
std::string UnreadableMessage(const std::string& cp932Path) {
    const std::string name = UpperCaseCp932(FileNameOfPath(cp932Path));
    if (name == "GAKUFU.DT0")
        return ListUnreadableMessage(MidiListSource::List0);
    if (name == "GAKUFU.DT1")
        return ListUnreadableMessage(MidiListSource::List1);
    return Sjis("【") + cp932Path + Sjis("】が読み込めないか、または空です");
}

// Why the player would not play this entry; empty when it would.
std::string EntryProblem(const SongRecord& record, const std::string& entryText) {
    if (std::string problem = SongFileProblemText(entryText, record.Path); !problem.empty())
        return problem;
    try {
        ParseSmf(ReadSmfBytes(PathFromCp932(record.Path)));
    } catch (const SmfError& e) {
        return MidiPlayErrorText(entryText, record.Path, SmfOpenMessage(record.Path, e));
    }
    return {};
}

} // namespace

int InspectList(const std::string& cp932Path) {
    std::optional<std::vector<std::string>> lines;
    std::string cause;
    try {
        lines = ReadListFile(cp932Path);
    } catch (const FileError& e) {
        cause = e.what();
    } catch (const std::system_error& e) {
        cause = Utf8ToCp932(e.what());
    }
    if (!lines || lines->empty()) {
        Line(UnreadableMessage(cp932Path));
        if (!cause.empty())
            Line(cause);
        return 1;
    }
    Line(cp932Path);
    int playable = 0;
    int number = 0;
    for (const std::string& line : *lines) {
        ++number;
        const SongRecord record = SplitListLine(line);
        const std::string entryText = record.Vol + " " + record.Title;
        Field(std::to_string(number).c_str(), entryText + "  " + record.Path);
        std::string problem = EntryProblem(record, entryText);
        if (!ParseListNumber(record.Feel))
            problem += (problem.empty() ? "" : "\n") +
                       Sjis("好感度が数字ではありません：ランダム再生でリストが読めなくなります");
        if (problem.empty()) {
            ++playable;
            continue;
        }
        for (std::size_t from = 0; from <= problem.size();) {
            const std::size_t end = std::min(problem.find('\n', from), problem.size());
            Line("    " + problem.substr(from, end - from));
            from = end + 1;
        }
    }
    Field("再生できる曲", std::to_string(playable) + " / " + std::to_string(number));
    return playable > 0 ? 0 : 1;
}

} // namespace tobira::inspect
