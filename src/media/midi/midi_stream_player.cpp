// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/midi_stream_player.h"

namespace tobira {

void MidiStreamPlayer::start(const MidiStream& stream, std::uint64_t fromMicros,
                             const LoopPlan& plan) {
    stream_ = &stream;
    loop_ = plan.loops() && stream.loop() ? &*stream.loop() : nullptr;
    const std::uint64_t songMicros = loop_ ? plan.songMicrosAt(fromMicros) : fromMicros;
    offset_ = fromMicros - std::min(fromMicros, songMicros);
    cursor_ = MidiStream::Cursor(stream);
    chaseUntil_ = songMicros;
    playing_ = true;
    notesReleased();
}

void MidiStreamPlayer::step(MidiSynthesizer& synth, std::uint64_t untilMicros) {
    int noteOns = 0, sent = 0, passed = 0;
    while (playing_) {
        const std::uint64_t until = untilMicros - std::min(untilMicros, offset_);
        const bool round = loop_ && until > loop_->endMicros;
        if (!sendDue(synth, round ? loop_->endMicros : until, noteOns, sent, passed) || !round)
            return;
        loopBack(synth);
    }
}

void MidiStreamPlayer::loopBack(MidiSynthesizer& synth) {
    for (std::size_t i = 0; i < sounding_.size(); ++i) {
        if (sounding_[i] == 0)
            continue;
        const std::uint8_t off[] = {static_cast<std::uint8_t>(0x80 | i / 128),
                                    static_cast<std::uint8_t>(i % 128), 0};
        synth.send(off);
        sounding_[i] = 0;
    }
    cursor_ = MidiStream::Cursor(*stream_, loop_->start);
    offset_ += loop_->endMicros - loop_->startMicros;
    chaseUntil_ = 0;
}

bool MidiStreamPlayer::sendDue(MidiSynthesizer& synth, std::uint64_t untilMicros, int& noteOns,
                               int& sent, int& passed) {
    while (!cursor_.atEnd() && cursor_.micros() < untilMicros) {
        if (sent >= kSentPerStep || passed >= kPassedPerStep)
            return false;
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
    return true;
}

} // namespace tobira
