// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/midi_chase.h"

#include <algorithm>

namespace tobira {

namespace {

constexpr std::uint8_t kNull = 127;

void Send(MidiSynthesizer& synth, std::uint8_t status, int a, int b) {
    const std::uint8_t m[] = {status, static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)};
    synth.send({m, (status & 0xE0) == 0xC0 ? 2u : 3u});
}

} // namespace

bool IsModuleReset(std::span<const std::uint8_t> m) {
    // F0 7E dev 09 01|02|03: General MIDI System On, Off, GM2 On.
    if (m.size() >= 5 && m[1] == 0x7E && m[3] == 0x09)
        return m[4] >= 0x01 && m[4] <= 0x03;
    // F0 43 1n 4C 00 00 7E|7F 00: XG System On, XG All Parameter Reset.
    if (m.size() >= 8 && m[1] == 0x43 && (m[2] & 0xF0) == 0x10 && m[3] == 0x4C && m[4] == 0 &&
        m[5] == 0 && (m[6] == 0x7E || m[6] == 0x7F) && m[7] == 0)
        return true;
    // F0 41 dev 42 12 40 00 7F 00 (GS reset) and 00 00 7F 00|01 (the 88's system mode set).
    if (m.size() >= 10 && m[1] == 0x41 && m[3] == 0x42 && m[4] == 0x12 && m[6] == 0 && m[7] == 0x7F)
        return (m[5] == 0x40 && m[8] == 0) || (m[5] == 0x00 && m[8] <= 1);
    return false;
}

void ChaseState::clear() {
    for (Channel& c : channels_) {
        c = Channel{};
        c.controllers.fill(-1);
    }
    held_.fill(0);
    sysexFrom_ = sysexEnd_ = 0;
}

void ChaseState::take(std::span<const std::uint8_t> m) {
    if (m[0] == 0xF0) {
        if (IsModuleReset(m)) {
            // What came before, the reset has undone, notes too; it is sent again itself.
            const std::size_t at = sysexEnd_;
            clear();
            sysexFrom_ = sysexEnd_ = at;
        }
        ++sysexEnd_;
        return;
    }
    Channel& c = channels_[m[0] & 0x0F];
    const auto key = static_cast<std::size_t>((m[0] & 0x0F) * 128 + m[1]);
    switch (m[0] & 0xF0) {
    case 0x80:
        held_[key] = c.controllers[64] >= 64 && held_[key] ? held_[key] | kPedalOnly : 0;
        break;
    case 0x90:
        if (m[2] == 0)
            held_[key] = c.controllers[64] >= 64 && held_[key] ? held_[key] | kPedalOnly : 0;
        else
            held_[key] = m[2];
        break;
    case 0xB0:
        control(c, m[1], m[2]);
        break;
    case 0xC0:
        c.program = static_cast<std::int8_t>(m[1]);
        break;
    case 0xD0:
        c.pressure = static_cast<std::int8_t>(m[1]);
        break;
    case 0xE0:
        c.bendLsb = static_cast<std::int8_t>(m[1]);
        c.bendMsb = static_cast<std::int8_t>(m[2]);
        break;
    default:
        break;
    }
}

void ChaseState::control(Channel& c, int number, int value) {
    const auto v = static_cast<std::int8_t>(value);
    switch (number) {
    case 6: // data entry
    case 38:
        if (Parameter* p = selected(c, true))
            (number == 6 ? p->msb : p->lsb) = v;
        return;
    case 96: // data increment and decrement: what they leave is not known here
    case 97:
        return;
    case 98:
    case 99:
    case 100:
    case 101:
        c.nrpn = number <= 99;
        (number & 1 ? c.parameterMsb : c.parameterLsb) = v;
        return;
    case 121:
        resetControllers(c);
        return;
    default:
        break;
    }
    if (number >= 120) {
        // All sound or notes off, and the mode messages: they act once. Mode messages end
        // the notes too.
        if (number >= 123 || number == 120)
            for (int k = 0; k < 128; ++k)
                held_[static_cast<std::size_t>((&c - channels_.data()) * 128 + k)] = 0;
        return;
    }
    c.controllers[static_cast<std::size_t>(number)] = v;
    if (number == 64 && value < 64)
        liftPedal(static_cast<std::size_t>(&c - channels_.data()));
}

void ChaseState::liftPedal(std::size_t channel) {
    for (std::size_t k = channel * 128; k < channel * 128 + 128; ++k)
        if (held_[k] & kPedalOnly)
            held_[k] = 0;
}

ChaseState::Parameter* ChaseState::selected(Channel& c, bool create) {
    if (c.parameterMsb < 0 || c.parameterLsb < 0 ||
        (c.parameterMsb == kNull && c.parameterLsb == kNull))
        return nullptr;
    const auto number =
        static_cast<std::uint16_t>((c.nrpn ? 0x4000 : 0) | c.parameterMsb << 7 | c.parameterLsb);
    const auto end = c.parameters.begin() + c.parameterCount;
    const auto found = std::find_if(c.parameters.begin(), end,
                                    [number](const Parameter& p) { return p.number == number; });
    if (found != end)
        return &*found;
    if (!create || c.parameterCount == kParameters)
        return nullptr;
    Parameter& p = c.parameters[c.parameterCount++];
    p = Parameter{number, -1, -1};
    return &p;
}

void ChaseState::resetControllers(Channel& c) {
    // What "reset all controllers" resets; volume, pan, the effect sends and the bank stay.
    for (int number : {1, 2, 4, 5, 11, 64, 65, 66, 67, 68, 69})
        c.controllers[static_cast<std::size_t>(number)] = -1;
    liftPedal(static_cast<std::size_t>(&c - channels_.data()));
    c.bendLsb = c.bendMsb = c.pressure = -1;
    c.parameterMsb = c.parameterLsb = kNull;
}

void ChaseState::restoreChannels(MidiSynthesizer& synth) const {
    for (std::size_t ch = 0; ch < channels_.size(); ++ch) {
        const Channel& c = channels_[ch];
        const auto status = [ch](int kind) { return static_cast<std::uint8_t>(kind | ch); };
        const auto control = [&](int number) {
            if (c.controllers[static_cast<std::size_t>(number)] >= 0)
                Send(synth, status(0xB0), number, c.controllers[static_cast<std::size_t>(number)]);
        };
        // A bank select takes effect at the next program change.
        control(0);
        control(32);
        if (c.program >= 0)
            Send(synth, status(0xC0), c.program, 0);
        for (int number = 1; number < 120; ++number)
            if (number != 32)
                control(number);
        for (std::size_t i = 0; i < c.parameterCount; ++i) {
            const Parameter& p = c.parameters[i];
            const bool nrpn = p.number & 0x4000;
            Send(synth, status(0xB0), nrpn ? 99 : 101, p.number >> 7 & 0x7F);
            Send(synth, status(0xB0), nrpn ? 98 : 100, p.number & 0x7F);
            if (p.msb >= 0)
                Send(synth, status(0xB0), 6, p.msb);
            if (p.lsb >= 0)
                Send(synth, status(0xB0), 38, p.lsb);
        }
        // The number selected last stays selected, for the data entries still to come.
        if (c.parameterMsb >= 0 && c.parameterLsb >= 0) {
            Send(synth, status(0xB0), c.nrpn ? 99 : 101, c.parameterMsb);
            Send(synth, status(0xB0), c.nrpn ? 98 : 100, c.parameterLsb);
        }
        if (c.bendMsb >= 0)
            Send(synth, status(0xE0), c.bendLsb, c.bendMsb);
        if (c.pressure >= 0)
            Send(synth, status(0xD0), c.pressure, 0);
    }
}

} // namespace tobira
