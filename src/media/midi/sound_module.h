// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound module a song is written for, as a real one keeps it: a System On or reset message
// decides how bank selects and drum parts are read from then on (General MIDI, GM2, GS or XG),
// and each program change becomes the instrument such a module would play, taken from what the
// loaded SoundFont holds. Until the first such message every message goes to the synthesizer
// as it is and the synthesizer reads banks its own way.
//
// No synthesizer here: the owner feeds each message in playing order and carries out what the
// answer asks. Real-time safe: feed() neither allocates nor blocks.

#include "media/midi/midi_synthesizer.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace tobira {

enum class ModuleMode { Unset, Gm, Gm2, Gs, Xg };

// "GM", "GM2", "GS", "XG"; "-" before any reset.
const char* ModuleModeName(ModuleMode mode);

// The instruments a SoundFont holds.
class PresetCatalog final {
  public:
    PresetCatalog() = default;
    explicit PresetCatalog(std::vector<SynthPreset> presets);
    bool has(int bank, int program) const;
    bool empty() const { return presets_.empty(); }

  private:
    std::vector<SynthPreset> presets_; // sorted
};

// What a channel plays: a drum part or a melodic one, and the SoundFont preset.
struct ChannelVoice {
    bool drum = false;
    SynthPreset preset;
    friend bool operator==(const ChannelVoice&, const ChannelVoice&) = default;
};

class SoundModule final {
  public:
    static constexpr int kChannels = 16;

    explicit SoundModule(PresetCatalog catalog = {});

    enum class Action {
        Pass,   // hand the message to the synthesizer as it is
        Drop,   // the module has taken it; the synthesizer must not see it
        Select, // pass it, then make `channel` play voice(channel)
        Reset,  // drop it, reset the synthesizer, then make every channel play its voice
    };
    struct Outcome {
        Action action = Action::Pass;
        int channel = 0;
    };

    // One whole message: a channel message from its status byte, or a system exclusive one
    // from F0 (the closing F7 may be missing).
    Outcome feed(std::span<const std::uint8_t> message);

    ModuleMode mode() const { return mode_; }
    // As the reset message of the current mode leaves the module.
    void resetMode() { reset(mode_); }
    // What the channel plays now, as the module picks it.
    const ChannelVoice& voice(int channel) const { return channels_[channel & 15].voice; }

  private:
    struct Channel {
        int msb = 0;
        int lsb = 0;
        int program = 0;
        ChannelVoice voice;
    };

    void reset(ModuleMode mode);
    // The voice a program change picks with the channel's bank selects under the current mode.
    ChannelVoice pick(const Channel& channel, bool drum) const;
    SynthPreset firstHeld(std::initializer_list<SynthPreset> candidates) const;
    Outcome feedSysEx(std::span<const std::uint8_t> m);

    PresetCatalog catalog_;
    ModuleMode mode_ = ModuleMode::Unset;
    std::array<Channel, kChannels> channels_{};
};

} // namespace tobira
