// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/loop_plan.h"

#include <algorithm>
#include <cmath>

namespace tobira {

LoopPlan::LoopPlan(std::uint64_t lengthMicros, std::uint64_t loopStartMicros,
                   std::uint64_t loopEndMicros, LoopSetting setting)
    : songMicros_(lengthMicros) {
    // A loop of a moment is a mark left over, not music to repeat.
    constexpr std::uint64_t kShortestLoop = 100'000;
    if (!setting.on() || loopEndMicros < loopStartMicros + kShortestLoop ||
        loopEndMicros > lengthMicros)
        return;
    loopStart_ = loopStartMicros;
    loopEnd_ = loopEndMicros;
    repeats_ = std::clamp(setting.repeats, 1, LoopSetting::kMaxRepeats);
    fadeMicros_ = static_cast<std::uint64_t>(
                      std::clamp(setting.fadeSeconds, 0, LoopSetting::kMaxFadeSeconds)) *
                  1'000'000;
}

LoopPlan LoopPlan::ForSong(const SmfSong& song, LoopSetting setting) {
    const auto micros = [&song](std::uint64_t tick) {
        return static_cast<std::uint64_t>(std::llround(song.secondsAtTick(tick) * 1e6));
    };
    const std::uint64_t length = micros(song.lastTick());
    if (!song.loop())
        return LoopPlan(length);
    return LoopPlan(length, micros(song.loop()->startTick), micros(song.loop()->endTick), setting);
}

std::uint64_t LoopPlan::fadeStartMicros() const {
    if (!loops())
        return songMicros_;
    return loopEnd_ + static_cast<std::uint64_t>(repeats_) * (loopEnd_ - loopStart_);
}

std::uint64_t LoopPlan::playedMicros() const {
    return fadeStartMicros() + fadeMicros_;
}

std::uint64_t LoopPlan::songMicrosAt(std::uint64_t played) const {
    if (!loops())
        return std::min(played, songMicros_);
    played = std::min(played, playedMicros());
    if (played < loopEnd_)
        return played;
    return loopStart_ + (played - loopStart_) % (loopEnd_ - loopStart_);
}

double LoopPlan::gainAt(std::uint64_t played) const {
    const std::uint64_t fade = fadeStartMicros();
    if (fadeMicros_ == 0 || played <= fade)
        return 1.0;
    if (played >= playedMicros())
        return 0.0;
    return 1.0 - static_cast<double>(played - fade) / static_cast<double>(fadeMicros_);
}

} // namespace tobira
