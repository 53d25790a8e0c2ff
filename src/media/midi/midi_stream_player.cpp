// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/midi_stream_player.h"

namespace tobira {

void MidiStreamPlayer::start(const MidiStream& stream, std::uint64_t fromMicros) {
    cursor_ = MidiStream::Cursor(stream);
    chaseUntil_ = fromMicros;
    playing_ = true;
    notesReleased();
}

void MidiStreamPlayer::step(MidiSynthesizer& synth, std::uint64_t untilMicros) {
    int noteOns = 0, sent = 0, passed = 0;
    while (!cursor_.atEnd() && cursor_.micros() < untilMicros && sent < kSentPerStep &&
           passed < kPassedPerStep) {
        const std::span<const std::uint8_t> m = cursor_.message();
        const int kind = m[0] & 0xF0;
        const bool noteOn = kind == 0x90 && m[2] > 0;
        const bool noteOff = kind == 0x80 || (kind == 0x90 && m[2] == 0);
        const bool chasing = cursor_.micros() < chaseUntil_;
        bool send = true;
        if (noteOn || noteOff || kind == 0xA0) {
            std::uint8_t& count = sounding_[(m[0] & 0x0F) * 128 + m[1]];
            if (chasing || (noteOn && noteOns >= kNoteOnsPerStep)) {
                send = false;
            } else if (noteOn) {
                ++noteOns;
                if (count < 255)
                    ++count;
            } else if (noteOff) {
                // A note-off releases every voice of its key; none sounds when none was started.
                send = count > 0;
                count = 0;
            } else {
                send = count > 0;
            }
        }
        if (send) {
            synth.send(m);
            ++sent;
        } else {
            ++passed;
        }
        cursor_.advance();
    }
}

} // namespace tobira
