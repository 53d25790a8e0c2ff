// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening a file for reading, for every reader of the program: only a regular file is taken,
// opened without blocking, so a FIFO, a device, a socket or a folder named where a file is
// expected never stalls a window, and never beyond a size limit of its kind.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace tobira {

// Size limits per kind of file: far above anything real, low enough that a runaway file
// cannot take the machine's memory.
namespace read_limit {
inline constexpr std::uint64_t kMiB = 1024 * 1024;
inline constexpr std::uint64_t Data = 64 * kMiB; // a data file of the program
inline constexpr std::uint64_t Settings = 64 * kMiB;
inline constexpr std::uint64_t List = 64 * kMiB;     // song lists and albums
inline constexpr std::uint64_t Pattern = 64 * kMiB;  // the CD pattern file
inline constexpr std::uint64_t Document = 16 * kMiB; // TXT, DOC, HED for the reader
inline constexpr std::uint64_t Song = 64 * kMiB;     // MIDI files
inline constexpr std::uint64_t CueSheet = 4 * kMiB;
inline constexpr std::uint64_t Sound = 256 * kMiB;      // applause WAV files
inline constexpr std::uint64_t SoundFont = 4096 * kMiB; // big GM sets reach 1-2 GB
inline constexpr std::uint64_t DiscAudio = 8192 * kMiB; // a CD image's BIN, WAV or FLAC
} // namespace read_limit

// Why a file could not be read or written.
enum class FileProblem {
    Missing,    // does not exist (or a link that leads nowhere; for a write, its folder)
    LinkLoop,   // links that lead round in a circle
    NotRegular, // a FIFO, device, socket or folder
    Permission, // no permission to read or write it
    TooLarge,   // above the limit of its kind
    NoSpace,    // the disk (or the user's quota) is full
    ReadOnly,   // on a file system mounted read-only
    Failed,     // any other error while opening, reading or writing
};

enum class FileAccess { Read, Write };

// A file that could not be read or written, from every reader and writer of files alike, with
// the program's message in code page 932 as what(): the file's name and the cause
// ("… は通常のファイルではありません（FIFO）", "… を読む権限がありません",
// "… に書き込めません（ディスクの空きがありません）", …).
class FileError final : public std::system_error {
  public:
    FileError(FileProblem problem, int error, const std::filesystem::path& path,
              std::uint64_t limit = 0, std::string_view nodeKind = {},
              FileAccess access = FileAccess::Read);
    // A failed write, its problem told by the error number.
    static FileError writing(int error, const std::filesystem::path& path);

    // The message alone, without the error code's English text that std::system_error adds.
    const char* what() const noexcept override { return message_.c_str(); }
    FileProblem problem() const { return problem_; }
    FileAccess access() const { return access_; }
    const std::filesystem::path& path() const { return path_; }
    // The message without the file's name, beginning with its particle, for a caller that names
    // the file its own way ("ファイル【…】" + cause()): "は通常のファイルではありません（FIFO）".
    const std::string& cause() const { return cause_; }

  private:
    FileProblem problem_;
    FileAccess access_;
    std::filesystem::path path_;
    std::string cause_;
    std::string message_;
};

// The cause of a problem as FileError::cause() gives it, code page 932.
std::string FileProblemCause(FileProblem problem, int error, std::uint64_t limit = 0,
                             std::string_view nodeKind = {}, FileAccess access = FileAccess::Read);

// The cause of a failed read or write in brackets, to follow a message that already says the
// file could not be used ("（ディスクの空きがありません）", "（読む権限がありません）"); empty
// when `error` is no FileError.
std::string FileFailureReason(const std::exception& error);

// A regular file open for reading; closed with the object.
class RegularFile final {
  public:
    // Opens with O_NONBLOCK | O_CLOEXEC and checks the opened file itself (no name can change
    // in between). Throws FileError; Missing for a file that does not exist.
    static RegularFile open(const std::filesystem::path& path, std::uint64_t limit);
    // The same, but an empty optional for a file that does not exist.
    static std::optional<RegularFile> openIfExists(const std::filesystem::path& path,
                                                   std::uint64_t limit);

    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&& other) noexcept;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;
    ~RegularFile();

    int fd() const { return fd_; }
    std::uint64_t size() const { return size_; }
    // A path that names this open file (/proc/self/fd/N), for libraries that open by name:
    // they then read what was checked here, whatever the name means by now.
    std::string procPath() const;

    // The whole content (at most the limit: a file that grew past it while read is TooLarge).
    std::string readAll();
    // Up to `count` bytes from the start.
    std::string readHead(std::size_t count);
    // Up to `count` bytes from `offset` (fewer at the end of the file).
    std::string readAt(std::uint64_t offset, std::size_t count);
    // Hands the descriptor over (to fdopen, a library); the object then closes nothing.
    int release();

  private:
    RegularFile(int fd, std::uint64_t size, std::uint64_t limit, std::filesystem::path path);

    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::uint64_t limit_ = 0;
    std::filesystem::path path_;
};

} // namespace tobira
