// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns song list lines into a play list in name order, new songs first, or weighted random.

#include "ports/ports.h"
#include "midi_windows/list_messages.h"
#include "midi_windows/play_list.h"

#include <optional>
#include <string>
#include <vector>

namespace tobira {

// The play order; the values are those of the setting MODESELEC.
enum class MidiOrder { Nor = 0, New = 1, Rnd = 2 };

// Arranges the work list (list lines, sorted by SortListLines) into `playList`, appending to what
// it holds:
//  - Nor: marks are stripped from the shown text; marked songs still come first.
//  - New: the marked songs at the head of the list first, whatever their Feel, then the rest
//    shuffled.
//  - Rnd: each song by its Feel: 0 twice, 1 once, 2 when random(10) < 5, any other never; then
//    shuffled.
// In every order an unmarked song of Feel "3" is left out. Returns false, having appended
// nothing, when in Rnd a Feel is not a number; the caller shows the list's unreadable message.
[[nodiscard]] bool BuildPlayList(std::vector<std::string> workList, MidiOrder order,
                                 RandomPort& random, PlayList& playList);

// The work list for a play list from the chosen source: the file's lines sorted, or for
// BothLists the lines of both files sorted as one list (a missing one of the two adds none).
// A missing file, an unreadable one, or no line at all shows the matching message on `messages`
// and gives an empty optional. The files are read on a worker under the busy cursor.
std::optional<std::vector<std::string>> LoadWorkList(MidiListSource source,
                                                     const std::string& list0Path,
                                                     const std::string& list1Path,
                                                     MessagePort& messages, BusyCursorPort& busy);

// Empties the play list and fills it from the source in the order (LoadWorkList, then
// BuildPlayList, whose failure shows the source's unreadable message). True when the play list
// then holds at least one entry.
bool LoadPlayList(MidiListSource source, MidiOrder order, const std::string& list0Path,
                  const std::string& list1Path, RandomPort& random, MessagePort& messages,
                  BusyCursorPort& busy, PlayList& playList);

} // namespace tobira
