// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_keys.h"

#include <charconv>
#include <limits>
#include <vector>

namespace tobira {
namespace {

SettingKeyInfo info(const IntegerKey& key) {
    return {key.name, SettingType::Integer, key.fallback, {}};
}
SettingKeyInfo info(const BoolKey& key) {
    return {key.name, SettingType::Boolean, key.fallback ? 1 : 0, {}};
}
SettingKeyInfo info(const StringKey& key) {
    return {key.name, SettingType::String, 0, key.fallback};
}

std::vector<SettingKeyInfo> buildTable() {
    using namespace keys;
    std::vector<SettingKeyInfo> table = {
        info(XPOSITION), info(YPOSITION), info(VOLUMEPOS), info(VOLUMEWAV), info(LIVESTATS),
        info(POWERCOLR), info(SHOWHINTS), info(HPOSITION), info(VPOSITION), info(LPOSITION),
        info(TPOSITION), info(VIEWWIDTH), info(VIEWHEIGH), info(SPOSITION), info(UPOSITION),
        info(READWIDTH), info(READHEIGH), info(POSITION0), info(POSITION1), info(MIDIWIDTH),
        info(MIDIHEIGH), info(LISTSELEC), info(MODESELEC), info(OPENFOLD0), info(OPENFOLD1),
        info(FONTNAME),  info(FONTSIZE),  info(REMAINTIM), info(WITHPLAYS), info(AUTOPLAYS),
        info(VOLUMCONT), info(VOLUMMIDI), info(AUTOCLOSE), info(CLOSETIME), info(MIDISTART),
        info(VIEWERTOL), info(VOLUMRATO), info(VOLUMRATI), info(LIVERATIO), info(MIDIRESET),
    };
    for (int slot = 0; slot < kMidiFolderSlots; ++slot)
        table.push_back(info(MIDIFLD(slot)));
    table.push_back(info(CDDEVICE));
    table.push_back(info(SOUNDFONT));
    table.push_back(info(MIDIOUT));
    for (const auto& key : {LYRICPOSX, LYRICPOSY, LYRICWIDT, LYRICHEIG})
        table.push_back(info(key));
    table.push_back(info(LYRICLINE));
    table.push_back(info(PARTPOSX));
    table.push_back(info(PARTPOSY));
    table.push_back(info(LOOPCOUNT));
    table.push_back(info(LOOPFADES));
    return table;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
        if (up(a[i]) != up(b[i]))
            return false;
    }
    return true;
}

} // namespace

std::span<const SettingKeyInfo> SettingKeyTable() {
    static const std::vector<SettingKeyInfo> table = buildTable();
    return table;
}

const SettingKeyInfo* FindSettingKey(std::string_view name) {
    for (const SettingKeyInfo& key : SettingKeyTable()) {
        if (sameName(key.name, name))
            return &key;
    }
    return nullptr;
}

int ReadSetting(const IniFile& file, const IntegerKey& key) {
    return file.readInteger(kSettingsSection, key.name, key.fallback);
}

bool HasSetting(const IniSnapshot& file, const IntegerKey& key) {
    // No number in the file reads as whichever default is asked for.
    constexpr int kOne = std::numeric_limits<int>::min();
    constexpr int kOther = std::numeric_limits<int>::max();
    return file.readInteger(kSettingsSection, key.name, kOne) != kOne ||
           file.readInteger(kSettingsSection, key.name, kOther) != kOther;
}

bool ReadSetting(const IniFile& file, const BoolKey& key) {
    return file.readBool(kSettingsSection, key.name, key.fallback);
}

std::string ReadSetting(const IniFile& file, const StringKey& key) {
    return file.readString(kSettingsSection, key.name, key.fallback);
}

void WriteSetting(IniFile& file, const IntegerKey& key, int value) {
    file.writeInteger(kSettingsSection, key.name, value);
}

void WriteSetting(IniFile& file, const BoolKey& key, bool value) {
    file.writeBool(kSettingsSection, key.name, value);
}

void WriteSetting(IniFile& file, const StringKey& key, std::string_view value) {
    file.writeString(kSettingsSection, key.name, value);
}

int ReadSetting(const IniSnapshot& file, const IntegerKey& key) {
    return file.readInteger(kSettingsSection, key.name, key.fallback);
}

bool ReadSetting(const IniSnapshot& file, const BoolKey& key) {
    return file.readBool(kSettingsSection, key.name, key.fallback);
}

std::string ReadSetting(const IniSnapshot& file, const StringKey& key) {
    return file.readString(kSettingsSection, key.name, key.fallback);
}

int ReadFontSize(const IniSnapshot& file) {
    const std::string text = ReadSetting(file, keys::FONTSIZE);
    int points = 10;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), points);
    return error == std::errc() && end == text.data() + text.size() && points > 0 ? points : 10;
}

void WriteSetting(IniBatch& file, const IntegerKey& key, int value) {
    file.writeInteger(kSettingsSection, key.name, value);
}

void WriteSetting(IniBatch& file, const BoolKey& key, bool value) {
    file.writeBool(kSettingsSection, key.name, value);
}

void WriteSetting(IniBatch& file, const StringKey& key, std::string_view value) {
    file.writeString(kSettingsSection, key.name, value);
}

} // namespace tobira
