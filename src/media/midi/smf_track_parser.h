// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads the events of one track chunk for the SMF reader (smf_reader.h), passing over what real
// files get wrong. Internal to the reader and to the song's play stream (midi_stream.h), which
// reads the tracks of a song side by side, a message at a time.

#include "media/midi/smf_reader.h"
#include "media/midi/smf_song.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tobira {

struct SmfTrackResult {
    std::uint64_t endTick = 0;           // of the last event, end of track included
    std::size_t playable = 0;            // channel and system exclusive messages
    std::optional<std::size_t> brokenAt; // where the track broke off, when it did
    std::size_t strayBytes = 0;          // system common and real-time bytes passed over
    std::size_t clampedBytes = 0;        // channel data bytes above 127, read as 127
    SmfLoopMarks loop;
};

class SmfTrackParser final {
  public:
    // The track's events lie in smf[begin, end); the SMF starts `base` bytes into the file.
    // Ticks count from `startTick`. Tempo events go to `tempos` unless it is null (a time code
    // division ignores them); messages to `messages` unless it is null, with file offsets.
    SmfTrackParser(std::span<const std::uint8_t> smf, std::size_t base, std::size_t begin,
                   std::size_t end, std::uint64_t startTick, std::vector<SmfTempo>* tempos,
                   std::vector<SmfMessage>* messages);

    // Text meta events (types 01 to 0F) go to `texts` too, marked with the track's number.
    void collectTexts(std::vector<SmfText>* texts, int track) {
        texts_ = texts;
        track_ = track;
    }
    // Only the messages `keep` accepts go to `messages`; `smf` is the track's SMF.
    void filter(SmfMessageFilter keep) { keep_ = keep; }

    SmfTrackResult parse();
    // The next message into `message`, its offset counted from the SMF's start; false at the
    // track's end. The messages are not collected.
    bool next(SmfMessage& message);
    const SmfTrackResult& result() const { return result_; }

  private:
    bool readVarLen(std::uint32_t& value);
    bool has(std::size_t n) const { return end_ - pos_ >= n; }
    void noteLoopControl(std::uint8_t control);
    void noteLoopMarker(std::size_t length);

    std::span<const std::uint8_t> smf_;
    std::size_t base_;
    std::size_t pos_;
    std::size_t end_;
    std::vector<SmfTempo>* tempos_;
    std::vector<SmfMessage>* messages_;
    std::vector<SmfText>* texts_ = nullptr;
    SmfMessageFilter keep_ = nullptr;
    int track_ = 0;

    SmfTrackResult result_;
    std::uint64_t tick_;
    // Only channel messages set the running status: files written by many sequencers rely on it
    // surviving the meta and system exclusive events in between.
    int running_ = -1;
    bool done_ = false;
};

} // namespace tobira
