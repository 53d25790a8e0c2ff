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
// A song with a loop plays as its LoopPlan says: times given to the player are times into the
// play, which pass the loop's end again and again while the song's own time goes round it.
//
// Not thread-safe: the audio thread's alone. No allocation, no lock of its own.

#include "media/midi/loop_plan.h"
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
    void start(const MidiStream& stream, std::uint64_t fromMicros, const LoopPlan& plan = {});
    // From `fromMicros` into the play of `stream`, with the synthesizer set up as the song has
    // it there: reset, then the song's state sent again (midi_chase.h) and the notes held
    // there sounded. Reads no more of the stream than from the checkpoint before.
    void jump(MidiSynthesizer& synth, const MidiStream& stream, std::uint64_t fromMicros,
              const LoopPlan& plan);
    // No stream any more.
    void stop() { cursor_ = {}, loop_ = nullptr, playing_ = false; }
    bool playing() const { return playing_; }

    // Sends what falls due before `untilMicros` into the play, within one step's bounds.
    void step(MidiSynthesizer& synth, std::uint64_t untilMicros);
    // Every message has been sent or passed over; never while the loop is played.
    bool finished() const { return !loop_ && cursor_.atEnd(); }
    // The synthesizer's notes were all released: no note-off is owed.
    void notesReleased() { sounding_.fill(0); }

  private:
    // Sends what falls due before `untilMicros` of the song; whether all of it went.
    bool sendDue(MidiSynthesizer& synth, std::uint64_t untilMicros, int& noteOns, int& sent,
                 int& passed);
    // Back to the loop's start: the notes still sounding are released.
    void loopBack(MidiSynthesizer& synth);

    const MidiStream* stream_ = nullptr;
    const MidiStream::Loop* loop_ = nullptr; // while the loop is played
    // The play's time less the song's: a loop's length more for each time round.
    std::uint64_t offset_ = 0;
    MidiStream::Cursor cursor_;
    bool playing_ = false;
    std::uint64_t chaseUntil_ = 0;
    ChaseState chase_;
    // Notes started and not yet released, per channel and key.
    std::array<std::uint8_t, 16 * 128> sounding_{};
};

} // namespace tobira
