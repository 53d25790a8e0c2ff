// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cd_toc.h"
#include "media/media_device.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tobira {
namespace {

std::vector<CdTocEntry> audioTracks(std::vector<std::int32_t> starts) {
    std::vector<CdTocEntry> entries;
    for (std::size_t i = 0; i < starts.size(); ++i)
        entries.push_back({static_cast<int>(i) + 1, starts[i], true});
    return entries;
}

TEST(CdTocTest, RefusesWhatIsNoAudioCd) {
    std::vector<CdTocEntry> hundred;
    for (int i = 0; i < 100; ++i)
        hundred.push_back({i + 1, i * 100, true});
    struct Case {
        std::string name;
        std::vector<CdTocEntry> entries;
        std::int32_t leadout;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"three tracks", audioTracks({0, 100, 250}), 400, true},
        {"one track", audioTracks({0}), 1, true},
        {"no tracks", {}, 100, false},
        {"more than 99 tracks", hundred, 100 * 100, false},
        {"first track above 1", {{2, 0, true}, {3, 100, true}}, 200, true},
        {"gap in the numbering", {{1, 0, true}, {3, 100, true}}, 200, true},
        {"numbers that go back", {{2, 0, true}, {1, 100, true}}, 200, false},
        {"track 0", {{0, 0, true}, {1, 100, true}}, 200, false},
        {"track 100", {{99, 0, true}, {100, 100, true}}, 200, false},
        {"starts go back", audioTracks({0, 300, 200}), 400, false},
        {"two tracks at one place", audioTracks({0, 100, 100}), 400, false},
        {"lead-out at the last start", audioTracks({0, 100}), 100, false},
        {"lead-out before the last start", audioTracks({0, 225000}), 10, false},
        {"negative start", audioTracks({-5, 100}), 200, false},
        {"longer than a disc can be", audioTracks({0}), CdToc::kMaxSectors + 1, false},
        {"data only", {{1, 0, false}}, 100, false},
        {"data and audio", {{1, 0, false}, {2, 100, true}}, 200, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CdToc::make(c.entries, c.leadout).has_value(), c.valid) << c.name;
}

TEST(CdTocTest, LengthsRunToTheNextStartIncludingItsPregap) {
    // 3:41:12 = 3*4500 + 41*75 + 12 sectors.
    const std::int32_t first = 3 * 4500 + 41 * 75 + 12;
    auto toc = CdToc::make(audioTracks({0, first, first + 150}), first + 150 + 75 * 61);
    ASSERT_TRUE(toc);
    EXPECT_EQ(toc->count(), 3);
    EXPECT_EQ(toc->lengthMsf(1), PackMsf(3, 41, 12));
    EXPECT_EQ(toc->lengthMsf(2), PackMsf(0, 2, 0));
    EXPECT_EQ(toc->lengthMsf(3), PackMsf(1, 1, 0));
    EXPECT_EQ(toc->lengthMsf(0), 0u);
    EXPECT_EQ(toc->lengthMsf(4), 0u);
    EXPECT_EQ(toc->discLengthMsf(), PackMsf(4, 44, 12));
}

TEST(CdTocTest, FindsTracksAndStopsAudioAtData) {
    // 1 audio, 2 audio, 3 data, 4 audio.
    auto toc = CdToc::make({{1, 0, true}, {2, 100, true}, {3, 200, false}, {4, 300, true}}, 400);
    ASSERT_TRUE(toc);
    struct Case {
        std::int32_t lsn;
        int track;
    };
    for (const Case& c : std::vector<Case>{
             {0, 1}, {99, 1}, {100, 2}, {250, 3}, {399, 4}, {400, 4}, {5000, 4}, {-1, 1}})
        EXPECT_EQ(toc->trackAt(c.lsn).number, c.track) << "lsn " << c.lsn;
    EXPECT_EQ(toc->firstAudioFrom(2)->number, 2);
    EXPECT_EQ(toc->firstAudioFrom(3)->number, 4);
    EXPECT_EQ(toc->firstAudioFrom(5), nullptr);
    EXPECT_EQ(toc->audioEnd(1), 200);
    EXPECT_EQ(toc->audioEnd(2), 200);
    EXPECT_EQ(toc->audioEnd(4), 400);

    // The disc's own numbers, 3 and 5: 1, 2 and 4 are tracks of no length that play on.
    auto numbered = CdToc::make({{3, 0, true}, {5, 100, true}}, 300);
    ASSERT_TRUE(numbered);
    EXPECT_EQ(numbered->count(), 5);
    EXPECT_EQ(numbered->track(4), nullptr);
    EXPECT_EQ(numbered->lengthMsf(4), 0u);
    EXPECT_EQ(numbered->firstAudioFrom(1)->number, 3);
    EXPECT_EQ(numbered->firstAudioFrom(4)->number, 5);
    EXPECT_EQ(numbered->trackBefore(5)->number, 3);
    EXPECT_EQ(numbered->trackBefore(3), nullptr);
    EXPECT_EQ(numbered->trackAt(150).number, 5);
}

} // namespace
} // namespace tobira
