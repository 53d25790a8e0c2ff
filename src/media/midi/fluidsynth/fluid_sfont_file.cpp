// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/fluidsynth/fluid_sfont_file.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tobira {

namespace {

// Under a descriptor's /proc entry, which is never a folder: the synthesizer's own loader, which
// tries a name after ours has refused it, finds nothing there (ENOTDIR) instead of a file.
constexpr const char* kNameFormat =
    "/proc/self/fd/%d/tobira-sf2-%" PRIx64 "-%" PRIx64 "-%" PRIx64 "-%" PRIx64;

struct Identity {
    std::uint64_t device = 0, inode = 0, size = 0, modifiedNs = 0;
    bool operator==(const Identity&) const = default;
};

bool IdentityOf(int fd, Identity& id) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    id.device = static_cast<std::uint64_t>(st.st_dev);
    id.inode = static_cast<std::uint64_t>(st.st_ino);
    id.size = static_cast<std::uint64_t>(st.st_size);
    id.modifiedNs = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1'000'000'000u +
                    static_cast<std::uint64_t>(st.st_mtim.tv_nsec);
    return true;
}

struct Handle {
    int fd = -1;
    fluid_long_long_t position = 0;
    fluid_long_long_t size = 0;
    ~Handle() {
        if (fd >= 0)
            ::close(fd);
    }
};

void* OpenByName(const char* name) {
    int fd = -1;
    Identity named;
    char rest = 0;
    // %c catches anything after the identity.
    if (std::sscanf(name,
                    "/proc/self/fd/%d/tobira-sf2-%" SCNx64 "-%" SCNx64 "-%" SCNx64 "-%" SCNx64 "%c",
                    &fd, &named.device, &named.inode, &named.size, &named.modifiedNs, &rest) != 5 ||
        fd < 0)
        return nullptr;
    // The descriptor still holds the file the name was made for (not a number used again).
    Identity held;
    if (!IdentityOf(fd, held) || !(held == named))
        return nullptr;
    auto handle = std::make_unique<Handle>();
    handle->fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (handle->fd < 0)
        return nullptr;
    handle->size = static_cast<fluid_long_long_t>(held.size);
    return handle.release();
}

int Read(void* buffer, fluid_long_long_t count, void* opaque) {
    auto* handle = static_cast<Handle*>(opaque);
    auto* to = static_cast<char*>(buffer);
    // pread: each handle keeps its own position although duplicated descriptors share one.
    while (count > 0) {
        const ssize_t n = ::pread(handle->fd, to, static_cast<std::size_t>(count),
                                  static_cast<off_t>(handle->position));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return FLUID_FAILED;
        to += n;
        count -= n;
        handle->position += n;
    }
    return FLUID_OK;
}

int Seek(void* opaque, fluid_long_long_t offset, int origin) {
    auto* handle = static_cast<Handle*>(opaque);
    fluid_long_long_t base = 0;
    if (origin == SEEK_CUR)
        base = handle->position;
    else if (origin == SEEK_END)
        base = handle->size;
    else if (origin != SEEK_SET)
        return FLUID_FAILED;
    if (base + offset < 0)
        return FLUID_FAILED;
    handle->position = base + offset;
    return FLUID_OK;
}

fluid_long_long_t Tell(void* opaque) {
    return static_cast<Handle*>(opaque)->position;
}

int Close(void* opaque) {
    std::unique_ptr<Handle> handle(static_cast<Handle*>(opaque));
    return FLUID_OK;
}

} // namespace

std::string DescriptorSoundFontName(const RegularFile& file) {
    Identity id;
    IdentityOf(file.fd(), id); // a descriptor that fails here fails again at open: no SoundFont
    char name[160];
    std::snprintf(name, sizeof name, kNameFormat, file.fd(), id.device, id.inode, id.size,
                  id.modifiedNs);
    return name;
}

bool AddDescriptorSoundFontLoader(fluid_synth_t* synth, fluid_settings_t* settings) {
    fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
    if (!loader)
        return false;
    if (fluid_sfloader_set_callbacks(loader, OpenByName, Read, Seek, Tell, Close) != FLUID_OK) {
        delete_fluid_sfloader(loader);
        return false;
    }
    // Tried first; the synthesizer owns it from here.
    fluid_synth_add_sfloader(synth, loader);
    return true;
}

} // namespace tobira
