// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/module_effects.h"

#include <algorithm>
#include <cmath>

namespace tobira {
namespace {

constexpr std::uint8_t kRoland = 0x41, kYamaha = 0x43, kUniversalRealTime = 0x7F;

// The part a GS block names: block 0 is part 10, blocks 1-9 parts 1-9, A-F parts 11-16.
int GsPart(int block) {
    return block == 0 ? 9 : block <= 9 ? block - 1 : block;
}

// The per-part parameters GS (40 1x yy) and XG (08 nn yy) place at these addresses, and the
// GS/XG NRPNs (MSB 1) for the same.
struct PartAddress {
    int gs, xg, nrpn;
    ModuleParam param;
};
constexpr PartAddress kPartAddresses[] = {
    {0x02, 0x04, -1, ModuleParam::PartReceive},    {0x19, 0x0B, -1, ModuleParam::PartLevel},
    {0x1C, 0x0E, -1, ModuleParam::PartPan},        {0x21, 0x12, -1, ModuleParam::PartChorusSend},
    {0x22, 0x13, -1, ModuleParam::PartReverbSend}, {0x30, 0x15, 0x08, ModuleParam::VibratoRate},
    {0x31, 0x16, 0x09, ModuleParam::VibratoDepth}, {0x37, 0x17, 0x0A, ModuleParam::VibratoDelay},
    {0x32, 0x18, 0x20, ModuleParam::FilterCutoff}, {0x33, 0x19, 0x21, ModuleParam::FilterResonance},
    {0x34, 0x1A, 0x63, ModuleParam::Attack},       {0x35, 0x1B, 0x64, ModuleParam::Decay},
    {0x36, 0x1C, 0x66, ModuleParam::Release},
};

// The part parameter's value as ModuleParam has it, from the 7-bit value sent.
int PartValue(ModuleParam param, int value) {
    switch (param) {
    case ModuleParam::PartReceive:
        return value < 16 ? value : 16;
    case ModuleParam::PartLevel:
    case ModuleParam::PartPan:
    case ModuleParam::PartReverbSend:
    case ModuleParam::PartChorusSend:
        return value;
    default:
        return value - 64;
    }
}

// A relative time step of the GS charts: 32 steps double or halve it.
int Scaled(double base, int step) {
    return static_cast<int>(std::lround(100.0 * base * std::exp2((step - 64) / 32.0)));
}

} // namespace

const char* ModuleParamName(ModuleParam param) {
    static constexpr const char* kNames[] = {
        "reverb type",
        "reverb level",
        "reverb time",
        "chorus type",
        "chorus level",
        "chorus rate",
        "chorus depth",
        "master volume",
        "master balance",
        "master tune",
        "master transpose",
        "part level",
        "part pan",
        "part reverb send",
        "part chorus send",
        "part receive channel",
        "vibrato rate",
        "vibrato depth",
        "vibrato delay",
        "filter cutoff",
        "resonance",
        "attack",
        "decay",
        "release",
    };
    return kNames[static_cast<int>(param)];
}

ModuleEffects::ModuleEffects() {
    nrpn_.fill(-1);
}

void ModuleEffects::reset(ModuleMode mode) {
    mode_ = mode;
    state_ = ModuleEffectsState{};
    state_.reverbType = DefaultReverbType(mode);
    state_.chorusType = DefaultChorusType(mode);
    tuneNibbles_ = {0, 4, 0, 0};
    xgReverbMsb_ = 1;
    xgReverbLsb_ = 0;
    xgChorusMsb_ = 0x41;
    xgChorusLsb_ = 0;
    nrpn_.fill(-1);
}

void ModuleEffects::set(Changes& changes, ModuleParam param, int part, int value) {
    switch (param) {
    case ModuleParam::ReverbType:
        state_.reverbType = value;
        state_.reverbTime = 0;
        break;
    case ModuleParam::ReverbLevel:
        state_.reverbLevel = value;
        break;
    case ModuleParam::ReverbTime:
        state_.reverbTime = value;
        break;
    case ModuleParam::ChorusType:
        state_.chorusType = value;
        state_.chorusRate = state_.chorusDepth = 0;
        break;
    case ModuleParam::ChorusLevel:
        state_.chorusLevel = value;
        break;
    case ModuleParam::ChorusRate:
        state_.chorusRate = value;
        break;
    case ModuleParam::ChorusDepth:
        state_.chorusDepth = value;
        break;
    case ModuleParam::MasterVolume:
        state_.masterVolume = value;
        break;
    case ModuleParam::MasterBalance:
        state_.masterBalance = value;
        break;
    case ModuleParam::MasterTune:
        state_.masterTune = value;
        break;
    case ModuleParam::MasterTranspose:
        state_.masterTranspose = value;
        break;
    case ModuleParam::PartReceive:
        state_.receive[static_cast<std::size_t>(part & 15)] = static_cast<std::uint8_t>(value);
        break;
    default:
        break; // the synthesizer keeps the rest
    }
    if (changes.count < kMaxChanges)
        changes.items[static_cast<std::size_t>(changes.count++)] = {
            param, static_cast<std::int8_t>(part), value};
}

ModuleEffects::Changes ModuleEffects::feed(std::span<const std::uint8_t> m) {
    Changes changes;
    if (m.size() < 3)
        return changes;
    if ((m[0] & 0xF0) == 0xB0)
        feedController(changes, m);
    else if (m[0] == 0xF0 && m[1] == kRoland)
        feedRoland(changes, m);
    else if (m[0] == 0xF0 && m[1] == kYamaha)
        feedYamaha(changes, m);
    else if (m[0] == 0xF0 && m[1] == kUniversalRealTime)
        feedUniversal(changes, m);
    return changes;
}

void ModuleEffects::feedController(Changes& changes, std::span<const std::uint8_t> m) {
    const int channel = m[0] & 0x0F;
    int& selected = nrpn_[static_cast<std::size_t>(channel)];
    switch (m[1]) {
    case 99: // NRPN MSB
        selected = (selected < 0 ? 0 : selected & 0x7F) | m[2] << 7;
        return;
    case 98: // NRPN LSB
        selected = (selected < 0 ? 0 : selected & ~0x7F) | m[2];
        return;
    case 100:
    case 101: // an RPN now
        selected = -1;
        return;
    case 6: // data entry
        if (selected >> 7 != 1)
            return;
        for (const PartAddress& a : kPartAddresses)
            if (a.nrpn == (selected & 0x7F))
                set(changes, a.param, channel, PartValue(a.param, m[2]));
        return;
    default:
        return;
    }
}

// A Roland data set (DT1) to the GS model: F0 41 dev 42 12 a a a d… sum [F7]; a module drops
// one whose checksum fails. Each data byte goes to the next address.
void ModuleEffects::feedRoland(Changes& changes, std::span<const std::uint8_t> m) {
    std::size_t end = m.size();
    if (m[end - 1] == 0xF7)
        --end;
    if (end < 10 || m[3] != 0x42 || m[4] != 0x12)
        return;
    unsigned sum = 0;
    for (std::size_t i = 5; i < end; ++i)
        sum += m[i];
    if (sum % 128 != 0)
        return;
    std::uint32_t address = (std::uint32_t{m[5]} << 14) | (std::uint32_t{m[6]} << 7) | m[7];
    for (std::size_t i = 8; i + 1 < end; ++i, ++address)
        rolandByte(changes, (address >> 14) << 16 | ((address >> 7) & 0x7F) << 8 | (address & 0x7F),
                   m[i]);
}

void ModuleEffects::rolandByte(Changes& changes, std::uint32_t address, int v) {
    if (address >= 0x400000 && address <= 0x400003) {
        tuneNibbles_[address & 3] = static_cast<std::uint8_t>(v & 0x0F);
        const int tune =
            tuneNibbles_[0] << 12 | tuneNibbles_[1] << 8 | tuneNibbles_[2] << 4 | tuneNibbles_[3];
        set(changes, ModuleParam::MasterTune, -1, std::clamp(tune - 0x400, -1000, 1000));
        return;
    }
    const ReverbType& reverb = ReverbTypes()[static_cast<std::size_t>(state_.reverbType)];
    switch (address) {
    case 0x400004:
        set(changes, ModuleParam::MasterVolume, -1, v * 16383 / 127);
        return;
    case 0x400005:
        set(changes, ModuleParam::MasterTranspose, -1, std::clamp(v - 64, -24, 24));
        return;
    case 0x400006:
        set(changes, ModuleParam::MasterBalance, -1, std::max(v, 1) == 64 ? 8192 : v * 16383 / 127);
        return;
    case 0x400130:
        set(changes, ModuleParam::ReverbType, -1, GsReverbType(v));
        return;
    case 0x400133:
        set(changes, ModuleParam::ReverbLevel, -1, v);
        return;
    case 0x400134:
        set(changes, ModuleParam::ReverbTime, -1, Scaled(reverb.seconds, v));
        return;
    case 0x400138:
        set(changes, ModuleParam::ChorusType, -1, GsChorusType(v));
        return;
    case 0x40013A:
        set(changes, ModuleParam::ChorusLevel, -1, v);
        return;
    case 0x40013D:
        set(changes, ModuleParam::ChorusRate, -1, static_cast<int>(std::lround(v * 12.2)));
        return;
    case 0x40013E:
        set(changes, ModuleParam::ChorusDepth, -1,
            static_cast<int>(std::lround((v + 1) / 3.2 * 100)));
        return;
    default:
        break;
    }
    if ((address & 0xFFF000) != 0x401000)
        return;
    const int part = GsPart(static_cast<int>(address >> 8) & 0x0F);
    for (const PartAddress& a : kPartAddresses)
        if (a.gs == static_cast<int>(address & 0xFF))
            set(changes, a.param, part, PartValue(a.param, v));
}

// An XG parameter change: F0 43 1n 4C hh mm ll d… F7, no checksum.
void ModuleEffects::feedYamaha(Changes& changes, std::span<const std::uint8_t> m) {
    std::size_t end = m.size();
    if (m[end - 1] == 0xF7)
        --end;
    if (end < 8 || (m[2] & 0xF0) != 0x10 || m[3] != 0x4C)
        return;
    const std::uint32_t high = std::uint32_t{m[4]} << 16 | std::uint32_t{m[5]} << 8;
    for (std::size_t i = 7; i < end; ++i)
        yamahaByte(changes, high | ((m[6] + (i - 7)) & 0xFF), m[i]);
}

void ModuleEffects::yamahaByte(Changes& changes, std::uint32_t address, int v) {
    if (address <= 0x000003) {
        tuneNibbles_[address & 3] = static_cast<std::uint8_t>(v & 0x0F);
        const int tune =
            tuneNibbles_[0] << 12 | tuneNibbles_[1] << 8 | tuneNibbles_[2] << 4 | tuneNibbles_[3];
        set(changes, ModuleParam::MasterTune, -1, std::clamp(tune - 0x400, -1000, 1000));
        return;
    }
    switch (address) {
    case 0x000004:
        set(changes, ModuleParam::MasterVolume, -1, v * 16383 / 127);
        return;
    case 0x000006:
        set(changes, ModuleParam::MasterTranspose, -1, std::clamp(v - 64, -24, 24));
        return;
    case 0x020100:
    case 0x020101:
        (address == 0x020100 ? xgReverbMsb_ : xgReverbLsb_) = v;
        if (address == 0x020100)
            xgReverbLsb_ = 0;
        set(changes, ModuleParam::ReverbType, -1, XgReverbType(xgReverbMsb_, xgReverbLsb_));
        return;
    case 0x020102: {
        // 0.3 s to 5 s in tenths, then coarser steps up to 30 s.
        const double seconds = v <= 47 ? 0.3 + 0.1 * v : 5.0 + (v - 47) * (25.0 / 22.0);
        set(changes, ModuleParam::ReverbTime, -1, static_cast<int>(std::lround(seconds * 100)));
        return;
    }
    case 0x02010C:
        set(changes, ModuleParam::ReverbLevel, -1, v);
        return;
    case 0x020120:
    case 0x020121:
        (address == 0x020120 ? xgChorusMsb_ : xgChorusLsb_) = v;
        if (address == 0x020120)
            xgChorusLsb_ = 0;
        set(changes, ModuleParam::ChorusType, -1, XgChorusType(xgChorusMsb_, xgChorusLsb_));
        return;
    case 0x020122:
        set(changes, ModuleParam::ChorusRate, -1, static_cast<int>(std::lround(v * 8.4)));
        return;
    case 0x020123:
        set(changes, ModuleParam::ChorusDepth, -1,
            static_cast<int>(std::lround((v + 1) / 3.2 * 100)));
        return;
    case 0x02012C:
        set(changes, ModuleParam::ChorusLevel, -1, v);
        return;
    default:
        break;
    }
    if ((address >> 16) != 0x08 || ((address >> 8) & 0xFF) > 15)
        return;
    const int part = static_cast<int>(address >> 8) & 0x0F;
    for (const PartAddress& a : kPartAddresses)
        if (a.xg == static_cast<int>(address & 0xFF))
            set(changes, a.param, part, PartValue(a.param, v == 0x7F && a.xg == 0x04 ? 16 : v));
}

// Universal real time, device control: F0 7F dev 04 0n ll mm F7; 05 is the GM2 global
// parameter control, here only the reverb (slot 01 01) and chorus (01 02) with one-byte
// parameters and values.
void ModuleEffects::feedUniversal(Changes& changes, std::span<const std::uint8_t> m) {
    // Two data bytes after the sub-IDs, the closing F7 not counted.
    const std::size_t end = m.size() - (m.back() == 0xF7 ? 1 : 0);
    if (end < 7 || m[3] != 0x04)
        return;
    const int value14 = m[5] | m[6] << 7;
    switch (m[4]) {
    case 0x01:
        set(changes, ModuleParam::MasterVolume, -1, value14);
        return;
    case 0x02:
        set(changes, ModuleParam::MasterBalance, -1, value14);
        return;
    case 0x03:
        set(changes, ModuleParam::MasterTune, -1, (value14 - 8192) * 1000 / 8192);
        return;
    case 0x04:
        set(changes, ModuleParam::MasterTranspose, -1, std::clamp(m[6] - 64, -24, 24));
        return;
    case 0x05:
        break;
    default:
        return;
    }
    if (end < 12 || m[5] != 1 || m[6] != 1 || m[7] != 1 || m[8] != 1)
        return;
    const int slot = m[9], param = m[10], v = m[11];
    if (slot == 1 && param == 0)
        set(changes, ModuleParam::ReverbType, -1, Gm2ReverbType(v));
    else if (slot == 1 && param == 1)
        set(changes, ModuleParam::ReverbTime, -1,
            static_cast<int>(std::lround(100 * std::exp((v - 40) * 0.025))));
    else if (slot == 2 && param == 0)
        set(changes, ModuleParam::ChorusType, -1, Gm2ChorusType(v));
    else if (slot == 2 && param == 1)
        set(changes, ModuleParam::ChorusRate, -1, static_cast<int>(std::lround(v * 12.2)));
    else if (slot == 2 && param == 2)
        set(changes, ModuleParam::ChorusDepth, -1,
            static_cast<int>(std::lround((v + 1) / 3.2 * 100)));
}

} // namespace tobira
