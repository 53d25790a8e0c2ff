// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/sound_module.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tobira {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kGmOn{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
const Bytes kGm2On{0xF0, 0x7E, 0x7F, 0x09, 0x03, 0xF7};
const Bytes kGsReset{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};
const Bytes kSc88Mode1{0xF0, 0x41, 0x10, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x00, 0x01, 0xF7};
const Bytes kXgOn{0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};

// GS "Use for Rhythm Part" of the part on `channel` (0-based), with its checksum.
Bytes RhythmPart(int channel, int value, bool goodSum = true) {
    const int block = channel == 9 ? 0 : channel < 9 ? channel + 1 : channel;
    Bytes m{0xF0,
            0x41,
            0x10,
            0x42,
            0x12,
            0x40,
            static_cast<std::uint8_t>(0x10 | block),
            0x15,
            static_cast<std::uint8_t>(value)};
    int sum = 0;
    for (std::size_t i = 5; i < m.size(); ++i)
        sum += m[i];
    m.push_back(static_cast<std::uint8_t>((128 - sum % 128) % 128 + (goodSum ? 0 : 1)));
    m.push_back(0xF7);
    return m;
}
Bytes Cc(int channel, int control, int value) {
    return {static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(control),
            static_cast<std::uint8_t>(value)};
}
Bytes Pc(int channel, int program) {
    return {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(program)};
}

// A General MIDI SoundFont with a few variations and kits, as the test SoundFonts have them.
PresetCatalog Catalog() {
    std::vector<SynthPreset> presets;
    for (int p = 0; p < 128; ++p)
        presets.push_back({0, p});
    for (SynthPreset p : {SynthPreset{8, 4}, {1, 25}, {64, 3}, {128, 0}, {128, 25}, {128, 48}})
        presets.push_back(p);
    return PresetCatalog(presets);
}

// What a channel plays after a sequence of messages, as a module of each kind reads them.
TEST(SoundModuleTest, ProgramChangesPickWhatTheModuleWouldPlay) {
    struct Case {
        const char* name;
        std::vector<Bytes> messages;
        int channel;
        ChannelVoice expected;
        ModuleMode mode;
    };
    const Case cases[] = {
        {"no reset: the synthesizer's own GS reading, MSB only",
         {Cc(0, 0, 8), Cc(0, 32, 3), Pc(0, 4)},
         0,
         {false, {8, 4}},
         ModuleMode::Unset},
        {"GS variation", {kGsReset, Cc(0, 0, 8), Pc(0, 4)}, 0, {false, {8, 4}}, ModuleMode::Gs},
        {"GS variation the SoundFont lacks: its capital tone",
         {kGsReset, Cc(0, 0, 16), Pc(0, 4)},
         0,
         {false, {0, 4}},
         ModuleMode::Gs},
        {"GS rhythm part on channel 11, no program change: standard kit",
         {kGsReset, Cc(10, 0, 8), Pc(10, 4), RhythmPart(10, 1)},
         10,
         {true, {128, 0}},
         ModuleMode::Gs},
        {"GS rhythm part, then a kit",
         {kGsReset, RhythmPart(10, 2), Pc(10, 25)},
         10,
         {true, {128, 25}},
         ModuleMode::Gs},
        {"GS kit the SoundFont lacks: standard kit",
         {kGsReset, Pc(9, 16)},
         9,
         {true, {128, 0}},
         ModuleMode::Gs},
        {"GS rhythm part off again",
         {kGsReset, RhythmPart(10, 1), Pc(10, 5), RhythmPart(10, 0)},
         10,
         {false, {0, 5}},
         ModuleMode::Gs},
        {"a rhythm part with a bad checksum is dropped",
         {kGsReset, RhythmPart(10, 1, false)},
         10,
         {false, {0, 0}},
         ModuleMode::Gs},
        {"88 mode set resets as GS does",
         {kGm2On, kSc88Mode1, Cc(0, 0, 8), Pc(0, 4)},
         0,
         {false, {8, 4}},
         ModuleMode::Gs},
        {"XG kit on channel 16",
         {kXgOn, Cc(15, 0, 127), Pc(15, 25)},
         15,
         {true, {128, 25}},
         ModuleMode::Xg},
        {"XG SFX kit", {kXgOn, Cc(15, 0, 126), Pc(15, 0)}, 15, {true, {128, 0}}, ModuleMode::Xg},
        {"XG kit waits for the program change",
         {kXgOn, Pc(15, 7), Cc(15, 0, 127)},
         15,
         {false, {0, 7}},
         ModuleMode::Xg},
        {"XG voice variation by LSB",
         {kXgOn, Cc(2, 0, 0), Cc(2, 32, 1), Pc(2, 25)},
         2,
         {false, {1, 25}},
         ModuleMode::Xg},
        {"XG variation the SoundFont lacks",
         {kXgOn, Cc(2, 32, 9), Pc(2, 25)},
         2,
         {false, {0, 25}},
         ModuleMode::Xg},
        {"XG SFX voice", {kXgOn, Cc(2, 0, 64), Pc(2, 3)}, 2, {false, {64, 3}}, ModuleMode::Xg},
        {"XG channel 10 made melodic",
         {kXgOn, Cc(9, 0, 0), Pc(9, 4)},
         9,
         {false, {0, 4}},
         ModuleMode::Xg},
        {"GM ignores bank select",
         {kGmOn, Cc(0, 0, 8), Cc(0, 32, 1), Pc(0, 4)},
         0,
         {false, {0, 4}},
         ModuleMode::Gm},
        {"GM after GS: the rhythm part is melodic again",
         {kGsReset, RhythmPart(10, 1), kGmOn, Pc(10, 4)},
         10,
         {false, {0, 4}},
         ModuleMode::Gm},
        {"GS after GM: bank select works again",
         {kGmOn, kGsReset, Cc(0, 0, 8), Pc(0, 4)},
         0,
         {false, {8, 4}},
         ModuleMode::Gs},
        {"GM ignores GS rhythm parts",
         {kGmOn, RhythmPart(10, 1)},
         10,
         {false, {0, 0}},
         ModuleMode::Gm},
        {"GM2 drums by MSB 120",
         {kGm2On, Cc(4, 0, 120), Pc(4, 48)},
         4,
         {true, {128, 48}},
         ModuleMode::Gm2},
        {"GM2 melodic variation by LSB",
         {kGm2On, Cc(4, 0, 121), Cc(4, 32, 1), Pc(4, 25)},
         4,
         {false, {1, 25}},
         ModuleMode::Gm2},
        {"GM2 channel 10 starts as drums",
         {kGm2On, Pc(9, 25)},
         9,
         {true, {128, 25}},
         ModuleMode::Gm2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SoundModule module(Catalog());
        for (const Bytes& m : c.messages)
            module.feed(m);
        EXPECT_EQ(module.mode(), c.mode);
        EXPECT_EQ(module.voice(c.channel), c.expected);
    }
}

// What the synthesizer is asked to do: before any reset everything passes as it is; after one
// bank selects stay with the module and program changes become selections.
TEST(SoundModuleTest, TheSynthesizerSeesOnlyWhatTheModuleLeavesIt) {
    using A = SoundModule::Action;
    SoundModule module(Catalog());
    EXPECT_EQ(module.feed(Cc(0, 0, 8)).action, A::Pass);
    EXPECT_EQ(module.feed(Pc(0, 4)).action, A::Pass);
    EXPECT_EQ(module.feed(kGsReset).action, A::Reset);
    EXPECT_EQ(module.feed(Cc(0, 0, 8)).action, A::Drop);
    EXPECT_EQ(module.feed(Cc(0, 7, 100)).action, A::Pass);
    const SoundModule::Outcome pc = module.feed(Pc(3, 4));
    EXPECT_EQ(pc.action, A::Select);
    EXPECT_EQ(pc.channel, 3);
    const SoundModule::Outcome rhythm = module.feed(RhythmPart(10, 1));
    EXPECT_EQ(rhythm.action, A::Select);
    EXPECT_EQ(rhythm.channel, 10);
}

} // namespace
} // namespace tobira
