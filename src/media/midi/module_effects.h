// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a song sets on a GS, XG or GM2 module besides its instruments: the reverb and chorus,
// the master volume, balance and tuning, and each part's level, pan, effect sends, receive
// channel, vibrato, filter and envelope. Read from the module's system exclusive messages and
// the parts' NRPNs; kept as the module keeps them until its next reset.
//
// No synthesizer here: feed() says what changed, the owner carries it out (or lists it).
// Real-time safe: neither allocates nor blocks.

#include "media/midi/module_effect_types.h"
#include "media/midi/sound_module.h"

#include <array>
#include <cstdint>
#include <span>

namespace tobira {

enum class ModuleParam : std::uint8_t {
    // The module's own; `part` is -1.
    ReverbType,      // value: index into ReverbTypes()
    ReverbLevel,     // 0..127
    ReverbTime,      // hundredths of a second; 0 the type's own
    ChorusType,      // value: index into ChorusTypes()
    ChorusLevel,     // 0..127
    ChorusRate,      // hundredths of a hertz; 0 the type's own
    ChorusDepth,     // hundredths of a millisecond; 0 the type's own
    MasterVolume,    // 0..16383
    MasterBalance,   // 0..16383, 8192 the centre
    MasterTune,      // tenths of a cent, -1000..1000
    MasterTranspose, // semitones, -24..24; drum parts keep their keys
    // A part's (0..15, the MIDI channel it plays as).
    PartLevel,      // as CC 7
    PartPan,        // as CC 10
    PartReverbSend, // as CC 91
    PartChorusSend, // as CC 93
    PartReceive,    // the MIDI channel the part listens to, 0..15; 16 for none
    VibratoRate,    // this and the rest: -64..63 from the instrument's own
    VibratoDepth,
    VibratoDelay,
    FilterCutoff,
    FilterResonance,
    Attack,
    Decay,
    Release,
};
// A short English name for listings ("reverb type", "part level", …).
const char* ModuleParamName(ModuleParam param);

struct ModuleSetting {
    ModuleParam param = ModuleParam::ReverbType;
    std::int8_t part = -1;
    int value = 0;
};

// Everything above as it stands.
struct ModuleEffectsState {
    int reverbType = 0;
    int reverbLevel = 64;
    int reverbTime = 0;
    int chorusType = 0;
    int chorusLevel = 64;
    int chorusRate = 0;
    int chorusDepth = 0;
    int masterVolume = 16383;
    int masterBalance = 8192;
    int masterTune = 0;
    int masterTranspose = 0;
    std::array<std::uint8_t, 16> receive{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
};

class ModuleEffects final {
  public:
    static constexpr int kMaxChanges = 24;
    struct Changes {
        std::array<ModuleSetting, kMaxChanges> items{};
        int count = 0;
        std::span<const ModuleSetting> all() const {
            return {items.data(), static_cast<std::size_t>(count)};
        }
    };

    ModuleEffects();

    // The module was reset to `mode`: everything back to that kind of module's defaults (for
    // Unset, the synthesizer's own reverb and chorus).
    void reset(ModuleMode mode);
    // One whole message (a channel message from its status byte, a system exclusive one from
    // F0); what it changed, nothing for any other message.
    Changes feed(std::span<const std::uint8_t> message);

    const ModuleEffectsState& state() const { return state_; }
    ModuleMode mode() const { return mode_; }

  private:
    void set(Changes& changes, ModuleParam param, int part, int value);
    void feedController(Changes& changes, std::span<const std::uint8_t> m);
    void feedRoland(Changes& changes, std::span<const std::uint8_t> m);
    void feedYamaha(Changes& changes, std::span<const std::uint8_t> m);
    void feedUniversal(Changes& changes, std::span<const std::uint8_t> m);
    void rolandByte(Changes& changes, std::uint32_t address, int value);
    void yamahaByte(Changes& changes, std::uint32_t address, int value);

    ModuleMode mode_ = ModuleMode::Unset;
    ModuleEffectsState state_;
    // The four nibbles of the GS and XG master tune.
    std::array<std::uint8_t, 4> tuneNibbles_{0, 4, 0, 0};
    int xgReverbMsb_ = 1, xgReverbLsb_ = 0, xgChorusMsb_ = 0x41, xgChorusLsb_ = 0;
    // Per channel: the NRPN selected (MSB << 7 | LSB), -1 when none or an RPN is.
    std::array<int, 16> nrpn_{};
};

} // namespace tobira
