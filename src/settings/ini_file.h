// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file by path. Every read and every write goes to the file itself: a load reads it
// once (IniSnapshot; the start reads it once for every window), a save writes it once
// (IniBatch), and nothing is kept between actions.

#include "settings/ini_document.h"
#include "files/regular_file.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace tobira {

// A write that failed. what() is the program's message, in code page 932:
// "<path> に書き込めません" (cannot write to <path>), then the reason in brackets when known.
class SettingsWriteError final : public std::runtime_error {
  public:
    SettingsWriteError(const std::string& cp932Path, const std::string& reason = {});
};

// One key at a time: each read is a snapshot of its own, each write a save of one key.
class IniFile final {
  public:
    // `path` is code page 932, as every path in the core.
    explicit IniFile(std::string path);

    const std::string& path() const { return path_; }
    bool exists() const;

    // A missing or unreadable file, a missing section or key give `fallback`. Integers follow
    // ParseIniInteger; booleans are integers read with the fallback 1 or 0, any value but 0
    // being true; strings are cut to 1023 bytes (the fallback too).
    int readInteger(std::string_view section, std::string_view key, int fallback) const;
    bool readBool(std::string_view section, std::string_view key, bool fallback) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;

    // Reads the whole file, sets the one key and writes the whole file back atomically,
    // creating the file or the section when missing. Integers are written in decimal, booleans
    // as "1"/"0". Throws SettingsWriteError when the file cannot be read or written, or the
    // value cannot be stored on one line (it holds a line break); the file is then unchanged.
    void writeInteger(std::string_view section, std::string_view key, int value);
    void writeBool(std::string_view section, std::string_view key, bool value);
    void writeString(std::string_view section, std::string_view key, std::string_view value);

  private:
    std::string path_;
};

// One read of the settings file: the file is read and indexed once, and every key comes from
// those bytes; nothing changes it afterwards. Made for the span of one handler or of the start,
// never kept between actions.
class IniSnapshot final {
  public:
    // `path` is code page 932. A missing file, or one that cannot be read, gives every default.
    explicit IniSnapshot(const std::string& path);

    // Whether a regular file was read.
    bool exists() const { return exists_; }
    // Why the file exists but could not be read (code page 932, naming the file), else empty.
    const std::string& problem() const { return problem_; }

    // As IniFile's reads.
    int readInteger(std::string_view section, std::string_view key, int fallback) const;
    bool readBool(std::string_view section, std::string_view key, bool fallback) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;

  private:
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

    bool exists_ = false;
    std::string problem_;
    // The index holds views into the bytes: neither is copied or moved apart from the other.
    std::unique_ptr<const std::string> bytes_;
    IniDocument::FileIndex sections_;
};

// One save of several keys: they are collected, and commit() writes them with one replacement
// of the file, so a crash or a kill leaves all of them old or all of them new.
class IniBatch final {
  public:
    explicit IniBatch(std::string path);

    void writeInteger(std::string_view section, std::string_view key, int value);
    void writeBool(std::string_view section, std::string_view key, bool value);
    void writeString(std::string_view section, std::string_view key, std::string_view value);

    // Reads the file once, sets every collected key in order and writes the file once. Throws
    // SettingsWriteError as IniFile's writes do; the file is then unchanged. A file that exists
    // but cannot be read is never replaced.
    void commit();

  private:
    std::string path_;
    std::vector<std::tuple<std::string, std::string, std::string>> entries_;
};

} // namespace tobira
