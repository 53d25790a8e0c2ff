// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/smf_song.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tobira {

namespace {

void KeepEarlier(std::optional<std::uint64_t>& mark, const std::optional<std::uint64_t>& other) {
    if (other && (!mark || *other < *mark))
        mark = other;
}

} // namespace

void SmfLoopMarks::merge(const SmfLoopMarks& other) {
    KeepEarlier(startMarker, other.startMarker);
    KeepEarlier(endMarker, other.endMarker);
    KeepEarlier(control111, other.control111);
    KeepEarlier(control116, other.control116);
    KeepEarlier(control117, other.control117);
}

std::optional<SmfLoop> SmfLoopMarks::loop(std::uint64_t lastTick) const {
    const auto made = [lastTick](std::uint64_t start,
                                 std::optional<std::uint64_t> end) -> std::optional<SmfLoop> {
        const std::uint64_t to = std::min(end.value_or(lastTick), lastTick);
        if (to <= start)
            return std::nullopt;
        return SmfLoop{start, to};
    };
    if (startMarker)
        if (auto l = made(*startMarker, endMarker))
            return l;
    if (control116)
        if (auto l = made(*control116, control117 && *control117 > *control116
                                           ? control117
                                           : std::optional<std::uint64_t>()))
            return l;
    if (control111)
        return made(*control111, std::nullopt);
    return std::nullopt;
}

SmfSong::SmfSong(int format, int trackCount, int division, std::vector<SmfTempo> tempos,
                 std::uint64_t lastTick)
    : format_(format), trackCount_(trackCount), division_(division > 0 ? division : 480),
      lastTick_(lastTick) {
    // Stable: of several tempo events at one tick, the one read last is the one in force.
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const SmfTempo& a, const SmfTempo& b) { return a.tick < b.tick; });
    tempoMap_.clear();
    tempoMap_.push_back(SmfTempo{});
    for (const SmfTempo& t : tempos) {
        if (t.tick == tempoMap_.back().tick)
            tempoMap_.back() = t;
        else
            tempoMap_.push_back(t);
    }
}

double SmfSong::secondsAtTick(std::uint64_t tick) const {
    double micros = 0.0;
    for (std::size_t i = 0; i < tempoMap_.size(); ++i) {
        const SmfTempo& t = tempoMap_[i];
        if (t.tick >= tick)
            break;
        std::uint64_t end = tick;
        if (i + 1 < tempoMap_.size())
            end = std::min(end, tempoMap_[i + 1].tick);
        micros += static_cast<double>(end - t.tick) * t.microsPerQuarter / division_;
    }
    return micros / 1e6;
}

std::uint64_t SmfSong::tickAtSeconds(double seconds) const {
    if (!(seconds > 0.0))
        return 0;
    double micros = seconds * 1e6;
    for (std::size_t i = 0; i < tempoMap_.size(); ++i) {
        const SmfTempo& t = tempoMap_[i];
        const double perTick = static_cast<double>(t.microsPerQuarter) / division_;
        const bool last = i + 1 == tempoMap_.size();
        const double span = last ? std::numeric_limits<double>::infinity()
                                 : static_cast<double>(tempoMap_[i + 1].tick - t.tick) * perTick;
        if (micros < span || perTick <= 0.0) {
            // The small allowance keeps an exact tick time from landing one tick short.
            const double ticks = perTick > 0.0 ? std::floor(micros / perTick + 1e-6) : 0.0;
            constexpr double kMaxTicks = 9.0e18;
            return t.tick + static_cast<std::uint64_t>(std::min(ticks, kMaxTicks));
        }
        micros -= span;
    }
    return tempoMap_.back().tick;
}

std::uint32_t SmfSong::lengthTenths() const {
    const double tenths = std::round(lengthSeconds() * 10.0);
    constexpr double kMax = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(std::min(tenths, kMax));
}

} // namespace tobira
