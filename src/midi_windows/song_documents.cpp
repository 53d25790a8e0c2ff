// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/song_documents.h"

#include "midi_windows/midi_title.h"
#include "text/cp932_convert.h"

#include <array>
#include <filesystem>

namespace tobira {
namespace {

bool sameExtension(std::string_view name, std::string_view upper) {
    if (name.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i])
            return false;
    }
    return true;
}

// Whether `candidate` should replace `current` as the spelling to use.
bool preferred(const std::string& candidate, const std::optional<std::string>& current,
               std::string_view upperExtension) {
    if (!current)
        return true;
    auto extensionOf = [](std::string_view name) { return name.substr(name.size() - 3); };
    bool candidateUpper = extensionOf(candidate) == upperExtension;
    bool currentUpper = extensionOf(*current) == upperExtension;
    if (candidateUpper != currentUpper)
        return candidateUpper;
    return candidate < *current;
}

} // namespace

SongDocuments FindSongDocuments(std::string_view songPath) {
    SongDocuments found;
    std::string_view fileName = FileNameOfPath(songPath);
    std::string_view folder = songPath.substr(0, songPath.size() - fileName.size());
    std::size_t dot = fileName.rfind('.');
    std::string_view stem = dot == std::string_view::npos ? fileName : fileName.substr(0, dot);

    constexpr std::array<std::string_view, 3> kExtensions{"TXT", "DOC", "HED"};
    std::array<std::optional<std::string>*, 3> slots{&found.Txt, &found.Doc, &found.Hed};

    std::error_code ec;
    std::filesystem::directory_iterator it(
        folder.empty() ? std::filesystem::path(".") : PathFromCp932(folder), ec);
    if (ec)
        return found;
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        auto name = Cp932FromPath(it->path().filename());
        // stem, ".", three letters
        if (!name || name->size() != stem.size() + 4 || name->compare(0, stem.size(), stem) != 0 ||
            (*name)[stem.size()] != '.')
            continue;
        std::string_view extension = std::string_view(*name).substr(stem.size() + 1);
        for (std::size_t k = 0; k < kExtensions.size(); ++k) {
            if (!sameExtension(extension, kExtensions[k]))
                continue;
            if (!preferred(*name, *slots[k], kExtensions[k]))
                continue;
            std::error_code typeError;
            if (it->is_directory(typeError))
                continue;
            *slots[k] = *name;
        }
    }
    for (auto* slot : slots) {
        if (*slot)
            *slot = std::string(folder) + **slot;
    }
    return found;
}

} // namespace tobira

namespace tobira {

std::string SongDocumentPath(std::string_view songPath, std::string_view extension) {
    const SongDocuments documents = FindSongDocuments(songPath);
    const std::optional<std::string>& found =
        extension == "TXT" ? documents.Txt : (extension == "DOC" ? documents.Doc : documents.Hed);
    if (found)
        return *found;
    const std::string_view fileName = FileNameOfPath(songPath);
    const std::size_t dot = fileName.rfind('.');
    const std::size_t stemEnd =
        songPath.size() - fileName.size() + (dot == std::string_view::npos ? fileName.size() : dot);
    return std::string(songPath.substr(0, stemEnd)) + "." + std::string(extension);
}

} // namespace tobira
