// SPDX-License-Identifier: GPL-3.0-or-later
// Songs chosen on the control window's pages play through the real sequencer.
#include "support/midi_fixture.h"

#include <gmock/gmock.h>

namespace tobira::testing {
namespace {

using ::testing::ElementsAre;

TEST(MidiMonitorTest, SelectedSearchResultsPlayExactlyInResultOrder) {
    struct Case {
        MidiOrder order;
        std::deque<int> random;
        std::vector<std::string> played;
    };
    // Results in list order: a, b (unselected), c, d. Rnd shuffles the two selected ones: for
    // i = 1 the swap partner is random(0) = 0.
    const Case cases[] = {
        {MidiOrder::Nor, {}, {"a.mid", "c.mid"}},
        {MidiOrder::New, {}, {"a.mid", "c.mid"}},
        {MidiOrder::Rnd, {}, {"c.mid", "a.mid"}},
    };
    for (const Case& c : cases) {
        MidiFixture f;
        f.writeList({{"!1 A song", "a.mid"},
                     {"B song", "b.mid"},
                     {"C song", "c.mid", "+2", "3"},
                     {"D song", "d.mid"}});
        f.view.ChooseOrder(c.order);
        SearchPage& search = f.view.Search;
        search.ComboBoxKeyWord = "song";
        search.ButtonSearchClick();
        ASSERT_EQ(search.ListBoxSearch.size(), 4u);
        search.ListBoxSearchClick({true, false, true, false});
        search.ButtonMonClick();
        f.note();
        f.playOut();
        EXPECT_EQ(f.played, c.played);
        EXPECT_EQ(f.view.ListBoxTitle.size(), 0u) << "the play ended with a stop";
    }
}

TEST(MidiMonitorTest, ListPageMonitorPlaysTheOneSong) {
    MidiFixture f;
    f.writeList({{"One", "one.mid"}, {"Two", "two.mid", "-1"}});
    ListPage& page = f.view.Page0;
    page.Activate();
    page.ListBoxTitleClick(1);
    page.SpeedButtonMonClick();
    f.note();
    EXPECT_EQ(f.view.ListBoxTitle.entryTexts(), std::vector<std::string>{"-1 Two"});
    f.playOut();
    EXPECT_THAT(f.played, ElementsAre("two.mid"));
}

} // namespace
} // namespace tobira::testing
