// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/module_effects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tobira {
namespace {

using Bytes = std::vector<std::uint8_t>;
using P = ModuleParam;

// A GS data set from F0 with its checksum; `good` false spoils it.
Bytes Gs(std::vector<std::uint8_t> addressAndData, bool good = true) {
    Bytes m{0xF0, 0x41, 0x10, 0x42, 0x12};
    int sum = 0;
    for (std::uint8_t b : addressAndData) {
        m.push_back(b);
        sum += b;
    }
    m.push_back(static_cast<std::uint8_t>((128 - sum % 128) % 128 + (good ? 0 : 1)));
    m.push_back(0xF7);
    return m;
}
Bytes Xg(std::vector<std::uint8_t> addressAndData) {
    Bytes m{0xF0, 0x43, 0x10, 0x4C};
    for (std::uint8_t b : addressAndData)
        m.push_back(b);
    m.push_back(0xF7);
    return m;
}
Bytes Cc(int channel, int control, int value) {
    return {static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(control),
            static_cast<std::uint8_t>(value)};
}

std::string Describe(const ModuleEffects::Changes& changes) {
    std::string s;
    for (const ModuleSetting& c : changes.all())
        s += std::string(ModuleParamName(c.param)) + "[" + std::to_string(c.part) +
             "]=" + std::to_string(c.value) + "; ";
    return s;
}
std::string Describe(std::initializer_list<ModuleSetting> settings) {
    ModuleEffects::Changes changes;
    for (const ModuleSetting& s : settings)
        changes.items[static_cast<std::size_t>(changes.count++)] = s;
    return Describe(changes);
}

// What the last message of each sequence sets, as a GS, XG or GM2 module reads it.
TEST(ModuleEffectsTest, MessagesBecomeTheModulesSettings) {
    struct Case {
        const char* name;
        std::vector<Bytes> messages;
        std::string expected;
    };
    const Case cases[] = {
        {"GS reverb macro Hall 2",
         {Gs({0x40, 0x01, 0x30, 0x04})},
         Describe({{P::ReverbType, -1, GsReverbType(4)}})},
        {"GS chorus macro and level in one set: each byte the next address",
         {Gs({0x40, 0x01, 0x38, 0x05, 0x00, 0x50})},
         Describe({{P::ChorusType, -1, GsChorusType(5)}, {P::ChorusLevel, -1, 0x50}})},
        {"a GS set with a bad checksum is dropped", {Gs({0x40, 0x01, 0x30, 0x04}, false)}, ""},
        {"GS master volume and key shift",
         {Gs({0x40, 0x00, 0x04, 127, 0x3E})},
         Describe({{P::MasterVolume, -1, 16383}, {P::MasterTranspose, -1, -2}})},
        {"GS master tune +10 cents, four nibbles",
         {Gs({0x40, 0x00, 0x00, 0x00, 0x04, 0x06, 0x04})},
         Describe({{P::MasterTune, -1, 0},
                   {P::MasterTune, -1, 0},
                   {P::MasterTune, -1, 96},
                   {P::MasterTune, -1, 100}})},
        {"GS part 10 is block 0: reverb send; part 1 level; part 11 receives channel 3",
         {Gs({0x40, 0x10, 0x22, 0x28}), Gs({0x40, 0x11, 0x19, 0x64}), Gs({0x40, 0x1A, 0x02, 2})},
         Describe({{P::PartReceive, 10, 2}})},
        {"GS TVF cutoff of part 2, relative",
         {Gs({0x40, 0x12, 0x32, 0x50})},
         Describe({{P::FilterCutoff, 1, 16}})},
        {"XG reverb type Room 2 by MSB and LSB",
         {Xg({0x02, 0x01, 0x00, 0x02, 0x01})},
         Describe(
             {{P::ReverbType, -1, XgReverbType(2, 0)}, {P::ReverbType, -1, XgReverbType(2, 1)}})},
        {"XG part 5 release and receive channel off",
         {Xg({0x08, 0x04, 0x1C, 0x30}), Xg({0x08, 0x04, 0x04, 0x7F})},
         Describe({{P::PartReceive, 4, 16}})},
        {"GM master volume at half",
         {{0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x00, 0x40, 0xF7}},
         Describe({{P::MasterVolume, -1, 8192}})},
        {"a GM master volume cut short: nothing", {{0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x00, 0xF7}}, ""},
        {"GM master coarse tuning down an octave",
         {{0xF0, 0x7F, 0x7F, 0x04, 0x04, 0x00, 0x34, 0xF7}},
         Describe({{P::MasterTranspose, -1, -12}})},
        {"GM2 chorus type Flanger",
         {{0xF0, 0x7F, 0x7F, 0x04, 0x05, 0x01, 0x01, 0x01, 0x01, 0x02, 0x00, 0x05, 0xF7}},
         Describe({{P::ChorusType, -1, Gm2ChorusType(5)}})},
        {"NRPN attack on channel 3, data entry MSB",
         {Cc(3, 99, 1), Cc(3, 98, 0x63), Cc(3, 6, 0x20)},
         Describe({{P::Attack, 3, -32}})},
        {"an RPN selected after the NRPN: data entry is not the module's",
         {Cc(3, 99, 1), Cc(3, 98, 0x63), Cc(3, 101, 0), Cc(3, 6, 0x20)},
         ""},
        {"another channel's NRPN: nothing", {Cc(3, 99, 1), Cc(3, 98, 0x20), Cc(4, 6, 0x20)}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModuleEffects effects;
        effects.reset(ModuleMode::Gs);
        ModuleEffects::Changes last;
        for (const Bytes& m : c.messages)
            last = effects.feed(m);
        EXPECT_EQ(Describe(last), c.expected);
    }
}

} // namespace
} // namespace tobira
