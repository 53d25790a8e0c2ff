// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/midi_stream.h"

#include "media/midi/smf_track_parser.h"
#include "media/midi/var_len.h"

#include <cmath>
#include <queue>

namespace tobira {

namespace {

// Tick to microseconds on the tempo map, for ticks that only grow.
class TempoClock final {
  public:
    explicit TempoClock(const SmfSong& song) : song_(song) {}

    std::uint64_t micros(std::uint64_t tick) {
        const auto& map = song_.tempoMap();
        while (next_ < map.size() && map[next_].tick <= tick) {
            const SmfTempo& t = map[next_ - 1];
            base_ += static_cast<double>(map[next_].tick - t.tick) * t.microsPerQuarter /
                     song_.division();
            ++next_;
        }
        const SmfTempo& t = map[next_ - 1];
        const double at =
            base_ + static_cast<double>(tick - t.tick) * t.microsPerQuarter / song_.division();
        return static_cast<std::uint64_t>(std::llround(at));
    }

  private:
    const SmfSong& song_;
    std::size_t next_ = 1; // the first tempo not yet passed; the map starts at tick 0
    double base_ = 0.0;    // micros at map[next_ - 1]
};

} // namespace

MidiStream::MidiStream(std::span<const std::uint8_t> file, const SmfSong& song,
                       const std::vector<SmfTrackSpan>& tracks) {
    const std::span<const std::uint8_t> smf = UnwrapRmid(file);
    const auto base = static_cast<std::size_t>(smf.data() - file.data());
    std::vector<SmfTrackParser> parsers;
    parsers.reserve(tracks.size());
    for (const SmfTrackSpan& t : tracks)
        parsers.emplace_back(smf, base, t.begin, t.end, t.startTick, nullptr, nullptr);

    // A dense song's messages take about four bytes each here; its file about three.
    bytes_.reserve(file.size() + file.size() / 3 + 64);
    struct Head {
        SmfMessage message;
        std::size_t track;
        bool operator>(const Head& o) const {
            return message.tick != o.message.tick ? message.tick > o.message.tick : track > o.track;
        }
    };
    std::priority_queue<Head, std::vector<Head>, std::greater<>> heads;
    for (std::size_t i = 0; i < parsers.size(); ++i)
        if (SmfMessage m; parsers[i].next(m))
            heads.push(Head{m, i});

    if (song.loop()) {
        TempoClock loopClock(song);
        loop_ = Loop{
            loopClock.micros(song.loop()->startTick), loopClock.micros(song.loop()->endTick), {}};
    }
    bool loopFound = false;
    checkpoints_.push_back(Checkpoint{});
    ChaseState state;
    TempoClock clock(song);
    std::uint64_t time = 0;
    while (!heads.empty()) {
        Head head = heads.top();
        heads.pop();
        const SmfMessage& m = head.message;
        const std::uint64_t micros = clock.micros(m.tick);
        if (loop_ && !loopFound && micros >= loop_->startMicros) {
            loop_->start = Place{bytes_.size(), time};
            loopFound = true;
        }
        if (bytes_.size() - checkpoints_.back().place.at >= kCheckpointBytes)
            checkpoints_.push_back(Checkpoint{Place{bytes_.size(), time}, micros, state});
        const Place place{bytes_.size(), time};
        PutVarLen(bytes_, micros - time);
        time = micros;
        const std::uint8_t* data = file.data() + m.offset;
        std::size_t begin = bytes_.size();
        if (m.status == 0xF0) {
            sysex_.push_back(place);
            // A whole message from F0 to F7, which a module waits for.
            const bool close = m.length == 0 || data[m.length - 1] != 0xF7;
            bytes_.push_back(0xF0);
            PutVarLen(bytes_, m.length + 1 + (close ? 1 : 0));
            begin = bytes_.size();
            bytes_.push_back(0xF0);
            bytes_.insert(bytes_.end(), data, data + m.length);
            if (close)
                bytes_.push_back(0xF7);
        } else {
            bytes_.push_back(m.status);
            for (std::size_t i = 0; i < m.length; ++i)
                bytes_.push_back(SmfDataByte(data[i]));
        }
        state.take(std::span<const std::uint8_t>(bytes_).subspan(begin));
        ++messages_;
        if (parsers[head.track].next(head.message))
            heads.push(head);
    }
    lengthMicros_ = std::max(time, clock.micros(song.lastTick()));
    if (loop_ && !loopFound)
        loop_->start = Place{bytes_.size(), time};
}

const MidiStream::Checkpoint& MidiStream::checkpointBefore(std::uint64_t micros) const {
    const auto after =
        std::partition_point(checkpoints_.begin() + 1, checkpoints_.end(),
                             [micros](const Checkpoint& c) { return c.micros < micros; });
    return *(after - 1);
}

MidiStream::Cursor::Cursor(const MidiStream& stream) : Cursor(stream, Place{}) {}

MidiStream::Cursor::Cursor(const MidiStream& stream, Place place)
    : data_(stream.bytes_.data()), size_(stream.bytes_.size()), at_(place.at), time_(place.before) {
    read();
}

void MidiStream::Cursor::advance() {
    at_ = begin_ + length_;
    time_ = micros_;
    read();
}

void MidiStream::Cursor::read() {
    if (at_ >= size_)
        return;
    std::size_t p = at_;
    const auto varLen = [&] {
        std::uint64_t value = 0;
        std::uint8_t c;
        do {
            c = data_[p++];
            value = (value << 7) | (c & 0x7F);
        } while (c & 0x80);
        return value;
    };
    micros_ = time_ + varLen();
    const std::uint8_t status = data_[p];
    if (status == 0xF0) {
        ++p;
        length_ = static_cast<std::size_t>(varLen());
    } else {
        length_ = (status & 0xE0) == 0xC0 ? 2 : 3;
    }
    begin_ = p;
}

} // namespace tobira
