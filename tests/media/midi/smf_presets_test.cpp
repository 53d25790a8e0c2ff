// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/smf_presets.h"

#include "support/smf_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace tobira {
namespace {

using testing::SmfWriter;

// Each case: a song, the presets it must name (what a synthesizer may select for it) and the
// ones it must not (loading them would only cost memory).
TEST(SongPresetsTest, NamesEveryPresetTheSongCanSelect) {
    struct Case {
        const char* what;
        std::function<void(SmfWriter&)> song;
        std::vector<SynthPreset> named, notNamed;
    };
    const Case cases[] = {
        {"defaults of a reset, even without program changes",
         [](SmfWriter& w) { w.note(0, 0, 0, 60, 100, 10); },
         {{0, 0}, {128, 0}},
         {}},
        {"a melodic program is not taken for a drum kit",
         [](SmfWriter& w) { w.programChange(0, 0, 0, 48); },
         {{0, 48}},
         {{128, 48}}},
        {"a program on the drum channel selects a kit",
         [](SmfWriter& w) { w.programChange(0, 0, 9, 16); },
         {{128, 16}},
         {}},
        {"a GS variation and its fallback",
         [](SmfWriter& w) {
             w.controlChange(0, 0, 1, 0, 8);
             w.programChange(0, 10, 1, 4);
         },
         {{8, 4}, {0, 4}},
         {}},
        {"XG: bank LSB, and MSB 127 makes a drum part",
         [](SmfWriter& w) {
             w.controlChange(0, 0, 2, 32, 1);
             w.programChange(0, 5, 2, 5);
             w.controlChange(0, 0, 3, 0, 127);
             w.programChange(0, 5, 3, 25);
         },
         {{1, 5}, {0, 5}, {128, 25}},
         {{128, 5}}},
        {"a bank select in another track, earlier in time",
         [](SmfWriter& w) {
             const int t = w.addTrack();
             w.programChange(0, 100, 4, 40);
             w.controlChange(t, 50, 4, 0, 16);
         },
         {{16, 40}},
         {}},
        {"a GS rhythm-part message makes any channel a drum part",
         [](SmfWriter& w) {
             w.sysex(0, 0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x12, 0x15, 0x02, 0x17, 0xF7});
             w.programChange(0, 10, 2, 32);
         },
         {{128, 32}},
         {}},
        {"running status and meta events between selections",
         [](SmfWriter& w) {
             w.text(0, 0, 0x01, "text");
             w.programChange(0, 0, 5, 70);
             w.programChange(0, 1, 5, 71);
             w.tempoBpm(0, 2, 90);
             w.programChange(0, 3, 6, 72);
         },
         {{0, 70}, {0, 71}, {0, 72}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SmfWriter w(1, 480);
        c.song(w);
        std::vector<SmfEvent> events;
        ParseSmf(w.bytes(), events);
        const std::vector<SynthPreset> got = SongPresets(events);
        EXPECT_TRUE(std::is_sorted(got.begin(), got.end()));
        EXPECT_EQ(std::adjacent_find(got.begin(), got.end()), got.end());
        for (const SynthPreset& p : c.named)
            EXPECT_NE(std::find(got.begin(), got.end(), p), got.end())
                << "bank " << p.bank << " program " << p.program << " missing";
        for (const SynthPreset& p : c.notNamed)
            EXPECT_EQ(std::find(got.begin(), got.end(), p), got.end())
                << "bank " << p.bank << " program " << p.program << " named";
    }
}

} // namespace
} // namespace tobira
