// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/midi_folder_scan.h"

#include "files/shown_name.h"
#include "media/midi/midi_file_name.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tobira {
namespace {

// ".ABM" itself counts: the album with the empty name, which the MIDI selector lists.
bool HasExtension(std::string_view name, std::string_view extension) {
    if (name.size() < extension.size())
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

MidiFolderScan ScanMidiFolder(std::string_view folder) {
    namespace fs = std::filesystem;
    const fs::path path = PathFromCp932(folder);
    const std::string shown = ShownName(path);
    auto fail = [&](const char* utf8Before, const char* utf8After) {
        throw FolderScanError(Utf8ToCp932(utf8Before) + shown + Utf8ToCp932(utf8After));
    };
    std::error_code error;
    fs::directory_iterator it(path, error);
    if (error == std::errc::no_such_file_or_directory)
        fail("フォルダ【", "】がありません");
    if (error == std::errc::not_a_directory)
        fail("【", "】はフォルダではありません");
    if (error == std::errc::permission_denied)
        fail("フォルダ【", "】を読む権限がありません");
    if (error == std::errc::too_many_symbolic_link_levels)
        fail("フォルダ【", "】はリンクが循環しているため開けません");
    if (error)
        fail("フォルダ【", ("】を読めません（" + error.message() + "）").c_str());

    MidiFolderScan scan;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            fail("フォルダ【", ("】を読めません（" + error.message() + "）").c_str());
        // The extension is ASCII, so even a name that cannot be shown is recognised by it.
        const fs::path name = it->path().filename();
        if (!IsMidiFileName(name.native()))
            continue;
        std::error_code typeError;
        // Follows links: a link to a song counts; a broken one is no song at all.
        const fs::file_status status = it->status(typeError);
        if (typeError == std::errc::too_many_symbolic_link_levels) {
            scan.LinkLoops.push_back(ShownName(name));
            continue;
        }
        if (!fs::exists(status))
            continue;
        if (!fs::is_regular_file(status)) {
            scan.NotRegular.push_back(ShownName(name));
            continue;
        }
        auto cp932 = Cp932FromPath(name);
        if (!cp932)
            scan.Unshowable.push_back(ShownName(name));
        else if (HasRecordBreak(*cp932))
            scan.Unstorable.push_back(ShownName(name));
        else if (HasRecordBreak(folder)) // the record holds the whole path
            scan.Unstorable.push_back(ShownName(path / name));
        else
            scan.Names.push_back(std::move(*cp932));
    }
    for (auto* names :
         {&scan.Names, &scan.NotRegular, &scan.Unstorable, &scan.Unshowable, &scan.LinkLoops})
        std::sort(names->begin(), names->end());
    return scan;
}

std::string MidiFolderScan::Report() const {
    std::string text;
    const auto add = [&text](const std::vector<std::string>& names, const char* utf8Why) {
        if (names.empty())
            return;
        if (!text.empty())
            text += "\n";
        text += Utf8ToCp932(utf8Why) + " (" + std::to_string(names.size()) + ")";
        for (const std::string& name : names)
            text += "\n  " + name;
    };
    add(NotRegular, "通常のファイルではないため飛ばしました");
    add(Unstorable, "名前に改行またはタブがあり、リストに記録できないため飛ばしました");
    add(Unshowable, "名前をシフトＪＩＳで表せないため飛ばしました");
    add(LinkLoops, "リンクが循環しているため飛ばしました");
    return text;
}

std::string JoinFolder(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

} // namespace tobira
