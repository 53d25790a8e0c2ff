// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The messages about missing, unreadable or empty song list files (code page 932).

#include <string>

namespace tobira {

// Which list a play list is built from; the values are those of the setting LISTSELEC.
enum class MidiListSource { List0 = 0, List1 = 1, BothLists = 2 };

// "… がありません": the list's file (BothLists: both files) does not exist.
std::string ListMissingMessage(MidiListSource source);

// "… が読み込めないか、または空です": the file cannot be read or holds no line. Also the text of
// the list pages, the search page and the check for an unreadable list.
std::string ListUnreadableMessage(MidiListSource source);

} // namespace tobira
