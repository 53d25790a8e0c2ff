// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/midi_play_error.h"

#include "files/regular_file.h"
#include "text/cp932_convert.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace tobira {

std::string MidiPlayErrorText(const std::string& entryText, const std::string& path,
                              const std::string& reason) {
    std::string text =
        Utf8ToCp932("【ＭＩＤＩタイトル】 ") + entryText + "\n" +
        Utf8ToCp932("【ＭＩＤＩファイル】 ") + path + "\n" +
        Utf8ToCp932(
            " ＭＩＤＩシステムが他で使用されているか、またはＭＩＤＩファイルの再生エラーです");
    if (!reason.empty())
        text += "\n" + reason;
    return text;
}

std::string SongFileProblemText(const std::string& entryText, const std::string& cp932Path) {
    const std::filesystem::path path = PathFromCp932(cp932Path);
    std::optional<FileError> problem;
    try {
        if (RegularFile::openIfExists(path, read_limit::Song))
            return {};
    } catch (const FileError& e) {
        problem = e;
    }
    // The described texts stand; what else is wrong with the file follows on a line of its own.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        std::string text =
            Utf8ToCp932("ＭＩＤＩファイル 【 ") + entryText + Utf8ToCp932(" 】 がありません");
        if (problem && problem->problem() != FileProblem::Missing)
            text += std::string("\n") + problem->what();
        return text;
    }
    return MidiPlayErrorText(entryText, cp932Path, problem ? problem->what() : std::string());
}

} // namespace tobira
