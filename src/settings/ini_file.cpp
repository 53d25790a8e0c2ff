// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_file.h"

#include "files/regular_file.h"
#include "settings/ini_document.h"
#include "settings/ini_values.h"
#include "files/whole_file.h"
#include "text/cp932_convert.h"

#include <filesystem>
#include <optional>

namespace tobira {

SettingsWriteError::SettingsWriteError(const std::string& cp932Path, const std::string& reason)
    : std::runtime_error(cp932Path + Utf8ToCp932(" に書き込めません") + reason) {}

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

bool IniFile::exists() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(PathFromCp932(path_), ec);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const {
    return IniSnapshot(path_).readInteger(section, key, fallback);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
    return IniSnapshot(path_).readBool(section, key, fallback);
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    return IniSnapshot(path_).readString(section, key, fallback);
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    IniBatch batch(path_);
    batch.writeString(section, key, value);
    batch.commit();
}

IniSnapshot::IniSnapshot(const std::string& path) {
    try {
        if (auto bytes = ReadWholeFile(PathFromCp932(path), read_limit::Settings)) {
            bytes_ = std::make_unique<const std::string>(std::move(*bytes));
            sections_ = IniDocument::indexSections(*bytes_);
            exists_ = true;
        }
    } catch (const std::exception& error) {
        problem_ = error.what();
    }
}

std::optional<std::string> IniSnapshot::find(std::string_view section, std::string_view key) const {
    const auto indexed = sections_.find(FoldIniName(section));
    if (indexed == sections_.end())
        return std::nullopt;
    const auto value = indexed->second.find(key);
    if (value == indexed->second.end())
        return std::nullopt;
    return IniDocument::Unquoted(value->second);
}

int IniSnapshot::readInteger(std::string_view section, std::string_view key, int fallback) const {
    const std::optional<std::string> value = find(section, key);
    return value ? ParseIniInteger(*value, fallback) : fallback;
}

bool IniSnapshot::readBool(std::string_view section, std::string_view key, bool fallback) const {
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

std::string IniSnapshot::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
    const std::optional<std::string> value = find(section, key);
    return LimitIniString(value ? std::string_view(*value) : fallback);
}

IniBatch::IniBatch(std::string path) : path_(std::move(path)) {}

void IniBatch::writeInteger(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniBatch::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void IniBatch::writeString(std::string_view section, std::string_view key, std::string_view value) {
    entries_.emplace_back(section, key, value);
}

void IniBatch::commit() {
    try {
        std::filesystem::path file = PathFromCp932(path_);
        std::optional<std::string> bytes = ReadWholeFile(file, read_limit::Settings);
        IniDocument doc = bytes ? IniDocument::parse(*bytes) : IniDocument();
        // Consecutive keys of one section go in together; a save names one section.
        for (std::size_t i = 0; i < entries_.size();) {
            const std::string& section = std::get<0>(entries_[i]);
            std::vector<std::pair<std::string, std::string>> values;
            for (; i < entries_.size() && std::get<0>(entries_[i]) == section; ++i)
                values.emplace_back(std::get<1>(entries_[i]), std::get<2>(entries_[i]));
            doc.setValues(section, values);
        }
        WriteFileAtomically(file, doc.bytes());
    } catch (const std::exception& error) {
        throw SettingsWriteError(path_, FileFailureReason(error));
    }
}

} // namespace tobira
