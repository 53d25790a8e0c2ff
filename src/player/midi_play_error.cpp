#include "player/midi_play_error.h"

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

} // namespace tobira
