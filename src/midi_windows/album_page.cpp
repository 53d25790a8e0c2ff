// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/album_page.h"

#include "files/regular_file.h"
#include "midi_windows/list_file.h"
#include "midi_windows/list_page.h"
#include "midi_windows/midi_folder_scan.h"
#include "midi_windows/midi_title.h"
#include "files/whole_file.h"
#include "text/cp932_convert.h"
#include "text/trim.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace tobira {
namespace {

std::string Formatted(const char* utf8Format, const std::string& value) {
    const std::string format = Utf8ToCp932(utf8Format);
    const std::size_t at = format.find("%s");
    return format.substr(0, at) + value + format.substr(at + 2);
}

} // namespace

AlbumPage::AlbumPage(std::string programFolder, MessagePort& messages, BusyCursorPort& busy)
    : folder_(std::move(programFolder)), messages_(messages), busy_(busy) {
    SpeedButtonATitleAll = MakeButton("タイトル一覧", "アルバムタイトルを一覧表示します", true);
    SpeedButtonATitleDel = MakeButton("削除", "選択したアルバムファイルを削除する", false);
    SpeedButtonATitleDel.Font = colors::Red;
    SpeedButtonATitleEdit = MakeButton("修整", "選択したアルバム名の編集", false);
    SpeedButtonATitleLoad = MakeButton("読込", "管理ページで選択したアルバムの読込み", false);
    SpeedButtonClear = MakeButton("クリア", "各欄をクリアする", true);
    SpeedButtonADel = MakeButton("削除", "選択した曲をリストから削除", false);
    SpeedButtonADel.Font = colors::Red;
    SpeedButtonAEdit = MakeButton("修整", "選択した曲リストを編集", false);
    SpeedButtonACUp = MakeButton("↑", "指定の曲を上に移動する", false);
    SpeedButtonACDown = MakeButton("↓", "指定の曲を下に移動する", false);
    SpeedButtonASave = MakeButton("保存", "タイトル名に拡張子（.ABM）を自動付加して保存", false);
}

std::string AlbumPage::AlbumNameOf(const std::string& path) {
    const std::string_view name = FileNameOfPath(path);
    return std::string(name.substr(0, name.find('.')));
}

std::string AlbumPage::AlbumPath(const std::string& name) const {
    return folder_ + name + ".ABM";
}

bool AlbumPage::HasTitle() const {
    return ATitlesIndex >= 0 && ATitlesIndex < static_cast<int>(ListBoxATitles.size());
}

bool AlbumPage::HasLine() const {
    return AContentsIndex >= 0 && AContentsIndex < static_cast<int>(ListBoxAContents.size());
}

bool AlbumPage::CheckName(const std::string& name) {
    // A "/" would write outside the program folder, a leading "." would hide the file.
    if (name.find('/') != std::string::npos || name.front() == '.' || TrimSpaces(name).empty()) {
        messages_.showMessage(Formatted(
            "「%s」はアルバム名に使えません（「/」、先頭の「.」、空白だけの名前は使えません）",
            name));
        return false;
    }
    return true;
}

void AlbumPage::SpeedButtonATitleAllClick() {
    BusyCursor busy(busy_);
    ListBoxATitles.clear();
    ATitlesIndex = -1;
    try {
        for (const std::string& name : FilesWithExtension(folder_, ".ABM"))
            ListBoxATitles.push_back(folder_ + name);
    } catch (const std::system_error&) {
        // The program folder exists while the program runs; an unlistable one shows no album.
    }
    SpeedButtonATitleLoad.Enabled = false;
    SpeedButtonATitleDel.Enabled = false;
    SpeedButtonATitleEdit.Enabled = false;
    EditATitles.clear();
    EditATitle.clear();
}

void AlbumPage::ListBoxATitlesClick(int index) {
    if (index < 0 || index >= static_cast<int>(ListBoxATitles.size()))
        return;
    ATitlesIndex = index;
    SpeedButtonATitleLoad.Enabled = true;
    SpeedButtonATitleDel.Enabled = true;
    SpeedButtonATitleEdit.Enabled = true;
    EditATitles = AlbumNameOf(ListBoxATitles[static_cast<std::size_t>(index)]);
    EditATitle = EditATitles;
}

void AlbumPage::ListBoxATitlesDblClick(int index) {
    ListBoxATitlesClick(index);
    if (HasTitle())
        InnerPage = kEditTab;
}

void AlbumPage::SpeedButtonATitleLoadClick() {
    EditAContents.clear();
    const std::string unreadable = Utf8ToCp932("アルバムファイルが読み込めません");
    if (!HasTitle()) {
        messages_.showMessage(unreadable);
        return;
    }
    try {
        std::optional<std::vector<std::string>> songs;
        busy_.runBusy([&songs, path = ListBoxATitles[static_cast<std::size_t>(ATitlesIndex)]] {
            if (auto bytes = ReadWholeFile(PathFromCp932(path), read_limit::List))
                songs = SplitListText(*bytes);
        });
        if (!songs) {
            messages_.showMessage(unreadable);
            return;
        }
        ListBoxAContents = std::move(*songs);
        AContentsIndex = -1;
    } catch (const std::system_error& error) {
        messages_.showMessage(unreadable + FileFailureReason(error));
    }
}

void AlbumPage::SpeedButtonATitleDelClick() {
    if (!HasTitle())
        return;
    if (!messages_.askYesNo(Utf8ToCp932("指定のアルバムをディスクから削除しますか？")))
        return;
    const auto i = static_cast<std::size_t>(ATitlesIndex);
    std::error_code error;
    if (!std::filesystem::remove(PathFromCp932(ListBoxATitles[i]), error) && error) {
        messages_.showMessage(Formatted("%s を削除できません", ListBoxATitles[i]));
        return;
    }
    ListBoxATitles.erase(ListBoxATitles.begin() + static_cast<std::ptrdiff_t>(i));
    ATitlesIndex = -1;
    SpeedButtonATitleDel.Enabled = false;
}

void AlbumPage::SpeedButtonATitleEditClick() {
    if (!HasTitle() || EditATitles.empty() || !CheckName(EditATitles))
        return;
    std::string& entry = ListBoxATitles[static_cast<std::size_t>(ATitlesIndex)];
    const std::string target = AlbumPath(EditATitles);
    if (target != entry) {
        // No silent replacing of another album: the rename refuses an existing name.
        if (::renameat2(AT_FDCWD, PathFromCp932(entry).c_str(), AT_FDCWD,
                        PathFromCp932(target).c_str(), RENAME_NOREPLACE) != 0) {
            messages_.showMessage(
                errno == EEXIST ? Formatted("「%s」というアルバムはすでにあります", EditATitles)
                                : Formatted("%s の名前を変更できません", entry));
            return;
        }
        entry = target;
    }
    SpeedButtonATitleEdit.Enabled = false;
    SpeedButtonATitleDel.Enabled = false;
}

void AlbumPage::ListBoxAContentsClick(int index) {
    if (index < 0 || index >= static_cast<int>(ListBoxAContents.size()))
        return;
    AContentsIndex = index;
    for (ButtonState* b : {&SpeedButtonACUp, &SpeedButtonACDown, &SpeedButtonASave,
                           &SpeedButtonADel, &SpeedButtonAEdit})
        b->Enabled = true;
    EditAContents = ListBoxAContents[static_cast<std::size_t>(index)];
}

void AlbumPage::SpeedButtonACUpClick() {
    if (!HasLine() || AContentsIndex == 0)
        return;
    const auto i = static_cast<std::size_t>(AContentsIndex);
    std::swap(ListBoxAContents[i], ListBoxAContents[i - 1]);
    --AContentsIndex;
}

void AlbumPage::SpeedButtonACDownClick() {
    if (!HasLine() || AContentsIndex + 1 >= static_cast<int>(ListBoxAContents.size()))
        return;
    const auto i = static_cast<std::size_t>(AContentsIndex);
    std::swap(ListBoxAContents[i], ListBoxAContents[i + 1]);
    ++AContentsIndex;
}

void AlbumPage::SpeedButtonADelClick() {
    if (!HasLine())
        return;
    ListBoxAContents.erase(ListBoxAContents.begin() + AContentsIndex);
    AContentsIndex = -1;
    SpeedButtonADel.Enabled = false;
}

void AlbumPage::SpeedButtonAEditClick() {
    if (!HasLine() || EditAContents.empty())
        return;
    ListBoxAContents[static_cast<std::size_t>(AContentsIndex)] = EditAContents;
    SpeedButtonAEdit.Enabled = false;
    SpeedButtonADel.Enabled = false;
}

void AlbumPage::SpeedButtonClearClick() {
    for (ButtonState* b : {&SpeedButtonACUp, &SpeedButtonACDown, &SpeedButtonASave,
                           &SpeedButtonADel, &SpeedButtonAEdit})
        b->Enabled = false;
    EditAContents.clear();
    EditATitle.clear();
    ListBoxAContents.clear();
    AContentsIndex = -1;
}

void AlbumPage::SpeedButtonASaveClick() {
    if (EditATitle.empty()) {
        messages_.showMessage(Utf8ToCp932("アルバム名が入力されていません"));
        return;
    }
    if (!CheckName(EditATitle))
        return;
    const std::string path = AlbumPath(EditATitle);
    try {
        WriteFileAtomically(PathFromCp932(path), JoinListText(ListBoxAContents));
    } catch (const std::system_error& error) {
        messages_.showMessage(WriteFailedMessage(path) + FileFailureReason(error));
        return;
    }
    messages_.showMessage(
        Formatted("曲リストの内容を「%s」というアルバム名で保存しました", EditATitle));
    SpeedButtonASave.Enabled = false;
}

void AlbumPage::AddLines(const std::vector<std::string>& lines) {
    ListBoxAContents.insert(ListBoxAContents.end(), lines.begin(), lines.end());
    SpeedButtonASave.Enabled = true;
    InnerPage = kEditTab;
}

} // namespace tobira
