// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/list_messages.h"

#include "text/cp932_convert.h"

namespace tobira {

std::string ListMissingMessage(MidiListSource source) {
    switch (source) {
    case MidiListSource::List0:
        return Utf8ToCp932("リスト０ファイル（ＧＡＫＵＦＵ．ＤＴ０）がありません");
    case MidiListSource::List1:
        return Utf8ToCp932("リスト１ファイル（ＧＡＫＵＦＵ．ＤＴ１）がありません");
    case MidiListSource::BothLists:
        break;
    }
    return Utf8ToCp932(
        "リスト０とリスト１の両ファイル（ＧＡＫＵＦＵ．ＤＴ０とＧＡＫＵＦＵ．ＤＴ１）がありません");
}

std::string ListUnreadableMessage(MidiListSource source) {
    switch (source) {
    case MidiListSource::List0:
        return Utf8ToCp932(
            "リスト０ファイル（ＧＡＫＵＦＵ．ＤＴ０）が読み込めないか、または空です");
    case MidiListSource::List1:
        return Utf8ToCp932(
            "リスト１ファイル（ＧＡＫＵＦＵ．ＤＴ１）が読み込めないか、または空です");
    case MidiListSource::BothLists:
        break;
    }
    return Utf8ToCp932(
        "リスト０とリスト１の両ファイル（ＧＡＫＵＦＵ．ＤＴ０とＧＡＫＵＦＵ．ＤＴ１）"
        "が読み込めないか、または空です");
}

} // namespace tobira
