// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plays a song's stream (midi_stream.h) into the synthesizer a small step at a time, on the
// audio thread, with bounded work per step: a song that puts a hundred thousand notes on one
// instant makes the sound late or thin, never a step that lasts seconds.
//
// Per step at most kNoteOnsPerStep notes start; the notes beyond them in that step are passed
// over, and so are their note-offs. The synthesizer's polyphony (256 voices) is far below what
// such a step could start anyway: those notes would only steal each other's voices. Every other
// message is sent, at most kSentPerStep a step; the rest waits for the next step (late). Passing
// over costs little but is bounded too (kPassedPerStep).
//
// Not thread-safe: the audio thread's alone. No allocation, no lock of its own.

#include "media/midi/midi_stream.h"
#include "media/midi/midi_synthesizer.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace tobira {

class MidiStreamPlayer final {
  public:
    static constexpr int kNoteOnsPerStep = 16;
    static constexpr int kSentPerStep = 128;
    static constexpr int kPassedPerStep = 16384;

    // From the start of `stream` (kept by the caller while in use). The messages before
    // `fromMicros` set the channels as they stand there: their notes are passed over.
    void start(const MidiStream& stream, std::uint64_t fromMicros);
    // No stream any more.
    void stop() { cursor_ = {}, playing_ = false; }
    bool playing() const { return playing_; }

    // Sends what falls due before `untilMicros`, within one step's bounds.
    void step(MidiSynthesizer& synth, std::uint64_t untilMicros);
    // Every message has been sent or passed over.
    bool finished() const { return cursor_.atEnd(); }
    // The synthesizer's notes were all released: no note-off is owed.
    void notesReleased() { sounding_.fill(0); }

  private:
    MidiStream::Cursor cursor_;
    bool playing_ = false;
    std::uint64_t chaseUntil_ = 0;
    // Notes started and not yet released, per channel and key.
    std::array<std::uint8_t, 16 * 128> sounding_{};
};

} // namespace tobira
