// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a song has set up by some point of its play, as a sound module keeps it, so that a jump
// can set it up again: per channel the program, bank and other controllers, pitch bend,
// channel pressure and the RPN and NRPN values entered; which system exclusive messages since
// the module's last reset still count (its mode and effects); and the notes held, with the
// velocity they started with. The tempo needs nothing: the stream's times already follow it.
//
// A fixed size, no allocation: copied as the stream's checkpoints and on the audio thread.

#include "media/midi/midi_synthesizer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tobira {

// Whether a system exclusive message (from F0) resets the module: a GM, GM2 or XG System On,
// GM off, the GS reset or the 88's system mode set.
bool IsModuleReset(std::span<const std::uint8_t> message);

class ChaseState final {
  public:
    // Parameters kept per channel: more than any module has that a song sets.
    static constexpr std::size_t kParameters = 24;

    ChaseState() { clear(); }
    void clear();

    // The next message of the stream, in playing order. A system exclusive message is counted
    // in the stream's list of them.
    void take(std::span<const std::uint8_t> message);

    // The system exclusive messages to send again, as indexes into the stream's list of them:
    // from the last reset on.
    std::size_t sysexFrom() const { return sysexFrom_; }
    std::size_t sysexEnd() const { return sysexEnd_; }
    // Sends each channel's state: bank and program first, then the other controllers, the
    // parameters entered, pitch bend and pressure.
    void restoreChannels(MidiSynthesizer& synth) const;
    // The velocity of the note held on `channel` and `key`, by its key or by the sustain
    // pedal; 0 for none.
    std::uint8_t held(int channel, int key) const {
        return held_[static_cast<std::size_t>(channel * 128 + key)] & kVelocity;
    }

  private:
    static constexpr std::uint8_t kVelocity = 0x7F;
    static constexpr std::uint8_t kPedalOnly = 0x80; // released, still held by the pedal

    struct Parameter {
        std::uint16_t number = 0; // bit 14 set for an NRPN
        std::int8_t msb = -1;
        std::int8_t lsb = -1;
    };
    struct Channel {
        std::array<std::int8_t, 128> controllers;
        std::int8_t program = -1;
        std::int8_t bendLsb = -1, bendMsb = -1;
        std::int8_t pressure = -1;
        std::int8_t parameterMsb = -1, parameterLsb = -1; // the selected number's halves
        bool nrpn = false;
        std::uint8_t parameterCount = 0;
        std::array<Parameter, kParameters> parameters;
    };
    void control(Channel& c, int number, int value);
    Parameter* selected(Channel& c, bool create);
    void resetControllers(Channel& c);
    // Ends the notes the channel's sustain pedal still held.
    void liftPedal(std::size_t channel);

    std::array<Channel, 16> channels_;
    std::array<std::uint8_t, 16 * 128> held_;
    std::size_t sysexFrom_ = 0;
    std::size_t sysexEnd_ = 0;
};

} // namespace tobira
