// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message shown when a song cannot be played, also printed by the inspection program so
// that a user sees there what the player would say.

#include <string>

namespace tobira {

// "【ＭＩＤＩタイトル】 entry", "【ＭＩＤＩファイル】 path", the play-error line, and `reason` on a
// line of its own when there is one (all code page 932).
std::string MidiPlayErrorText(const std::string& entryText, const std::string& path,
                              const std::string& reason);

// Why a song's file cannot be opened, as the player says before it plays it: "ＭＩＤＩファイル 【
// entry 】" and the cause (a FIFO, no permission, a link loop…) with the path on a line of its own,
// or "がありません" for a file that is not there. Empty when the file opens; opened without
// blocking.
std::string SongFileProblemText(const std::string& entryText, const std::string& cp932Path);

} // namespace tobira
