// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/regular_file.h"

#include "files/shown_name.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tobira {
namespace {

std::string_view nodeKindOf(mode_t mode) {
    if (S_ISFIFO(mode))
        return "FIFO";
    if (S_ISDIR(mode))
        return "\x83\x74\x83\x48\x83\x8B\x83\x5F"; // フォルダ
    if (S_ISSOCK(mode))
        return "\x83\x5C\x83\x50\x83\x62\x83\x67"; // ソケット
    return "\x83\x66\x83\x6F\x83\x43\x83\x58";     // デバイス
}

int errorOf(FileProblem problem) {
    switch (problem) {
    case FileProblem::Missing:
        return ENOENT;
    case FileProblem::LinkLoop:
        return ELOOP;
    case FileProblem::NotRegular:
        return EINVAL;
    case FileProblem::Permission:
        return EACCES;
    case FileProblem::TooLarge:
        return EFBIG;
    case FileProblem::NoSpace:
        return ENOSPC;
    case FileProblem::ReadOnly:
        return EROFS;
    case FileProblem::Failed:
        break;
    }
    return EIO;
}

FileProblem problemOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileProblem::Missing;
    case ELOOP:
        return FileProblem::LinkLoop;
    case EACCES:
    case EPERM:
        return FileProblem::Permission;
    case EISDIR:
    case ENXIO: // a socket, or a FIFO without a writer
        return FileProblem::NotRegular;
    case ENOSPC:
    case EDQUOT:
        return FileProblem::NoSpace;
    case EROFS:
        return FileProblem::ReadOnly;
    default:
        return FileProblem::Failed;
    }
}

// The node's kind for a message, looked up by name: only for a message, after the open failed.
std::string_view nodeKindByName(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return nodeKindOf(st.st_mode);
    return {};
}

} // namespace

namespace {

// The reason of a failure, in brackets.
std::string reasonOf(FileProblem problem, int error, FileAccess access) {
    const bool write = access == FileAccess::Write;
    const char* reason = nullptr;
    switch (problem) {
    case FileProblem::Missing:
        reason = write ? "フォルダがありません" : "ファイルがありません";
        break;
    case FileProblem::LinkLoop:
        reason = "リンクが循環しています";
        break;
    case FileProblem::NotRegular:
        reason = "通常のファイルではありません";
        break;
    case FileProblem::Permission:
        reason = write ? "書き込む権限がありません" : "読む権限がありません";
        break;
    case FileProblem::NoSpace:
        reason = "ディスクの空きがありません";
        break;
    case FileProblem::ReadOnly:
        reason = "読み取り専用の場所です";
        break;
    case FileProblem::TooLarge:
        reason = "大きすぎます";
        break;
    case FileProblem::Failed:
        break;
    }
    return "\x81\x69" + Utf8ToCp932(reason ? reason : std::strerror(error)) + "\x81\x6A";
}

} // namespace

std::string FileProblemCause(FileProblem problem, int error, std::uint64_t limit,
                             std::string_view nodeKind, FileAccess access) {
    if (access == FileAccess::Write)
        return Utf8ToCp932("に書き込めません") + reasonOf(problem, error, access);
    switch (problem) {
    case FileProblem::Missing:
        return Utf8ToCp932("がありません");
    case FileProblem::LinkLoop:
        return Utf8ToCp932("はリンクが循環しているため開けません");
    case FileProblem::NotRegular:
        return Utf8ToCp932("は通常のファイルではありません") +
               (nodeKind.empty() ? std::string() : "\x81\x69" + std::string(nodeKind) + "\x81\x6A");
    case FileProblem::Permission:
        return Utf8ToCp932("を読む権限がありません");
    case FileProblem::TooLarge: {
        char text[64];
        std::snprintf(text, sizeof text, "%llu MB",
                      static_cast<unsigned long long>(limit / read_limit::kMiB));
        return Utf8ToCp932("は大きすぎます（上限 ") + text + "\x81\x6A";
    }
    case FileProblem::NoSpace:
    case FileProblem::ReadOnly:
    case FileProblem::Failed:
        break;
    }
    return Utf8ToCp932("を読めません（") + Utf8ToCp932(std::strerror(error)) + "\x81\x6A";
}

FileError::FileError(FileProblem problem, int error, const std::filesystem::path& path,
                     std::uint64_t limit, std::string_view nodeKind, FileAccess access)
    : std::system_error(error != 0 ? error : errorOf(problem), std::generic_category()),
      problem_(problem), access_(access), path_(path),
      cause_(FileProblemCause(problem, error != 0 ? error : errorOf(problem), limit, nodeKind,
                              access)),
      message_(ShownName(path) + " " + cause_) {}

FileError FileError::writing(int error, const std::filesystem::path& path) {
    return FileError(problemOf(error), error, path, 0, {}, FileAccess::Write);
}

std::string FileFailureReason(const std::exception& error) {
    const auto* file = dynamic_cast<const FileError*>(&error);
    if (!file)
        return {};
    return reasonOf(file->problem(), file->code().value(), file->access());
}

RegularFile::RegularFile(int fd, std::uint64_t size, std::uint64_t limit,
                         std::filesystem::path path)
    : fd_(fd), size_(size), limit_(limit), path_(std::move(path)) {}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_), limit_(other.limit_),
      path_(std::move(other.path_)) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
        limit_ = other.limit_;
        path_ = std::move(other.path_);
    }
    return *this;
}

RegularFile::~RegularFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::optional<RegularFile> RegularFile::openIfExists(const std::filesystem::path& path,
                                                     std::uint64_t limit) {
    // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer; the check below then
    // refuses it. A regular file ignores the flag.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        if (problemOf(error) == FileProblem::Missing)
            return std::nullopt;
        const FileProblem problem = problemOf(error);
        throw FileError(problem, error, path, limit,
                        problem == FileProblem::NotRegular ? nodeKindByName(path)
                                                           : std::string_view());
    }
    RegularFile file(fd, 0, limit, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw FileError(FileProblem::Failed, errno, path, limit);
    if (!S_ISREG(st.st_mode))
        throw FileError(FileProblem::NotRegular, 0, path, limit, nodeKindOf(st.st_mode));
    file.size_ = static_cast<std::uint64_t>(st.st_size);
    if (file.size_ > limit)
        throw FileError(FileProblem::TooLarge, 0, path, limit);
    return file;
}

RegularFile RegularFile::open(const std::filesystem::path& path, std::uint64_t limit) {
    if (auto file = openIfExists(path, limit))
        return std::move(*file);
    throw FileError(FileProblem::Missing, ENOENT, path, limit);
}

int RegularFile::release() {
    return std::exchange(fd_, -1);
}

std::string RegularFile::procPath() const {
    return "/proc/self/fd/" + std::to_string(fd_);
}

namespace {

// Reads from `offset` until the end of the file or until `bytes` holds `stop` bytes.
void readInto(int fd, std::string& bytes, std::size_t stop, const std::filesystem::path& path,
              std::uint64_t limit) {
    std::size_t got = bytes.size();
    bytes.resize(stop);
    while (got < stop) {
        const ssize_t n = ::pread(fd, bytes.data() + got, stop - got, static_cast<off_t>(got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(FileProblem::Failed, errno, path, limit);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
}

} // namespace

std::string RegularFile::readHead(std::size_t count) {
    std::string bytes;
    readInto(fd_, bytes, count, path_, limit_);
    return bytes;
}

std::string RegularFile::readAt(std::uint64_t offset, std::size_t count) {
    std::string bytes;
    bytes.resize(count);
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n =
            ::pread(fd_, bytes.data() + got, count - got, static_cast<off_t>(offset + got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(FileProblem::Failed, errno, path_, limit_);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

std::string RegularFile::readAll() {
    // One byte past the size tells a file that grew while read from one that did not.
    std::string bytes;
    std::size_t stop = static_cast<std::size_t>(std::min(size_, limit_)) + 1;
    for (;;) {
        readInto(fd_, bytes, stop, path_, limit_);
        if (bytes.size() < stop)
            return bytes;
        if (bytes.size() > limit_)
            throw FileError(FileProblem::TooLarge, 0, path_, limit_);
        stop = static_cast<std::size_t>(std::min<std::uint64_t>(limit_ + 1, bytes.size() * 2));
    }
}

} // namespace tobira
