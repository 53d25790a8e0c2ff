#include "midi_windows/midi_folder_scan.h"

#include "media/midi/midi_file_name.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tobira {
namespace {

bool HasExtension(std::string_view name, std::string_view extension) {
    if (name.size() <= extension.size())
        return false;
    const std::string_view tail = name.substr(name.size() - extension.size());
    return std::equal(tail.begin(), tail.end(), extension.begin(), [](char a, char b) {
        auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
        return upper(a) == upper(b);
    });
}

template <typename Wanted>
std::vector<std::string> FilesWhere(std::string_view folder, Wanted wanted) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(PathFromCp932(folder), error);
    if (error)
        throw std::system_error(error, std::string(folder));
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            throw std::system_error(error, std::string(folder));
        const std::string utf8Name = it->path().filename().string();
        if (!wanted(utf8Name))
            continue;
        std::error_code typeError;
        // Follows links: a link to a song counts, a broken one does not.
        if (!it->is_regular_file(typeError))
            continue;
        if (auto name = Cp932FromPath(it->path().filename()))
            names.push_back(std::move(*name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::vector<std::string> FilesWithExtension(std::string_view folder, std::string_view extension) {
    return FilesWhere(folder,
                      [extension](std::string_view name) { return HasExtension(name, extension); });
}

std::vector<std::string> MidiFilesIn(std::string_view folder) {
    // The extensions are ASCII, the same in the UTF-8 name as in code page 932.
    return FilesWhere(folder, [](std::string_view name) { return IsMidiFileName(name); });
}

std::string JoinFolder(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

} // namespace tobira
