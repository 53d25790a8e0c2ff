// SPDX-License-Identifier: GPL-3.0-or-later
// A jump inside a song: the state the song has set up by then, from the stream's checkpoint
// before it, sent again into a reset synthesizer.
#include "media/midi/midi_stream_player.h"

#include <utility>

namespace tobira {

namespace {

// No more notes held across the jump are sounded than the synthesizer has voices.
constexpr int kHeldNotesSounded = 256;

} // namespace

void MidiStreamPlayer::jump(MidiSynthesizer& synth, const MidiStream& stream,
                            std::uint64_t fromMicros, const LoopPlan& plan) {
    start(stream, fromMicros, plan);
    const std::uint64_t song = std::exchange(chaseUntil_, 0);
    const MidiStream::Checkpoint& checkpoint = stream.checkpointBefore(song);
    chase_ = checkpoint.state;
    cursor_ = MidiStream::Cursor(stream, checkpoint.place);
    for (; !cursor_.atEnd() && cursor_.micros() < song; cursor_.advance())
        chase_.take(cursor_.message());

    synth.resetSound();
    for (std::size_t i = chase_.sysexFrom(); i < chase_.sysexEnd(); ++i)
        synth.send(MidiStream::Cursor(stream, stream.sysex()[i]).message());
    chase_.restoreChannels(synth);
    int sounded = 0;
    for (int channel = 0; channel < 16; ++channel) {
        for (int key = 0; key < 128 && sounded < kHeldNotesSounded; ++key) {
            const std::uint8_t velocity = chase_.held(channel, key);
            if (velocity == 0)
                continue;
            const std::uint8_t on[] = {static_cast<std::uint8_t>(0x90 | channel),
                                       static_cast<std::uint8_t>(key), velocity};
            synth.send(on);
            sounding_[static_cast<std::size_t>(channel * 128 + key)] = 1;
            ++sounded;
        }
    }
}

} // namespace tobira
