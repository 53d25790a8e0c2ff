// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/position_check.h"
#include "settings/settings_keys.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace tobira {
namespace {

// The file's format holds names of up to nine bytes, each once; the song folders are numbered.
TEST(SettingKeyTable, NamesFitTheFileAndAreFoundWithoutRegardToCase) {
    std::set<std::string_view> names;
    for (const SettingKeyInfo& key : SettingKeyTable()) {
        EXPECT_LE(key.name.size(), 9u) << key.name;
        names.insert(key.name);
    }
    EXPECT_EQ(SettingKeyTable().size(), 40u + 40u + 3u + 5u + 2u + 2u);
    EXPECT_EQ(names.size(), SettingKeyTable().size()) << "a key is listed twice";
    EXPECT_EQ(FindSettingKey("midifld12"), FindSettingKey("MIDIFLD12"));
    EXPECT_EQ(FindSettingKey("MIDIFLD40"), nullptr);
    EXPECT_EQ(keys::MIDIFLD(5).name, "MIDIFLD05");
    EXPECT_THROW(keys::MIDIFLD(40), std::out_of_range);
    EXPECT_THROW(keys::MIDIFLD(-1), std::out_of_range);
}

TEST(ReadSetting, MissingFileGivesEveryDefaultAndWritesRoundTrip) {
    testing::TempDir dir;
    IniFile ini(*Cp932FromPath(dir / std::string(kSettingsFileName)));
    EXPECT_EQ(ReadSetting(ini, keys::CLOSETIME), 30);
    EXPECT_TRUE(ReadSetting(ini, keys::SHOWHINTS));
    EXPECT_FALSE(ReadSetting(ini, keys::MIDISTART));
    EXPECT_EQ(ReadSetting(ini, keys::FONTNAME), Utf8ToCp932("ＭＳ ゴシック"));
    EXPECT_FALSE(ini.exists());

    WriteSetting(ini, keys::CLOSETIME, 45);
    WriteSetting(ini, keys::SHOWHINTS, false);
    WriteSetting(ini, keys::MIDIFLD(39), "/music");
    EXPECT_EQ(ReadSetting(ini, keys::CLOSETIME), 45);
    EXPECT_FALSE(ReadSetting(ini, keys::SHOWHINTS));
    EXPECT_EQ(ReadSetting(ini, keys::MIDIFLD(39)), "/music");

    std::ofstream(dir / "TOBIRA.INI", std::ios::binary) << "[BASICDATA]\r\nCLOSETIME=abc\r\n";
    EXPECT_EQ(ReadSetting(ini, keys::CLOSETIME), 30);
}

TEST(PositionCheck, Boundaries) {
    const ScreenSize screen{1024, 768};
    using Check = bool (*)(ScreenPoint, ScreenSize);
    struct Case {
        const char* name;
        Check check;
        ScreenPoint stored;
        bool usable;
    };
    const Case cases[] = {
        {"main default", MainWindowPositionUsable, {-1, -1}, false},
        {"main x 0", MainWindowPositionUsable, {0, 100}, false},
        {"main x 1", MainWindowPositionUsable, {1, 100}, true},
        {"main y 0", MainWindowPositionUsable, {100, 0}, false},
        {"main y 1", MainWindowPositionUsable, {100, 1}, true},
        {"main x last", MainWindowPositionUsable, {1024 - 283, 100}, true},
        {"main x = width - 282", MainWindowPositionUsable, {1024 - 282, 100}, false},
        {"main y last", MainWindowPositionUsable, {100, 768 - 76}, true},
        {"main y = height - 75", MainWindowPositionUsable, {100, 768 - 75}, false},
        {"track default", TrackControlPositionUsable, {-1, -1}, false},
        {"track x 0", TrackControlPositionUsable, {0, 100}, false},
        {"track x 1", TrackControlPositionUsable, {1, 1}, true},
        {"track x last", TrackControlPositionUsable, {1024 - 421, 100}, true},
        {"track x = width - 420", TrackControlPositionUsable, {1024 - 420, 100}, false},
        {"track y last", TrackControlPositionUsable, {100, 768 - 191}, true},
        {"track y = height - 190", TrackControlPositionUsable, {100, 768 - 190}, false},
        {"side default", SideWindowPositionUsable, {-1, -1}, false},
        {"side y 0", SideWindowPositionUsable, {100, 0}, false},
        {"side x 1", SideWindowPositionUsable, {1, 1}, true},
        {"side x last", SideWindowPositionUsable, {1024 - 101, 100}, true},
        {"side x = width - 100", SideWindowPositionUsable, {1024 - 100, 100}, false},
        {"side y last", SideWindowPositionUsable, {100, 768 - 51}, true},
        {"side y = height - 50", SideWindowPositionUsable, {100, 768 - 50}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.check(c.stored, screen), c.usable);
    }
    EXPECT_FALSE(MainWindowPositionUsable({1, 1}, {282, 75})) << "screen smaller than the window";
}

} // namespace
} // namespace tobira
