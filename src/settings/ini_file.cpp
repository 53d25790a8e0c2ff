#include "settings/ini_file.h"

#include "settings/ini_document.h"
#include "files/file_identity.h"
#include "settings/ini_values.h"
#include "files/whole_file.h"
#include "text/cp932_convert.h"

#include <atomic>
#include <filesystem>
#include <optional>

namespace tobira {
namespace {

// Counts this program's writes of settings files, so that a shared read never outlives one.
std::atomic<unsigned long> writes{0};

// The read an IniSharedRead holds for its thread's snapshots.
struct SharedRead {
    int holders = 0;
    std::string path;
    FileIdentity identity;
    unsigned long writesSeen = 0;
    std::shared_ptr<IniSnapshot::Read> read;
};
thread_local SharedRead shared;

// Marks a write for the span of it, whether it succeeds or not.
class WriteMark final {
  public:
    WriteMark() { ++writes; }
    ~WriteMark() { ++writes; }
    WriteMark(const WriteMark&) = delete;
    WriteMark& operator=(const WriteMark&) = delete;
};

} // namespace

SettingsWriteError::SettingsWriteError(const std::string& cp932Path)
    : std::runtime_error(cp932Path + Utf8ToCp932(" に書き込めません")) {}

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
    const std::optional<FileIdentity> identity =
        shared.holders > 0 ? IdentityOf(path) : std::nullopt;
    if (identity && shared.read && shared.path == path && shared.identity == *identity &&
        shared.writesSeen == writes) {
        read_ = shared.read;
        exists_ = true;
        return;
    }
    const unsigned long writesBefore = writes;
    try {
        if (auto bytes = ReadWholeFile(PathFromCp932(path), read_limit::Settings)) {
            read_ = std::make_shared<Read>();
            read_->bytes = std::move(*bytes);
            exists_ = true;
        }
    } catch (const std::exception& error) {
        problem_ = error.what();
    }
    // The identity was taken before the read: a file changed since then has another, and is
    // read again by the next snapshot.
    if (identity && read_)
        shared = SharedRead{shared.holders, path, *identity, writesBefore, read_};
}

IniSharedRead::IniSharedRead() {
    ++shared.holders;
}

IniSharedRead::~IniSharedRead() {
    if (--shared.holders == 0)
        shared = SharedRead{};
}

const std::string* IniSnapshot::find(std::string_view section, std::string_view key) const {
    if (!read_)
        return nullptr;
    auto& sections = read_->sections;
    auto indexed = sections.find(FoldIniName(section));
    if (indexed == sections.end())
        indexed =
            sections.emplace(FoldIniName(section), IniDocument::indexSection(read_->bytes, section))
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
    const WriteMark mark;
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
