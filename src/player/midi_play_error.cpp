#include "player/midi_play_error.h"

#include "files/regular_file.h"
#include "text/cp932_convert.h"

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
    const std::string head = Utf8ToCp932("ＭＩＤＩファイル 【 ") + entryText + Utf8ToCp932(" 】 ");
    try {
        if (RegularFile::openIfExists(PathFromCp932(cp932Path), read_limit::Song))
            return {};
    } catch (const FileReadError& e) {
        return head + e.cause() + "\n" + cp932Path;
    }
    return head + Utf8ToCp932("がありません");
}

} // namespace tobira
