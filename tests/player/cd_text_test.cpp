// SPDX-License-Identifier: GPL-3.0-or-later
// What the player makes of a disc image's CD-Text and of an image it cannot use.
#include "support/cd_fixture.h"

#include <fstream>

namespace tobira {
namespace {

using testing::CdFixture;
using testing::Sjis;

TEST(CdText, TitlesBecomeMarkHintsAndTheDiscTitleFillsAnEmptyTitleBox) {
    struct Case {
        std::string name;
        std::string discTitle; // UTF-8
        bool storedTitle;      // a pattern of this disc carries a title
        std::string box;       // UTF-8, the title box after the disc is read
    };
    const Case cases[] = {
        {"CD-Text, nothing stored", "旅の扉", false, "旅の扉"},
        {"CD-Text, a stored title wins", "旅の扉", true, ""},
        {"no CD-Text", "", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CdFixture f;
        std::vector<CueTrack> tracks = testing::EqualTracks(5, 5);
        if (!c.discTitle.empty())
            for (std::size_t i = 0; i < tracks.size(); ++i)
                tracks[i].title = "曲" + std::to_string(i + 1);
        WriteCueBin(f.dir.path(), "disc", tracks, c.discTitle, "楽団");
        if (c.storedTitle)
            // Five tracks of 5 s: 05 tracks, 00:25 in all, the last 00:05.
            std::ofstream(PathFromCp932(f.main.Paths.PatternPath), std::ios::binary)
                << "05002500053=02 01 ." << Sjis("私の名前") << "\r\n";
        f.cd.checkMedia();
        f.startPlaying();
        EXPECT_EQ(Cp932ToUtf8(f.list.EditPattern), c.box);
        f.advance(1); // the marks show the tracks while playing

        for (std::size_t i = 0; i < f.main.LabelMarks.size(); ++i) {
            const std::string hint = Cp932ToUtf8(f.main.LabelMarks[i].Hint);
            if (c.discTitle.empty() || i >= 5)
                EXPECT_EQ(hint, "") << "mark " << i;
            else
                EXPECT_EQ(hint, "曲" + std::to_string(i + 1)) << "mark " << i;
        }
        f.main.SpeedButtonSTOPClick();
        f.tick();
        EXPECT_EQ(f.main.LabelMarks[0].Hint, "") << "mode marks have no track hints";
    }
}

TEST(CdText, AnImageThatCannotBeUsedIsToldOnceAndIsNoDisc) {
    CdFixture f;
    std::ofstream(f.image.cue, std::ios::binary)
        << "FILE \"disc.bin\" BINARY\r\nTRACK 01 AUDIO\r\nINDEX 01 99:99:99\r\n";
    f.cd.checkMedia();
    for (int i = 0; i < 3; ++i)
        f.tick();
    ASSERT_EQ(f.fakes.messages.shown.size(), 1u);
    EXPECT_EQ(Cp932ToUtf8(f.fakes.messages.shown[0]),
              "ディスクイメージ【disc.cue】の 3 行目：INDEX 行の番号か時間が正しくありません");
    EXPECT_EQ(f.main.LabelPLAY.Caption, "NO DISC");
}

} // namespace
} // namespace tobira
