// SPDX-License-Identifier: GPL-3.0-or-later
// cdio-paranoia on a disc image: it cannot show error correction (an image has no jitter and no
// scratches), but it runs the whole reading path a drive takes (identify, open, seek, overlapped
// reads, verification), so it must give exactly the samples a plain read gives, in the order
// the read-ahead asks for them.
#include "media/cd/cd_medium.h"
#include "media/cd/cd_paranoia_reader.h"
#include "media/cd/cd_toc.h"
#include "media/cd/cue_bin_writer.h"
#include "support/temp_dir.h"

#include <cdio/cdio.h>
#include <gtest/gtest.h>

#include <vector>

namespace tobira {
namespace {

TEST(CdParanoiaReaderTest, ReadsAnImageExactlyAsPlainReadsDo) {
    CdMedium::silenceLibraryLog();
    testing::TempDir dir;
    const CueImage image = WriteCueBin(dir.path(), "disc",
                                       {{.seconds = 3, .frequency = 440, .level = 0.5},
                                        {.seconds = 3, .frequency = 660, .level = 0.5}});
    CdIo_t* handle = cdio_open_cue(image.cue.c_str());
    ASSERT_NE(handle, nullptr);
    auto reader = CdParanoiaReader::open(handle);
    ASSERT_NE(reader, nullptr) << "paranoia accepts an image";

    struct Read {
        std::int32_t lsn;
        std::int32_t sectors;
    };
    const auto second = static_cast<std::int32_t>(image.trackStarts[1]);
    // In order across the track boundary, a jump back (the seek of PREV), a jump forward.
    const std::vector<Read> reads = {{0, 25}, {25, 25}, {second - 10, 20},
                                     {5, 3},  {8, 10},  {second + 100, 25}};
    for (const Read& r : reads) {
        std::vector<unsigned char> plain(static_cast<std::size_t>(r.sectors) * kCdSectorBytes);
        std::vector<unsigned char> corrected(plain.size(), 0xAA);
        ASSERT_EQ(cdio_read_audio_sectors(handle, plain.data(), r.lsn,
                                          static_cast<std::uint32_t>(r.sectors)),
                  DRIVER_OP_SUCCESS);
        ASSERT_TRUE(reader->read(r.lsn, r.sectors, corrected.data())) << "at " << r.lsn;
        EXPECT_EQ(corrected, plain) << r.sectors << " sectors at " << r.lsn;
    }
    reader.reset(); // paranoia goes before the handle it reads through
    cdio_destroy(handle);
}

} // namespace
} // namespace tobira
