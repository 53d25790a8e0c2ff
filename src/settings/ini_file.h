#pragma once
// The settings file by path: every read and every write goes to the file itself, nothing is
// cached, so several windows reading and writing their own keys always see the same file.

#include <stdexcept>
#include <string>
#include <string_view>

namespace tobira {

// A write that failed. what() is the program's message, in code page 932:
// "<path> に書き込めません" (cannot write to <path>).
class SettingsWriteError final : public std::runtime_error {
  public:
    explicit SettingsWriteError(const std::string& cp932Path);
};

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

} // namespace tobira
