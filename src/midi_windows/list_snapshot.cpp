#include "midi_windows/list_snapshot.h"

#include "midi_windows/list_file.h"
#include "text/cp932_convert.h"
#include "text/full_width.h"

#include <sys/stat.h>

namespace tobira {

std::optional<FileIdentity> IdentityOf(const std::string& cp932Path) {
    struct stat info {};
    if (::stat(PathFromCp932(cp932Path).c_str(), &info) != 0)
        return std::nullopt;
    FileIdentity id;
    id.device = static_cast<std::uint64_t>(info.st_dev);
    id.inode = static_cast<std::uint64_t>(info.st_ino);
    id.size = static_cast<std::uint64_t>(info.st_size);
    id.modifiedNs =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return id;
}

bool ListSnapshot::Refresh(const std::string& cp932Path) {
    const auto identity = IdentityOf(cp932Path);
    if (identity && identity_ && *identity == *identity_)
        return true;
    identity_.reset();
    lines_.clear();
    normalised_ = LineBlock();
    normalisedReady_ = false;
    if (!identity)
        return false;
    auto lines = ReadListFile(cp932Path);
    if (!lines)
        return false;
    lines_ = std::move(*lines);
    identity_ = identity;
    return true;
}

const LineBlock& ListSnapshot::Normalised() {
    if (!normalisedReady_) {
        std::string normalised;
        for (const std::string& line : lines_) {
            NormaliseForLooseSearch(line, normalised);
            normalised_.add(normalised);
        }
        normalisedReady_ = true;
    }
    return normalised_;
}

} // namespace tobira
