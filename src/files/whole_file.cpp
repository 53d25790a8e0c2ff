// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/whole_file.h"

#include "files/regular_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tobira {
namespace {

[[noreturn]] void fail(int error, const std::filesystem::path& path) {
    throw FileError::writing(error, path);
}

class Fd final {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return fd_; }
    // close() can report a delayed write error (NFS, full disk), so its result matters.
    int release() {
        int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

  private:
    int fd_;
};

// Removes the temporary file unless the rename has taken it.
class TempFile final {
  public:
    explicit TempFile(std::string path) : path_(std::move(path)) {}
    ~TempFile() {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    void keep() { path_.clear(); }

  private:
    std::string path_;
};

void writeAll(int fd, std::string_view bytes, const std::filesystem::path& path) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, path);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

mode_t defaultFileMode() {
    // umask can only be read by setting it; the program changes it nowhere else.
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::uint64_t limit) {
    auto file = RegularFile::openIfExists(path, limit);
    if (!file)
        return std::nullopt;
    return file->readAll();
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path target = path;
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        auto resolved = std::filesystem::canonical(path, ec);
        if (!ec)
            target = resolved;
    }

    struct stat old {};
    bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        fail(errno, path);
    if (exists) {
        if (!S_ISREG(old.st_mode))
            fail(S_ISDIR(old.st_mode) ? EISDIR : EINVAL, path);
        if (::access(target.c_str(), W_OK) != 0)
            fail(errno, path);
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            fail(EACCES, path);
    }

    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    Fd fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (fd.get() < 0)
        fail(errno, path);
    TempFile temp(pattern);

    writeAll(fd.get(), bytes, path);
    if (::fchmod(fd.get(), exists ? (old.st_mode & 07777) : defaultFileMode()) != 0)
        fail(errno, path);
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Only the super-user may give the file back to its owner; others keep their own.
        [[maybe_unused]] int ignored = ::fchown(fd.get(), old.st_uid, old.st_gid);
    }
    if (::fsync(fd.get()) != 0)
        fail(errno, path);
    if (fd.release() != 0)
        fail(errno, path);
    if (::rename(temp.path().c_str(), target.c_str()) != 0)
        fail(errno, path);
    temp.keep();

    // Makes the rename itself durable; a failure here leaves a complete file either way.
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

} // namespace tobira
