// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/midi_soundfont.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace tobira {
namespace {

void Touch(const std::filesystem::path& path) {
    std::ofstream(path) << "x";
}

TEST(MidiSoundFont, TakesTheFirstPlaceThatHasOne) {
    testing::TempDir dir;
    const auto empty = dir / "empty";
    const auto mixed = dir / "mixed";
    const auto upper = dir / "upper";
    for (const auto& d : {empty, mixed, upper})
        std::filesystem::create_directory(d);
    Touch(mixed / "b.sf2");
    Touch(mixed / "a.sf2");
    Touch(mixed / "0-readme.txt");
    std::filesystem::create_directory(mixed / "0.sf2"); // a folder, not a SoundFont
    std::filesystem::create_symlink(dir / "nowhere.sf2", mixed / "00-dangling.sf2");
    Touch(upper / "GM.SF2");
    Touch(dir / "given.sf2");

    struct Case {
        const char* name;
        std::vector<std::filesystem::path> places;
        std::filesystem::path expected;
    };
    const Case cases[] = {
        {"a file named first wins", {dir / "given.sf2", mixed}, dir / "given.sf2"},
        {"a missing file is passed over", {dir / "missing.sf2", mixed}, mixed / "a.sf2"},
        {"an empty folder is passed over", {empty, upper}, upper / "GM.SF2"},
        {"first by name in a folder", {mixed}, mixed / "a.sf2"},
        {"nothing anywhere", {empty, dir / "missing"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindSoundFont(c.places), c.expected);
    }
}

TEST(MidiSoundFont, TheUserFolderFollowsXdgDataHome) {
    const char* savedHome = std::getenv("HOME");
    const char* savedData = std::getenv("XDG_DATA_HOME");
    const std::string home = savedHome ? savedHome : "";
    const std::string data = savedData ? savedData : "";

    setenv("HOME", "/home/kanade", 1);
    unsetenv("XDG_DATA_HOME");
    auto places = StandardSoundFontPlaces();
    const std::vector<std::filesystem::path> expected{
        "/usr/share/sounds/sf2/default-GM.sf2", "/home/kanade/.local/share/sounds/sf2",
        "/usr/share/sounds/sf2", "/usr/share/soundfonts"};
    EXPECT_EQ(places, expected);

    setenv("XDG_DATA_HOME", "/data", 1);
    places = StandardSoundFontPlaces();
    ASSERT_EQ(places.size(), 4u);
    EXPECT_EQ(places[1], "/data/sounds/sf2");

    savedHome ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
    savedData ? setenv("XDG_DATA_HOME", data.c_str(), 1) : unsetenv("XDG_DATA_HOME");
}

} // namespace
} // namespace tobira
