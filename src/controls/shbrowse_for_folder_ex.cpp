// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/shbrowse_for_folder_ex.h"

#include "files/regular_file.h"
#include "files/shown_name.h"
#include "text/cp932_convert.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <map>

namespace tobira {
namespace {

constexpr std::uint64_t kUserDirsLimit = read_limit::kMiB;

bool IsFolder(const std::string& cp932Path) {
    std::error_code error;
    return !cp932Path.empty() && std::filesystem::is_directory(PathFromCp932(cp932Path), error);
}

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

// XDG_xxx_DIR="$HOME/yyy" lines of user-dirs.dirs, with $HOME expanded.
std::map<std::string, std::string> ReadUserDirs(const std::string& file, const std::string& home) {
    std::map<std::string, std::string> dirs;
    std::string text;
    try {
        // A FIFO or device in its place must not hold the chooser; the file is a few lines.
        if (auto opened = RegularFile::openIfExists(file, kUserDirsLimit))
            text = opened->readAll();
    } catch (const FileError&) {
        return dirs;
    }
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos)
            continue;
        std::string value = line.substr(eq + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0)
            value = home + value.substr(5);
        dirs[line.substr(0, eq)] = value;
    }
    return dirs;
}

std::string Cp932OrEmpty(const std::string& utf8) {
    return Cp932FromPath(std::filesystem::path(utf8)).value_or(std::string());
}

} // namespace

FolderPlaces FolderPlaces::FromEnvironment() {
    const std::string home = EnvOr("HOME", "/");
    const std::string config = EnvOr("XDG_CONFIG_HOME", home + "/.config");
    const std::string data = EnvOr("XDG_DATA_HOME", home + "/.local/share");
    auto dirs = ReadUserDirs(config + "/user-dirs.dirs", home);
    auto dir = [&](const char* key, const char* fallback) {
        return Cp932OrEmpty(EnvOr(key, dirs.contains(key) ? dirs[key] : home + fallback));
    };
    FolderPlaces places;
    places.home = Cp932OrEmpty(home);
    places.desktop = dir("XDG_DESKTOP_DIR", "/Desktop");
    places.documents = dir("XDG_DOCUMENTS_DIR", "/Documents");
    places.download = dir("XDG_DOWNLOAD_DIR", "/Downloads");
    places.templates = dir("XDG_TEMPLATES_DIR", "/Templates");
    places.dataHome = Cp932OrEmpty(data);
    places.configHome = Cp932OrEmpty(config);
    return places;
}

TSHBrowseForFolderEx::TSHBrowseForFolderEx(FolderDialogPort& dialog, FolderPlaces places)
    : dialog_(dialog), places_(std::move(places)) {}

std::string TSHBrowseForFolderEx::PlacePath(TSelectFolder place,
                                            const std::string& manualName) const {
    std::string path;
    switch (place) {
    case TSelectFolder::sfManual:
        if (IsFolder(manualName))
            return manualName;
        path = places_.desktop;
        break;
    case TSelectFolder::sfDrives:
        return "/";
    case TSelectFolder::sfDesktop:
    case TSelectFolder::sfDesktopDir:
        path = places_.desktop;
        break;
    case TSelectFolder::sfFavorites:
        path = places_.home;
        break;
    case TSelectFolder::sfPrograms:
        path = "/usr/share/applications";
        break;
    case TSelectFolder::sfRecent:
        path = places_.documents;
        break;
    case TSelectFolder::sfSendTo:
        path = places_.download;
        break;
    case TSelectFolder::sfStartMenu:
        path = places_.dataHome + "/applications";
        break;
    case TSelectFolder::sfStartup:
        path = places_.configHome + "/autostart";
        break;
    case TSelectFolder::sfTemplates:
        path = places_.templates;
        break;
    }
    return IsFolder(path) ? path : (IsFolder(places_.home) ? places_.home : std::string("/"));
}

std::string TSHBrowseForFolderEx::RefusalOf(const std::filesystem::path& folder) {
    const std::optional<std::string> cp932 = Cp932FromPath(folder);
    if (!cp932)
        return Utf8ToCp932(
                   "このフォルダ名は使えません（シフトＪＩＳで表せない文字を含みます）:\n") +
               ShownName(folder);
    if (HasRecordBreak(*cp932))
        return RecordBreakMessage() + "\n" + ShownName(folder);
    return {};
}

bool TSHBrowseForFolderEx::Execute() {
    FolderName.clear();
    DisplayName.clear();
    Dialog = FolderDialogState{};
    Dialog.Caption = Caption;
    // The desktop holds the whole file system, as the root of the tree.
    Dialog.RootPath = RootFolder == TRootFolder::rfDesktop
                          ? std::string("/")
                          : PlacePath(static_cast<TSelectFolder>(RootFolder), RootFolderName);
    Dialog.SelectedPath = PlacePath(SelectFolder, SelectFolderName);
    showPath_ = false;
    Dialog.StatusVisible = false;
    for (unsigned option : {sboDontGoBelowDomain, sboReturnFSAncestors, sboReturnOnlyFSDirs,
                            sboStatusTextAndShowPath, sboStatusText}) {
        if (!(Options & option))
            continue;
        if (option == sboStatusTextAndShowPath) {
            Dialog.StatusVisible = true;
            showPath_ = true;
            break;
        }
        if (option == sboStatusText)
            Dialog.StatusVisible = true;
    }
    if (!dialog_.runFolderDialog(*this))
        return false;
    FolderName = Dialog.SelectedPath;
    const std::size_t slash = FolderName.find_last_of('/');
    DisplayName = FolderName.size() > 1 && slash != std::string::npos ? FolderName.substr(slash + 1)
                                                                      : FolderName;
    return true;
}

void TSHBrowseForFolderEx::DialogShown(ScreenRect workArea, ScreenSize dialogSize,
                                       ScreenPoint ownerOrigin) {
    switch (ShowStyle) {
    case TShowStyle::ssCenterScreen:
        Dialog.Left = workArea.left + (workArea.width - dialogSize.width) / 2;
        Dialog.Top = workArea.top + (workArea.height - dialogSize.height) / 3;
        Dialog.Placed = true;
        break;
    case TShowStyle::ssClient:
        Dialog.Left = ownerOrigin.x;
        Dialog.Top = ownerOrigin.y;
        Dialog.Placed = true;
        break;
    case TShowStyle::ssNone:
        break;
    }
    ApplyStatus({}, TOKButtonState::Leave);
}

void TSHBrowseForFolderEx::DialogSelectionChanged(const std::string& path) {
    Dialog.SelectedPath = path;
    std::string showText;
    TOKButtonState ok = TOKButtonState::Leave;
    DoSelectionChanged(path, showText, ok);
    if (showPath_)
        showText = path;
    ApplyStatus(std::move(showText), ok);
}

void TSHBrowseForFolderEx::DoSelectionChanged(const std::string& path, std::string& showText,
                                              TOKButtonState& ok) {
    if (OnSelectionChanged)
        OnSelectionChanged(path, showText, ok);
}

void TSHBrowseForFolderEx::ApplyStatus(std::string showText, TOKButtonState ok) {
    Dialog.StatusText = std::move(showText);
    if (ok == TOKButtonState::Enable)
        Dialog.OkEnabled = true;
    else if (ok == TOKButtonState::Disable)
        Dialog.OkEnabled = false;
}

} // namespace tobira
