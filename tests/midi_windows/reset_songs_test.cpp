// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/reset_songs.h"

#include "media/midi/smf_reader.h"
#include "files/whole_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tobira {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ResetSongs, HoldTheStandardMessagesWithValidChecksums) {
    const struct {
        MidiResetType type;
        const char* fileName;
        Bytes sysex;
    } cases[] = {
        {MidiResetType::Gm, "GAKUFU_GM.MID", {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
        {MidiResetType::Gs,
         "GAKUFU_GS.MID",
         {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}},
        {MidiResetType::Sc88Mode1,
         "GAKUFU_88.MID",
         {0xF0, 0x41, 0x10, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x00, 0x01, 0xF7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileName);
        EXPECT_EQ(ResetSongFileName(c.type), c.fileName);
        Bytes sysex = ResetSysEx(c.type);
        EXPECT_EQ(sysex, c.sysex);
        if (sysex[1] == 0x41) {
            // Roland: address, data and checksum add up to a multiple of 128.
            unsigned sum = 0;
            for (std::size_t i = 5; i + 1 < sysex.size(); ++i)
                sum += sysex[i];
            EXPECT_EQ(sum % 128, 0u);
        }

        Bytes song = ResetSongBytes(c.type);
        SmfSong parsed = ParseSmf(song);
        EXPECT_EQ(parsed.trackCount(), 1);
        EXPECT_GT(parsed.lengthSeconds(), 0.05);
        EXPECT_LT(parsed.lengthSeconds(), 0.5);
        // The message is stored as F0, its length, and the rest including F7.
        Bytes stored{0xF0, static_cast<std::uint8_t>(sysex.size() - 1)};
        stored.insert(stored.end(), sysex.begin() + 1, sysex.end());
        EXPECT_NE(std::search(song.begin(), song.end(), stored.begin(), stored.end()), song.end());
    }
    EXPECT_TRUE(ResetSongBytes(MidiResetType::Non).empty());
    EXPECT_TRUE(ResetSongFileName(MidiResetType::Non).empty());
}

TEST(ResetSongs, ArePlacedOnlyWhereMissing) {
    testing::TempDir dir;
    auto placed = PlaceMissingResetSongs(dir.path());
    EXPECT_EQ(placed.size(), 3u);
    for (auto type : {MidiResetType::Gm, MidiResetType::Gs, MidiResetType::Sc88Mode1}) {
        auto bytes = ReadWholeFile(dir / std::string(ResetSongFileName(type)));
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(Bytes(bytes->begin(), bytes->end()), ResetSongBytes(type));
    }

    // The user's own GS file stays; a deleted GM file comes back.
    WriteFileAtomically(dir / "GAKUFU_GS.MID", "mine");
    std::filesystem::remove(dir / "GAKUFU_GM.MID");
    placed = PlaceMissingResetSongs(dir.path());
    EXPECT_EQ(placed, std::vector<std::filesystem::path>{dir / "GAKUFU_GM.MID"});
    EXPECT_EQ(*ReadWholeFile(dir / "GAKUFU_GS.MID"), "mine");
    EXPECT_TRUE(PlaceMissingResetSongs(dir.path()).empty());

    // Nothing but the three songs is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              3);
    EXPECT_THROW(PlaceMissingResetSongs(dir / "missing"), std::system_error);
}

} // namespace
} // namespace tobira
