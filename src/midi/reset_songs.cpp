#include "midi/reset_songs.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tobira {
namespace {

constexpr int kDivision = 480;
// 120 ticks at the default 120 BPM: 125 ms for the module to finish its reset.
constexpr std::uint8_t kRestTicks = 120;

// Roland's checksum: address and data bytes plus the checksum are 0 modulo 128.
std::uint8_t rolandChecksum(std::initializer_list<std::uint8_t> bytes) {
    unsigned sum = 0;
    for (auto b : bytes)
        sum += b;
    return static_cast<std::uint8_t>((128 - sum % 128) % 128);
}

// A Roland DT1 (data set 1) to a GS module, device 17 (ID 10h).
std::vector<std::uint8_t> rolandDataSet(std::uint8_t a1, std::uint8_t a2, std::uint8_t a3,
                                        std::uint8_t data) {
    return {0xF0, 0x41, 0x10, 0x42, 0x12, a1, a2, a3, data, rolandChecksum({a1, a2, a3, data}),
            0xF7};
}

void append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
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
    int release() {
        int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

  private:
    int fd_;
};

[[noreturn]] void fail(int error, const std::filesystem::path& path) {
    throw std::system_error(error, std::generic_category(), path.string());
}

// Writes `bytes` to a temporary file beside `target` and moves it into place only if `target`
// does not exist. False when it did.
bool createIfMissing(const std::filesystem::path& target, const std::vector<std::uint8_t>& bytes) {
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0)
        return false;
    std::string temp =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0)
        fail(errno, target);
    struct Unlink {
        const std::string& path;
        bool keep = false;
        ~Unlink() {
            if (!keep)
                ::unlink(path.c_str());
        }
    } cleanup{temp};

    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, target);
        }
        done += static_cast<std::size_t>(n);
    }
    mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd.get(), 0666 & ~mask) != 0 || ::fsync(fd.get()) != 0)
        fail(errno, target);
    if (fd.release() != 0)
        fail(errno, target);

    // Never over a file that exists, even one that has just appeared.
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        cleanup.keep = true;
        return true;
    }
    if (errno == EEXIST)
        return false;
    if (errno != EINVAL && errno != ENOSYS)
        fail(errno, target);
    // The file system cannot refuse to replace: a hard link can (EEXIST), where links exist.
    if (::link(temp.c_str(), target.c_str()) == 0)
        return true; // the temporary name goes with cleanup
    if (errno == EEXIST)
        return false;
    // No links either (FAT): check, then rename; only a race in between could replace a file.
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0)
        return false;
    if (::rename(temp.c_str(), target.c_str()) != 0)
        fail(errno, target);
    cleanup.keep = true;
    return true;
}

} // namespace

std::string_view ResetSongFileName(MidiResetType type) {
    switch (type) {
    case MidiResetType::Gm:
        return "GAKUFU_GM.MID";
    case MidiResetType::Gs:
        return "GAKUFU_GS.MID";
    case MidiResetType::Sc88Mode1:
        return "GAKUFU_88.MID";
    case MidiResetType::Non:
        break;
    }
    return {};
}

std::vector<std::uint8_t> ResetSysEx(MidiResetType type) {
    switch (type) {
    case MidiResetType::Gm: // Universal Non-Real Time, all devices: General MIDI System On
        return {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    case MidiResetType::Gs: // 40 00 7F := 00, GS Reset
        return rolandDataSet(0x40, 0x00, 0x7F, 0x00);
    case MidiResetType::Sc88Mode1: // 00 00 7F := 00, system mode set: single module
        return rolandDataSet(0x00, 0x00, 0x7F, 0x00);
    case MidiResetType::Non:
        break;
    }
    return {};
}

std::vector<std::uint8_t> ResetSongBytes(MidiResetType type) {
    std::vector<std::uint8_t> sysex = ResetSysEx(type);
    if (sysex.empty())
        return {};
    // One track: the SysEx at tick 0 (stored as F0, length, the rest including F7), then the
    // end of track after the rest.
    std::vector<std::uint8_t> track{0x00, 0xF0, static_cast<std::uint8_t>(sysex.size() - 1)};
    track.insert(track.end(), sysex.begin() + 1, sysex.end());
    track.insert(track.end(), {kRestTicks, 0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd'};
    append32(out, 6);
    out.insert(out.end(), {0x00, 0x00, 0x00, 0x01, kDivision >> 8, kDivision & 0xFF});
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    append32(out, static_cast<std::uint32_t>(track.size()));
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

std::vector<std::filesystem::path> PlaceMissingResetSongs(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> placed;
    std::optional<std::system_error> firstError;
    for (auto type : {MidiResetType::Gm, MidiResetType::Gs, MidiResetType::Sc88Mode1}) {
        auto target = folder / std::string(ResetSongFileName(type));
        try {
            if (createIfMissing(target, ResetSongBytes(type)))
                placed.push_back(target);
        } catch (const std::system_error& e) {
            if (!firstError)
                firstError = e;
        }
    }
    if (firstError)
        throw *firstError;
    return placed;
}

} // namespace tobira
