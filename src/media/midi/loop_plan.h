// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How long a song plays, and where in the song each moment of its play lies, when its loop is
// played as a game plays it: the part before the loop, the loop once and `repeats` more times,
// then round the loop again while the sound fades out over `fadeSeconds`. Without a loop, or
// with the setting off, the song plays once, as it is.

#include "media/midi/smf_song.h"

#include <cstdint>

namespace tobira {

// The setup option: 0 repeats is off; otherwise 1..9.
struct LoopSetting {
    static constexpr int kMaxRepeats = 9;
    static constexpr int kMaxFadeSeconds = 10;
    int repeats = 0;
    int fadeSeconds = 0;
    bool on() const { return repeats > 0; }
    friend bool operator==(const LoopSetting&, const LoopSetting&) = default;
};

class LoopPlan final {
  public:
    LoopPlan() = default;
    // Plays `lengthMicros` once.
    explicit LoopPlan(std::uint64_t lengthMicros) : songMicros_(lengthMicros) {}
    // Loops from `loopStartMicros` to `loopEndMicros` (within the song) as `setting` says.
    LoopPlan(std::uint64_t lengthMicros, std::uint64_t loopStartMicros, std::uint64_t loopEndMicros,
             LoopSetting setting);
    // The song's own loop, if it has one.
    static LoopPlan ForSong(const SmfSong& song, LoopSetting setting);

    bool loops() const { return loopEnd_ > loopStart_; }
    std::uint64_t loopStartMicros() const { return loopStart_; }
    std::uint64_t loopEndMicros() const { return loopEnd_; }
    // The whole play, fade included.
    std::uint64_t playedMicros() const;
    // Where the fade starts; playedMicros() when there is none.
    std::uint64_t fadeStartMicros() const;
    // The song's time at `played` into the play.
    std::uint64_t songMicrosAt(std::uint64_t played) const;
    // The sound's level at `played`: 1 until the fade, falling in a straight line to 0 at the
    // end of the play.
    double gainAt(std::uint64_t played) const;

  private:
    std::uint64_t songMicros_ = 0;
    std::uint64_t loopStart_ = 0;
    std::uint64_t loopEnd_ = 0;
    int repeats_ = 0;
    std::uint64_t fadeMicros_ = 0;
};

} // namespace tobira
