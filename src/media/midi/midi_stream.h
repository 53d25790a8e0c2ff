// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A song as the built-in synthesizer plays it: every message in playing order with the time it
// is due, in microseconds from the start, packed into one byte string about the size of the
// file (a delta time, then the message as the module receives it). A song of millions of
// messages costs no more memory than its file; one message costs no allocation.

#include "media/midi/midi_chase.h"
#include "media/midi/smf_reader.h"
#include "media/midi/smf_song.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tobira {

class MidiStream final {
  public:
    MidiStream() = default;
    // From the tracks of `file` side by side (as ParseSmfLayout found them for `song`): by
    // tick, then by track, then as each track lists them.
    MidiStream(std::span<const std::uint8_t> file, const SmfSong& song,
               const std::vector<SmfTrackSpan>& tracks);

    std::uint64_t lengthMicros() const { return lengthMicros_; }

    // Where a message starts in the stream: its delta time, and the time of the one before.
    struct Place {
        std::size_t at = 0;
        std::uint64_t before = 0;
    };
    // The song's loop (SmfSong::loop) in the stream's own times, and where its first message
    // lies.
    struct Loop {
        std::uint64_t startMicros = 0;
        std::uint64_t endMicros = 0;
        Place start;
    };
    const std::optional<Loop>& loop() const { return loop_; }

    // The state the song has set up before a place, kept every kCheckpointBytes of the
    // stream, so that a jump reads no more than that far to know the state at any time.
    static constexpr std::size_t kCheckpointBytes = 64 * 1024;
    struct Checkpoint {
        Place place;
        std::uint64_t micros = 0; // of the message at `place`
        ChaseState state;         // before it
    };
    // The last checkpoint whose message is due before `micros`: the first, at the start,
    // for the start.
    const Checkpoint& checkpointBefore(std::uint64_t micros) const;
    // Where each system exclusive message lies, in playing order.
    const std::vector<Place>& sysex() const { return sysex_; }
    std::size_t messages() const { return messages_; }
    std::size_t bytes() const { return bytes_.size(); }

    // Reads the stream from its start, a message at a time.
    class Cursor final {
      public:
        Cursor() = default;
        explicit Cursor(const MidiStream& stream);
        Cursor(const MidiStream& stream, Place place);
        bool atEnd() const { return at_ >= size_; }
        // The message due next, and when; only when not at the end.
        std::uint64_t micros() const { return micros_; }
        std::span<const std::uint8_t> message() const { return {data_ + begin_, length_}; }
        void advance();
        // Where the message due next lies.
        Place place() const { return {at_, time_}; }

      private:
        void read();

        const std::uint8_t* data_ = nullptr;
        std::size_t size_ = 0;
        std::size_t at_ = 0; // the next message's delta time
        std::size_t begin_ = 0;
        std::size_t length_ = 0;
        std::uint64_t micros_ = 0;
        std::uint64_t time_ = 0; // of the message before
    };

  private:
    std::vector<std::uint8_t> bytes_;
    std::uint64_t lengthMicros_ = 0;
    std::size_t messages_ = 0;
    std::optional<Loop> loop_;
    std::vector<Checkpoint> checkpoints_;
    std::vector<Place> sysex_;
};

} // namespace tobira
