// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/album_entry.h"

#include "text/upper_case.h"

namespace tobira {
namespace {

constexpr std::size_t kMaxAlbumName = 255;
constexpr std::size_t kExtensionSize = 4; // ".ABM"

} // namespace

bool IsAlbumEntry(std::string_view entry) {
    return entry.starts_with(kAlbumMarker);
}

std::optional<std::string> AlbumEntryOfFile(std::string_view fileName) {
    if (fileName.size() < kExtensionSize)
        return std::nullopt;
    const std::string_view extension = fileName.substr(fileName.size() - kExtensionSize);
    // Linux names are usually lower case: the extension matches in any case.
    if (UpperCaseCp932(std::string(extension)) != ".ABM")
        return std::nullopt;
    return std::string(kAlbumMarker) + std::string(fileName.substr(0, fileName.find(extension)));
}

std::string AlbumNameOfEntry(std::string_view entry) {
    if (!IsAlbumEntry(entry))
        return {};
    return std::string(entry.substr(kAlbumMarker.size(), kMaxAlbumName));
}

} // namespace tobira
