// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/song_documents.h"

#include "files/whole_file.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tobira {
namespace {

TEST(FindSongDocuments, UsesTheSongsOwnExtensionAndIgnoresCase) {
    const struct {
        const char* name;
        const char* folder; // below the temp folder
        const char* song;
        std::vector<const char*> files; // made beside the song
        const char* txt;                // expected names, nullptr for none
        const char* doc;
        const char* hed;
    } cases[] = {
        {"only txt", "m", "SONG.MID", {"SONG.TXT"}, "SONG.TXT", nullptr, nullptr},
        {"lower case", "m", "song.mid", {"song.txt", "song.hed"}, "song.txt", nullptr, "song.hed"},
        {"mixed case", "m", "Song.Mid", {"Song.Doc"}, nullptr, "Song.Doc", nullptr},
        {"hidden folder", ".midi", "song.mid", {"song.txt"}, "song.txt", nullptr, nullptr},
        {"dotted folder and name",
         "My.Music",
         "a.b.mid",
         {"a.b.TXT", "a.DOC"},
         "a.b.TXT",
         nullptr,
         nullptr},
        {"name must match exactly",
         "m",
         "Song.mid",
         {"song.txt", "Song.txt.bak", "Songs.txt"},
         nullptr,
         nullptr,
         nullptr},
        {"upper case preferred",
         "m",
         "s.mid",
         {"s.txt", "s.TXT", "s.Txt"},
         "s.TXT",
         nullptr,
         nullptr},
        {"no extension", "m", "README", {"README.TXT"}, "README.TXT", nullptr, nullptr},
        {"folder is not a document", "m", "s.mid", {"s.doc/"}, nullptr, nullptr, nullptr},
        {"japanese name", "m", "曲.mid", {"曲.TXT"}, "曲.TXT", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDir dir;
        auto folder = dir / c.folder;
        std::filesystem::create_directories(folder);
        WriteFileAtomically(folder / c.song, "MThd");
        for (std::string f : c.files) {
            if (f.back() == '/')
                std::filesystem::create_directory(folder / f.substr(0, f.size() - 1));
            else
                WriteFileAtomically(folder / f, "doc");
        }
        const std::string base = *Cp932FromPath(folder) + "/";
        auto expect = [&](const std::optional<std::string>& found, const char* name) {
            if (name)
                EXPECT_EQ(found, base + Utf8ToCp932(name));
            else
                EXPECT_EQ(found, std::nullopt);
        };
        auto docs = FindSongDocuments(base + Utf8ToCp932(c.song));
        expect(docs.Txt, c.txt);
        expect(docs.Doc, c.doc);
        expect(docs.Hed, c.hed);
    }
}

TEST(FindSongDocuments, MissingFolderGivesNone) {
    auto docs = FindSongDocuments("/nonexistent-tobira-folder/song.mid");
    EXPECT_FALSE(docs.Txt || docs.Doc || docs.Hed);
}

} // namespace
} // namespace tobira
