#include "settings/ini_file.h"

#include "settings/ini_document.h"
#include "settings/ini_values.h"
#include "files/whole_file.h"
#include "text/cp932_convert.h"

#include <filesystem>
#include <optional>

namespace tobira {
namespace {

std::optional<std::string> readValue(const std::string& path, std::string_view section,
                                     std::string_view key) {
    std::optional<std::string> bytes;
    try {
        bytes = ReadWholeFile(PathFromCp932(path), read_limit::Settings);
    } catch (const std::exception&) {
        return std::nullopt; // an unreadable file reads like a missing one: every default
    }
    if (!bytes)
        return std::nullopt;
    return IniDocument::parse(*bytes).value(section, key);
}

} // namespace

SettingsWriteError::SettingsWriteError(const std::string& cp932Path)
    : std::runtime_error(cp932Path + Utf8ToCp932(" に書き込めません")) {}

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

bool IniFile::exists() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(PathFromCp932(path_), ec);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const {
    auto value = readValue(path_, section, key);
    return value ? ParseIniInteger(*value, fallback) : fallback;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    auto value = readValue(path_, section, key);
    return LimitIniString(value ? std::string_view(*value) : fallback);
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    try {
        std::filesystem::path file = PathFromCp932(path_);
        // A file that exists but cannot be read must not be replaced by one holding this key
        // alone: ReadWholeFile throws then, and the write fails.
        std::optional<std::string> bytes = ReadWholeFile(file, read_limit::Settings);
        IniDocument doc = bytes ? IniDocument::parse(*bytes) : IniDocument();
        doc.setValue(section, key, value);
        WriteFileAtomically(file, doc.bytes());
    } catch (const std::exception&) {
        throw SettingsWriteError(path_);
    }
}

IniSnapshot::IniSnapshot(const std::string& path) {
    try {
        if (auto bytes = ReadWholeFile(PathFromCp932(path), read_limit::Settings)) {
            bytes_ = std::move(*bytes);
            exists_ = true;
        }
    } catch (const std::exception& error) {
        problem_ = error.what();
    }
}

const std::string* IniSnapshot::find(std::string_view section, std::string_view key) const {
    auto indexed = sections_.find(FoldIniName(section));
    if (indexed == sections_.end())
        indexed =
            sections_.emplace(FoldIniName(section), IniDocument::indexSection(bytes_, section))
                .first;
    auto value = indexed->second.find(key);
    if (value == indexed->second.end())
        return nullptr;
    value_ = IniDocument::Unquoted(value->second);
    return &value_;
}

int IniSnapshot::readInteger(std::string_view section, std::string_view key, int fallback) const {
    const std::string* value = find(section, key);
    return value ? ParseIniInteger(*value, fallback) : fallback;
}

bool IniSnapshot::readBool(std::string_view section, std::string_view key, bool fallback) const {
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

std::string IniSnapshot::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
    const std::string* value = find(section, key);
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
    } catch (const std::exception&) {
        throw SettingsWriteError(path_);
    }
}

} // namespace tobira
