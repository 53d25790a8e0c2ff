// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI selector's ways to start play: the lists, a folder, an album; and registering
// folders.
#include "windows/form_midi.h"
#include "windows/album_entry.h"

#include "player/form_main.h"
#include "midi_windows/form_view.h"
#include "text/list_collation.h"
#include "midi_windows/list_file.h"
#include "midi_windows/midi_folder_scan.h"
#include "midi_windows/midi_title.h"
#include "midi_windows/play_list_builder.h"
#include "files/shown_name.h"
#include "settings/ini_file.h"
#include "settings/ini_values.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tobira {
namespace {

// The album file whose list entry names `name`, found by the rule that lists it.
std::optional<std::string> findAlbumFile(const std::string& folder, const std::string& name) {
    try {
        for (const std::string& file : FilesWithExtension(folder, ".ABM"))
            if (const auto entry = AlbumEntryOfFile(file);
                entry && AlbumNameOfEntry(*entry) == name)
                return JoinFolder(folder, file);
    } catch (const std::system_error&) {
    }
    return std::nullopt;
}

} // namespace

void TFormMidi::BitBtnStartClick() {
    BitBtnStart.Font = colors::Yellow;
    ports_.repaint.repaintNow();
    main_.SpeedButtonPLAYClick();
    Close();
    BitBtnStart.Font = colors::Black;
}

std::string TFormMidi::AppendFolderSongs(const std::string& folder) {
    MidiFolderScan scan;
    try {
        scan = ScanMidiFolder(folder);
    } catch (const FolderScanError& error) {
        return "\n" + std::string(error.what());
    }
    if (std::string leftOut = scan.Report(); !leftOut.empty())
        ports_.messages.showMessage(leftOut);
    // The directory's own order is arbitrary here; the scan gives file-name order, the one a
    // user expects.
    for (const std::string& name : scan.Names) {
        const std::string path = JoinFolder(folder, name);
        std::string title;
        try {
            title = ReadMidiTitle(path);
        } catch (const std::exception&) {
            title = name;
        }
        view_.ListBoxTitle.append("+0 " + name + ": " + title, path, "+0", "1");
    }
    return {};
}

bool TFormMidi::LoadAlbum(const std::string& name) {
    view_.ListBoxTmpT.clear();
    bool built = false;
    // Which file, and why, after the described text.
    std::string why =
        "\n" + JoinFolder(paths_.Folder, name + ".ABM") + Utf8ToCp932(" がありません");
    if (auto file = findAlbumFile(paths_.Folder, name)) {
        why.clear();
        try {
            std::optional<std::vector<std::string>> lines;
            ports_.busy.runBusy([&lines, &file] { lines = ReadListFile(*file); });
            if (!lines || lines->empty())
                why = "\n" + *file + Utf8ToCp932(" がないか、または空です");
            if (lines) {
                view_.ListBoxTmpT = std::move(*lines);
                built = BuildPlayList(view_.ListBoxTmpT, view_.Order(), ports_.random,
                                      view_.ListBoxTitle);
            }
        } catch (const std::system_error& e) {
            why = "\n" + std::string(e.what());
        }
    }
    if (!built)
        ports_.messages.showMessage(Utf8ToCp932("アルバムファイルが読み込めません") + why);
    return built;
}

void TFormMidi::StartOrReport(const std::string& emptyMessage) {
    if (view_.ListBoxTitle.empty())
        ports_.messages.showMessage(emptyMessage);
    else
        main_.StartPlayList();
}

void TFormMidi::SpeedButtonStartClick() {
    if (ListBoxFolderItemIndex < 0 ||
        ListBoxFolderItemIndex >= static_cast<int>(ListBoxFolder.size()))
        return;
    ports_.repaint.repaintNow();
    const std::string entry = ListBoxFolder[static_cast<std::size_t>(ListBoxFolderItemIndex)];
    // Nothing plays while the selector is open; a list left from before must not be added to.
    view_.ClearPlayList();
    std::string folderProblem;
    if (IsAlbumEntry(entry)) {
        LoadAlbum(AlbumNameOfEntry(entry));
    } else {
        BusyCursor busy(ports_.busy);
        folderProblem = AppendFolderSongs(entry);
        if (view_.Order() == MidiOrder::Rnd)
            ShufflePlayList(view_.ListBoxTitle, ports_.random);
    }
    StartOrReport(
        Utf8ToCp932(
            "指定フォルダにＭＩＤＩファイルがないか、またはアルバムファイルに異常があります") +
        folderProblem);
    SpeedButtonStart.Enabled = false;
    Close();
}

void TFormMidi::SpeedButtonAddClick() {
    if (FolderCount() >= keys::kMidiFolderSlots) {
        ports_.messages.showMessage(Utf8ToCp932(
            "登録できるフォルダは４０個までです。不要なフォルダを削除してから登録してください"));
        return;
    }
    auto folder = ports_.choosers.chooseFolder(
        Utf8ToCp932("選択したＭＩＤＩファイル用フォルダをリストに最大４０個まで登録できます"),
        LabelMemory);
    if (!folder)
        return;
    // A registered folder is a settings value: one line, read back cut at its limit.
    if (HasRecordBreak(*folder)) {
        ports_.messages.showMessage(RecordBreakMessage() + "\n" +
                                    ShownName(PathFromCp932(*folder)));
        return;
    }
    if (folder->size() > kIniStringLimit) {
        ports_.messages.showMessage(
            Utf8ToCp932("フォルダのパスが長すぎるため登録できません（上限 ") +
            std::to_string(kIniStringLimit) + Utf8ToCp932(" バイト）:\n") +
            ShownName(PathFromCp932(*folder)));
        return;
    }
    ListBoxFolder.push_back(*folder);
    SortListLines(ListBoxFolder);
    ListBoxFolderItemIndex = -1;
    ports_.repaint.repaintNow();
    SaveFolderListReporting();
    LabelMemory = *folder;
}

void TFormMidi::SpeedButtonAddMouseDown(MouseButton button) {
    if (button != MouseButton::Right)
        return;
    auto folder = ports_.choosers.chooseFolder(
        Utf8ToCp932("選択したフォルダ内のＭＩＤＩデータを再生します（リストには登録しません）"),
        LabelMemory);
    if (!folder)
        return;
    LabelMemory = *folder;
    view_.ClearPlayList();
    std::string folderProblem;
    {
        BusyCursor busy(ports_.busy);
        folderProblem = AppendFolderSongs(*folder);
        if (view_.Order() == MidiOrder::Rnd)
            ShufflePlayList(view_.ListBoxTitle, ports_.random);
    }
    StartOrReport(Utf8ToCp932("指定のフォルダにはＭＩＤＩファイルがありませんでした") +
                  folderProblem);
    Close();
}

} // namespace tobira
