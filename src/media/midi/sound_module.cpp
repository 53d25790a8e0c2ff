// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/sound_module.h"

#include <algorithm>

namespace tobira {

const char* ModuleModeName(ModuleMode mode) {
    switch (mode) {
    case ModuleMode::Gm:
        return "GM";
    case ModuleMode::Gm2:
        return "GM2";
    case ModuleMode::Gs:
        return "GS";
    case ModuleMode::Xg:
        return "XG";
    case ModuleMode::Unset:
        break;
    }
    return "-";
}
namespace {

constexpr int kDrumBank = 128;
constexpr int kDrumChannel = 9;
constexpr std::uint8_t kRoland = 0x41, kYamaha = 0x43, kUniversalNonRealTime = 0x7E;

// A Roland data set (DT1) to the GS model: F0 41 dev 42 12 a a a d… sum [F7]. Returns the
// address and the first data byte when the checksum holds; a module drops any other.
struct RolandSet {
    std::uint32_t address = 0;
    std::uint8_t value = 0;
};
bool ReadRolandSet(std::span<const std::uint8_t> m, RolandSet& set) {
    std::size_t end = m.size();
    if (end > 0 && m[end - 1] == 0xF7)
        --end;
    // F0 41 dev 42 12, three address bytes, at least one data byte, the checksum.
    if (end < 10 || m[1] != kRoland || m[3] != 0x42 || m[4] != 0x12)
        return false;
    unsigned sum = 0;
    for (std::size_t i = 5; i < end; ++i)
        sum += m[i];
    if (sum % 128 != 0)
        return false;
    set.address = (std::uint32_t{m[5]} << 16) | (std::uint32_t{m[6]} << 8) | m[7];
    set.value = m[8];
    return true;
}

// The part a GS block address names: block 0 is part 10, blocks 1-9 parts 1-9, A-F parts 11-16.
int GsPartChannel(int block) {
    if (block == 0)
        return kDrumChannel;
    return block <= 9 ? block - 1 : block;
}

} // namespace

PresetCatalog::PresetCatalog(std::vector<SynthPreset> presets) : presets_(std::move(presets)) {
    std::sort(presets_.begin(), presets_.end());
    presets_.erase(std::unique(presets_.begin(), presets_.end()), presets_.end());
}

bool PresetCatalog::has(int bank, int program) const {
    return std::binary_search(presets_.begin(), presets_.end(), SynthPreset{bank, program});
}

SoundModule::SoundModule(PresetCatalog catalog) : catalog_(std::move(catalog)) {
    // Before any reset the synthesizer keeps its own reading; the voices still say what it
    // plays, for listings.
    for (int c = 0; c < kChannels; ++c)
        channels_[c].voice = pick(channels_[c], c == kDrumChannel);
}

SynthPreset SoundModule::firstHeld(std::initializer_list<SynthPreset> candidates) const {
    if (catalog_.empty())
        return *candidates.begin();
    for (const SynthPreset& p : candidates)
        if (catalog_.has(p.bank, p.program))
            return p;
    // Not even the fallback is there: the synthesizer's own substitute applies.
    return *(candidates.end() - 1);
}

ChannelVoice SoundModule::pick(const Channel& c, bool drum) const {
    const int p = c.program;
    switch (mode_) {
    case ModuleMode::Xg:
        drum = c.msb == 127 || c.msb == 126;
        break;
    case ModuleMode::Gm2:
        drum = c.msb == 120;
        break;
    default:
        break;
    }
    if (drum)
        return {true, firstHeld({{kDrumBank, p}, {kDrumBank, 0}})};
    switch (mode_) {
    case ModuleMode::Gm:
        return {false, firstHeld({{0, p}})};
    case ModuleMode::Xg:
        if (c.msb == 64) // the SFX voices
            return {false, firstHeld({{64, p}, {0, p}})};
        return {false, firstHeld({{c.lsb, p}, {0, p}})};
    case ModuleMode::Gm2:
        return {false, firstHeld({{c.lsb, p}, {0, p}})};
    case ModuleMode::Gs:
    case ModuleMode::Unset:
        break;
    }
    return {false, firstHeld({{c.msb, p}, {0, p}})};
}

void SoundModule::reset(ModuleMode mode) {
    mode_ = mode;
    for (int i = 0; i < kChannels; ++i) {
        Channel& c = channels_[i];
        const bool drum = i == kDrumChannel;
        c.program = 0;
        c.lsb = 0;
        c.msb = 0;
        if (mode == ModuleMode::Xg && drum)
            c.msb = 127;
        else if (mode == ModuleMode::Gm2)
            c.msb = drum ? 120 : 121;
        c.voice = pick(c, drum);
    }
}

SoundModule::Outcome SoundModule::feed(std::span<const std::uint8_t> m) {
    if (m.empty())
        return {};
    if (m[0] == 0xF0)
        return feedSysEx(m);
    const int kind = m[0] & 0xF0;
    const int channel = m[0] & 0x0F;
    Channel& c = channels_[channel];
    if (kind == 0xB0 && m.size() >= 3 && (m[1] == 0 || m[1] == 32)) {
        (m[1] == 0 ? c.msb : c.lsb) = m[2];
        // Read again at the next program change, which carries the choice out.
        return {mode_ == ModuleMode::Unset ? Action::Pass : Action::Drop, channel};
    }
    if (kind == 0xC0 && m.size() >= 2) {
        c.program = m[1];
        c.voice = pick(c, c.voice.drum);
        return {mode_ == ModuleMode::Unset ? Action::Pass : Action::Select, channel};
    }
    return {Action::Pass, channel};
}

SoundModule::Outcome SoundModule::feedSysEx(std::span<const std::uint8_t> m) {
    // Universal non-real-time, any device: F0 7E dev 09 0n (General MIDI System On and Off).
    if (m.size() >= 5 && m[1] == kUniversalNonRealTime && m[3] == 0x09) {
        switch (m[4]) {
        case 0x01:
            reset(ModuleMode::Gm);
            return {Action::Reset, 0};
        case 0x03:
            reset(ModuleMode::Gm2);
            return {Action::Reset, 0};
        case 0x02: // GM off: back to the module's own mode, GS as the synthesizer's is
            reset(ModuleMode::Gs);
            return {Action::Reset, 0};
        default:
            return {};
        }
    }
    // XG System On and XG All Parameter Reset: F0 43 1n 4C 00 00 7E|7F 00.
    if (m.size() >= 8 && m[1] == kYamaha && (m[2] & 0xF0) == 0x10 && m[3] == 0x4C && m[4] == 0 &&
        m[5] == 0 && (m[6] == 0x7E || m[6] == 0x7F) && m[7] == 0) {
        reset(ModuleMode::Xg);
        return {Action::Reset, 0};
    }
    RolandSet set;
    if (m[1] != kRoland || !ReadRolandSet(m, set))
        return {};
    // GS Reset (40 00 7F), and the system mode set of the 88 (00 00 7F), which resets too.
    if ((set.address == 0x40007F && set.value == 0) ||
        (set.address == 0x00007F && set.value <= 1)) {
        reset(ModuleMode::Gs);
        return {Action::Reset, 0};
    }
    // Use for Rhythm Part (40 1x 15): 0 makes the part melodic, 1 and 2 a drum part.
    if ((set.address & 0xFFF0FF) == 0x401015) {
        if (mode_ != ModuleMode::Gs && mode_ != ModuleMode::Unset)
            return {Action::Drop, 0}; // a GM, GM2 or XG module has no such parameter
        const int channel = GsPartChannel(static_cast<int>((set.address >> 8) & 0x0F));
        Channel& c = channels_[channel];
        // A new drum part starts on the standard kit; its program change picks another.
        if (set.value != 0)
            c.voice = {true, firstHeld({{kDrumBank, 0}})};
        else
            c.voice = pick(c, false);
        return {Action::Select, channel};
    }
    return {};
}

} // namespace tobira
