#pragma once
// The message shown when a song cannot be played, also printed by the inspection program so
// that a user sees there what the player would say.

#include <string>

namespace tobira {

// "【ＭＩＤＩタイトル】 entry", "【ＭＩＤＩファイル】 path", the play-error line, and `reason` on a
// line of its own when there is one (all code page 932).
std::string MidiPlayErrorText(const std::string& entryText, const std::string& path,
                              const std::string& reason);

} // namespace tobira
