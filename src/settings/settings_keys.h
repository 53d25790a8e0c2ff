// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every key of TOBIRA.INI with its type and default. Callers name a key by its constant
// (keys::XPOSITION) and read it with ReadSetting, so each default is written down once, here.

#include "settings/ini_file.h"

#include <array>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tobira {

inline constexpr std::string_view kSettingsFileName = "TOBIRA.INI";
inline constexpr std::string_view kSettingsSection = "BASICDATA";

enum class SettingType { Integer, Boolean, String };

struct IntegerKey {
    std::string_view name;
    int fallback;
};
struct BoolKey {
    std::string_view name;
    bool fallback;
};
struct StringKey {
    std::string_view name;
    std::string_view fallback; // code page 932
};

namespace keys {

inline constexpr IntegerKey XPOSITION{"XPOSITION", -1};
inline constexpr IntegerKey YPOSITION{"YPOSITION", -1};
inline constexpr IntegerKey VOLUMEPOS{"VOLUMEPOS", 3};
inline constexpr IntegerKey VOLUMEWAV{"VOLUMEWAV", 3};
inline constexpr BoolKey LIVESTATS{"LIVESTATS", false};
inline constexpr StringKey POWERCOLR{"POWERCOLR", "clLime"};
inline constexpr BoolKey SHOWHINTS{"SHOWHINTS", true};
inline constexpr IntegerKey HPOSITION{"HPOSITION", -1};
inline constexpr IntegerKey VPOSITION{"VPOSITION", -1};
inline constexpr IntegerKey LPOSITION{"LPOSITION", -1};
inline constexpr IntegerKey TPOSITION{"TPOSITION", -1};
inline constexpr IntegerKey VIEWWIDTH{"VIEWWIDTH", 246};
inline constexpr IntegerKey VIEWHEIGH{"VIEWHEIGH", 265};
inline constexpr IntegerKey SPOSITION{"SPOSITION", -1};
inline constexpr IntegerKey UPOSITION{"UPOSITION", -1};
inline constexpr IntegerKey READWIDTH{"READWIDTH", 350};
inline constexpr IntegerKey READHEIGH{"READHEIGH", 300};
inline constexpr IntegerKey POSITION0{"0POSITION", -1}; // a name cannot begin with a digit
inline constexpr IntegerKey POSITION1{"1POSITION", -1};
inline constexpr IntegerKey MIDIWIDTH{"MIDIWIDTH", 280};
inline constexpr IntegerKey MIDIHEIGH{"MIDIHEIGH", 194};
inline constexpr IntegerKey LISTSELEC{"LISTSELEC", 0};
inline constexpr IntegerKey MODESELEC{"MODESELEC", 0};
inline constexpr StringKey OPENFOLD0{"OPENFOLD0", ""};
inline constexpr StringKey OPENFOLD1{"OPENFOLD1", ""};
// "ＭＳ ゴシック" in code page 932.
inline constexpr StringKey FONTNAME{"FONTNAME",
                                    "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E"};
inline constexpr StringKey FONTSIZE{"FONTSIZE", "10"};
inline constexpr BoolKey REMAINTIM{"REMAINTIM", false};
inline constexpr BoolKey WITHPLAYS{"WITHPLAYS", true};
inline constexpr BoolKey AUTOPLAYS{"AUTOPLAYS", false};
inline constexpr BoolKey VOLUMCONT{"VOLUMCONT", true};
inline constexpr BoolKey VOLUMMIDI{"VOLUMMIDI", true};
inline constexpr BoolKey AUTOCLOSE{"AUTOCLOSE", false};
inline constexpr IntegerKey CLOSETIME{"CLOSETIME", 30};
inline constexpr BoolKey MIDISTART{"MIDISTART", false};
inline constexpr StringKey VIEWERTOL{"VIEWERTOL", ""};
inline constexpr IntegerKey VOLUMRATO{"VOLUMRATO", 3};
inline constexpr IntegerKey VOLUMRATI{"VOLUMRATI", 3};
inline constexpr IntegerKey LIVERATIO{"LIVERATIO", 1};
inline constexpr IntegerKey MIDIRESET{"MIDIRESET", 1};
// The CD drive or CUE disc image to play; empty means the first drive found.
inline constexpr StringKey CDDEVICE{"CDDEVICE", ""};
// The synthesizer's SoundFont; empty means the standard one.
inline constexpr StringKey SOUNDFONT{"SOUNDFONT", ""};
// The MIDI output: a sequencer port of an external sound module by name ("client:port");
// empty means the built-in synthesizer.
inline constexpr StringKey MIDIOUT{"MIDIOUT", ""};
// The lyrics window's place and size, and whether the main window's title line shows the line
// of the lyrics being sung.
inline constexpr IntegerKey LYRICPOSX{"LYRICPOSX", -1};
inline constexpr IntegerKey LYRICPOSY{"LYRICPOSY", -1};
inline constexpr IntegerKey LYRICWIDT{"LYRICWIDT", 360};
inline constexpr IntegerKey LYRICHEIG{"LYRICHEIG", 96};
inline constexpr BoolKey LYRICLINE{"LYRICLINE", false};
// The part display's place.
inline constexpr IntegerKey PARTPOSX{"PARTPOSX", -1};
inline constexpr IntegerKey PARTPOSY{"PARTPOSY", -1};
// A game song's loop: played this many more times (1..9; 0 is off, the song plays once), then
// faded out over LOOPFADES seconds (0..10).
inline constexpr IntegerKey LOOPCOUNT{"LOOPCOUNT", 0};
inline constexpr IntegerKey LOOPFADES{"LOOPFADES", 3};

inline constexpr int kMidiFolderSlots = 40;

namespace detail {
inline constexpr auto kMidiFolderNames = [] {
    std::array<std::array<char, 10>, kMidiFolderSlots> names{};
    for (int slot = 0; slot < kMidiFolderSlots; ++slot) {
        auto& name = names[static_cast<std::size_t>(slot)];
        for (int i = 0; i < 7; ++i)
            name[static_cast<std::size_t>(i)] = "MIDIFLD"[i];
        name[7] = static_cast<char>('0' + slot / 10);
        name[8] = static_cast<char>('0' + slot % 10);
    }
    return names;
}();
} // namespace detail

// MIDIFLD00 .. MIDIFLD39, the registered MIDI folders; empty = free slot. Throws
// std::out_of_range for a slot outside 0..39.
constexpr StringKey MIDIFLD(int slot) {
    if (slot < 0 || slot >= kMidiFolderSlots)
        throw std::out_of_range("MIDI folder slot");
    return {std::string_view(detail::kMidiFolderNames[static_cast<std::size_t>(slot)].data(), 9),
            ""};
}

} // namespace keys

struct SettingKeyInfo {
    std::string_view name;
    SettingType type;
    int numberFallback;            // integer and boolean keys (0 or 1)
    std::string_view textFallback; // string keys
};

// Every key of the file, MIDIFLD00 .. MIDIFLD39 included.
std::span<const SettingKeyInfo> SettingKeyTable();

// The key of that name (without regard to ASCII case), or nullptr.
const SettingKeyInfo* FindSettingKey(std::string_view name);

// Reads and writes of a key in the "BASICDATA" section, with the key's own default.
int ReadSetting(const IniFile& file, const IntegerKey& key);
bool ReadSetting(const IniFile& file, const BoolKey& key);
std::string ReadSetting(const IniFile& file, const StringKey& key);
// Whether the file holds a number for the key (a window's stored position, say), as opposed to
// the reader's default standing in for it.
bool HasSetting(const IniSnapshot& file, const IntegerKey& key);
void WriteSetting(IniFile& file, const IntegerKey& key, int value);
void WriteSetting(IniFile& file, const BoolKey& key, bool value);
void WriteSetting(IniFile& file, const StringKey& key, std::string_view value);
int ReadSetting(const IniSnapshot& file, const IntegerKey& key);
bool ReadSetting(const IniSnapshot& file, const BoolKey& key);
std::string ReadSetting(const IniSnapshot& file, const StringKey& key);
// FONTSIZE as whole points; a hand-edited value that is not one keeps the built-in 10.
int ReadFontSize(const IniSnapshot& file);
void WriteSetting(IniBatch& file, const IntegerKey& key, int value);
void WriteSetting(IniBatch& file, const BoolKey& key, bool value);
void WriteSetting(IniBatch& file, const StringKey& key, std::string_view value);

} // namespace tobira
