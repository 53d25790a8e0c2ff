// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/list_page.h"

#include "files/regular_file.h"
#include "text/list_collation.h"
#include "midi_windows/list_file.h"
#include "midi_windows/list_messages.h"
#include "midi_windows/midi_folder_scan.h"
#include "midi_windows/midi_pages_host.h"
#include "midi_windows/midi_title.h"
#include "midi_windows/song_documents.h"
#include "midi_windows/song_record.h"
#include "files/shown_name.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <system_error>

namespace tobira {
namespace {

MidiListSource SourceOf(int list) {
    return list == 0 ? MidiListSource::List0 : MidiListSource::List1;
}

std::string NewSongLine(const std::string& path) {
    return "!1 " + ReadMidiTitle(path) + "\t" + path + "\t+0\t1";
}

} // namespace

std::string WriteFailedMessage(const std::string& path) {
    return path + Utf8ToCp932(" に書き込めません");
}

std::string VolText(int position) {
    return (position < 0 ? "-" : "+") + std::to_string(position < 0 ? -position : position);
}

ListPage::ListPage(int list, std::string listPath, MessagePort& messages, ChooserPort& choosers,
                   BusyCursorPort& busy, MidiPagesHost& host)
    : list_(list), listPath_(std::move(listPath)), messages_(messages), choosers_(choosers),
      busy_(busy), host_(host) {
    SpeedButtonAuto = MakeButton("自動追加", "フォルダ単位で追加します");
    SpeedButtonManual = MakeButton("手動追加", "１曲単位で追加します");
    SpeedButtonDel = MakeButton("削除", "指定した曲をリストから削除します", false);
    SpeedButtonDel.Font = colors::Red;
    SpeedButtonEdit = MakeButton("修整", "指定した曲を修整します", false);
    SpeedButtonCtrl = MakeButton("順位", "新曲マーク（！１，！２，！３）の順位を下げます");
    SpeedButtonMon = MakeButton("試聴", "指定した曲を再生します", false);
    SpeedButtonTxt = MakeButton("T", "ドキュメント（ＴＸＴ）を閲覧する", false);
    SpeedButtonDoc = MakeButton("D", "ドキュメント（ＤＯＣ）を閲覧する", false);
    SpeedButtonHed = MakeButton("H", "ドキュメント（ＨＥＤ）を閲覧する", false);
    SpeedButtonAddA = MakeButton("Album", "選択曲をアルバムに追加", false);
    PanelVol = VolText(0);
}

bool ListPage::HasSelection() const {
    return ItemIndex >= 0 && ItemIndex < static_cast<int>(ListBoxTmp.size());
}

void ListPage::ClearPage() {
    ListBoxTmp.clear();
    ListBoxTitle.clear();
    ListBoxPath.clear();
    ListBoxVol.clear();
    ListBoxFeel.clear();
    paths_.clear();
    ItemIndex = -1;
    SpeedButtonAddA.Enabled = false;
    EditTitle.clear();
    EditPath.clear();
    PanelVol.clear();
    ScrollBarVol = 0;
    RadioGroupFeel = -1;
}

namespace {

// A list file's lines and their split fields: everything a load reads, made off the UI thread.
struct LoadedList {
    std::vector<std::string> lines, titles, paths, vols, feels;
    std::unordered_set<std::string> pathSet;
};

std::optional<LoadedList> ReadLoadedList(const std::string& listPath) {
    std::optional<std::vector<std::string>> lines = ReadListFile(listPath);
    if (!lines)
        return std::nullopt;
    LoadedList loaded;
    const std::size_t n = lines->size();
    loaded.titles.reserve(n);
    loaded.paths.reserve(n);
    loaded.vols.reserve(n);
    loaded.feels.reserve(n);
    for (const std::string& line : *lines) {
        SongRecord record = SplitListLine(line);
        loaded.pathSet.insert(record.Path);
        loaded.titles.push_back(std::move(record.Title));
        loaded.paths.push_back(std::move(record.Path));
        loaded.vols.push_back(std::move(record.Vol));
        loaded.feels.push_back(std::move(record.Feel));
    }
    loaded.lines = std::move(*lines);
    return loaded;
}

} // namespace

void ListPage::LoadListPage() {
    std::optional<LoadedList> loaded;
    try {
        // A list of a million songs takes a good part of a second.
        busy_.runBusy([&loaded, path = listPath_] { loaded = ReadLoadedList(path); });
        if (!loaded)
            return;
    } catch (const std::system_error& error) {
        ClearPage();
        PanelAll = "0";
        messages_.showMessage(ListUnreadableMessage(SourceOf(list_)) + FileFailureReason(error));
        return;
    }
    ClearPage();
    ListBoxTmp = std::move(loaded->lines);
    ListBoxTitle = std::move(loaded->titles);
    ListBoxPath = std::move(loaded->paths);
    ListBoxVol = std::move(loaded->vols);
    ListBoxFeel = std::move(loaded->feels);
    paths_ = std::move(loaded->pathSet);
    PanelAll = std::to_string(ListBoxTmp.size());
}

void ListPage::Activate() {
    SpeedButtonDel.Enabled = false;
    SpeedButtonEdit.Enabled = false;
    SpeedButtonMon.Enabled = false;
    LoadListPage();
}

void ListPage::ListBoxTitleClick(int index) {
    ShowListEntry(index);
}

void ListPage::ShowListEntry(int index) {
    if (index < 0 || index >= static_cast<int>(ListBoxTitle.size()))
        return;
    const auto i = static_cast<std::size_t>(index);
    const auto feel = ParseListNumber(ListBoxFeel[i]);
    const auto vol = ParseListNumber(ListBoxVol[i]);
    ItemIndex = index;
    if (!feel || !vol) {
        // A hand-edited line: say which one, and leave it for the user to delete or fix.
        char where[64];
        std::snprintf(where, sizeof where, "GAKUFU.DT%d : %d ", list_, index + 1);
        messages_.showMessage(where + Utf8ToCp932("行目の音量値または好感度が数値ではありません") +
                              "\n" + ListBoxTmp[i]);
        SpeedButtonDel.Enabled = true;
        SpeedButtonAddA.Enabled = true; // the line goes to an album as it stands
        for (ButtonState* b :
             {&SpeedButtonEdit, &SpeedButtonMon, &SpeedButtonTxt, &SpeedButtonDoc, &SpeedButtonHed})
            b->Enabled = false;
        return;
    }
    RadioGroupFeel = *feel > 3 ? 3 : (*feel <= -1 ? -1 : *feel);
    EditTitle = ListBoxTitle[i];
    EditPath = ListBoxPath[i];
    ScrollBarVol = std::clamp(*vol, -5, 5);
    PanelVol = VolText(ScrollBarVol);
    for (ButtonState* b : {&SpeedButtonDel, &SpeedButtonEdit, &SpeedButtonMon, &SpeedButtonAddA})
        b->Enabled = true;
    SetDocumentButtons(EditPath);
    if (host_.ReaderShowing()) {
        const SongDocuments documents = FindSongDocuments(EditPath);
        for (const auto* document : {&documents.Txt, &documents.Doc, &documents.Hed})
            if (*document) {
                host_.OpenDocument(**document);
                break;
            }
    }
}

void ListPage::SetDocumentButtons(const std::string& path) {
    const SongDocuments documents = FindSongDocuments(path);
    SpeedButtonTxt.Enabled = documents.Txt.has_value();
    SpeedButtonDoc.Enabled = documents.Doc.has_value();
    SpeedButtonHed.Enabled = documents.Hed.has_value();
}

void ListPage::ScrollBarVolChange(int position) {
    ScrollBarVol = std::clamp(position, -5, 5);
    PanelVol = VolText(ScrollBarVol);
}

void ListPage::EditTitleClick() {
    EditTitleRequests.selectAll();
}

void ListPage::InsertSorted(std::string line) {
    auto at = std::upper_bound(
        ListBoxTmp.begin(), ListBoxTmp.end(), line,
        [](const std::string& a, const std::string& b) { return CompareListLines(a, b) < 0; });
    ListBoxTmp.insert(at, std::move(line));
}

bool ListPage::Save() {
    try {
        WriteListFile(listPath_, ListBoxTmp);
        return true;
    } catch (const std::system_error& error) {
        messages_.showMessage(WriteFailedMessage(listPath_) + FileFailureReason(error));
        return false;
    }
}

void ListPage::SpeedButtonEditClick() {
    if (!HasSelection() || EditTitle.empty() || EditPath.empty())
        return;
    const std::string vol = VolText(ScrollBarVol);
    for (ButtonState* b : {&SpeedButtonDel, &SpeedButtonEdit, &SpeedButtonMon, &SpeedButtonTxt,
                           &SpeedButtonDoc, &SpeedButtonHed, &SpeedButtonAddA})
        b->Enabled = false;
    ListBoxTmp.erase(ListBoxTmp.begin() + ItemIndex);
    InsertSorted(EditTitle + "\t" + EditPath + "\t" + vol + "\t" + std::to_string(RadioGroupFeel));
    if (Save())
        LoadListPage();
}

void ListPage::SpeedButtonDelClick() {
    if (!HasSelection())
        return;
    const auto i = static_cast<std::ptrdiff_t>(ItemIndex);
    ListBoxTmp.erase(ListBoxTmp.begin() + i);
    if (i < static_cast<std::ptrdiff_t>(ListBoxTitle.size())) {
        ListBoxTitle.erase(ListBoxTitle.begin() + i);
        ListBoxPath.erase(ListBoxPath.begin() + i);
        ListBoxVol.erase(ListBoxVol.begin() + i);
        ListBoxFeel.erase(ListBoxFeel.begin() + i);
    }
    paths_ = std::unordered_set<std::string>(ListBoxPath.begin(), ListBoxPath.end());
    ItemIndex = -1;
    for (ButtonState* b : {&SpeedButtonDel, &SpeedButtonEdit, &SpeedButtonMon, &SpeedButtonTxt,
                           &SpeedButtonDoc, &SpeedButtonHed, &SpeedButtonAddA})
        b->Enabled = false;
    Save();
}

void ListPage::SpeedButtonCtrlClick() {
    if (ListBoxTmp.empty())
        return;
    for (std::string& line : ListBoxTmp) {
        if (line.compare(0, 3, "!3 ") == 0)
            line.erase(0, 3);
        else if (line.compare(0, 3, "!2 ") == 0)
            line[1] = '3';
        else if (line.compare(0, 3, "!1 ") == 0)
            line[1] = '2';
    }
    SortListLines(ListBoxTmp);
    if (Save())
        LoadListPage();
}

void ListPage::SpeedButtonManualClick() {
    AddSongManually();
}

void ListPage::AddSongManually() {
    const auto file = choosers_.chooseOpenFile(
        Utf8ToCp932("追加するＭＩＤファイルを選択してください"), host_.StartFolder(list_),
        "MIDI File(*.MID;*.MIDI;*.KAR;*.RMI)|*.MID *.MIDI *.KAR *.RMI");
    if (!file)
        return;
    if (HasRecordBreak(*file)) {
        messages_.showMessage(RecordBreakMessage() + "\n" + ShownName(PathFromCp932(*file)));
        return;
    }
    BusyCursor busy(busy_);
    std::string line;
    try {
        line = NewSongLine(*file);
    } catch (const std::system_error& error) {
        messages_.showMessage(error.what());
        return;
    }
    InsertSorted(std::move(line));
    if (Save())
        LoadListPage();
}

void ListPage::SpeedButtonAutoClick() {
    const int added = AddFolderSongs();
    if (added > 0) {
        char text[160];
        std::snprintf(text, sizeof text,
                      Utf8ToCp932("ＭＩＤＩデータの自動追加を完了し %d 曲を追加しました").c_str(),
                      added);
        messages_.showMessage(text);
    } else if (added == 0) {
        messages_.showMessage(
            Utf8ToCp932("ＭＩＤＩデータの自動追加処理を完了しましたが追加件数は０件でした"));
    }
}

int ListPage::AddFolderSongs() {
    const auto folder = choosers_.chooseFolder(
        Utf8ToCp932("ＭＩＤＩファイルのあるフォルダを選択してください"), host_.StartFolder(list_));
    if (!folder)
        return -1;
    BusyCursor busy(busy_);
    int added = 0;
    std::vector<std::string> unreadable;
    std::string leftOut;
    try {
        const std::string searching = Utf8ToCp932("検索中.. ");
        std::vector<std::string> lines;
        const MidiFolderScan scan = ScanMidiFolder(*folder);
        leftOut = scan.Report();
        for (const std::string& name : scan.Names) {
            host_.ShowProgressCaption(searching + name);
            const std::string path = JoinFolder(*folder, name);
            if (!IsPathNew(path))
                continue;
            try {
                lines.push_back(NewSongLine(path));
            } catch (const std::system_error& error) {
                // One unreadable file does not stop the folder; it is named afterwards.
                unreadable.push_back(error.what());
                continue;
            }
            paths_.insert(path);
            ++added;
        }
        if (!lines.empty()) {
            ListBoxTmp.insert(ListBoxTmp.end(), std::make_move_iterator(lines.begin()),
                              std::make_move_iterator(lines.end()));
            SortListLines(ListBoxTmp);
        }
    } catch (const FolderScanError& error) {
        unreadable.push_back(error.what());
    }
    if (Save())
        LoadListPage();
    host_.RestoreCaption();
    if (!unreadable.empty() || !leftOut.empty()) {
        std::string text;
        if (!unreadable.empty()) {
            text = Utf8ToCp932("読み込めないファイルがありました");
            for (const std::string& path : unreadable)
                text += "\n" + path;
        }
        if (!leftOut.empty())
            text += (text.empty() ? "" : "\n") + leftOut;
        messages_.showMessage(text);
    }
    return added;
}

bool ListPage::IsPathNew(const std::string& path) const {
    return !paths_.contains(path);
}

void ListPage::SpeedButtonMonClick() {
    MonitorSong();
}

void ListPage::MonitorSong() {
    if (!HasSelection())
        return;
    host_.PlayLines({ListBoxTmp[static_cast<std::size_t>(ItemIndex)]}, false);
    SpeedButtonTxt.Enabled = false;
    SpeedButtonDoc.Enabled = false;
    SpeedButtonHed.Enabled = false;
}

void ListPage::OpenSongDocument(const char* extension) {
    if (!HasSelection())
        return;
    host_.OpenDocument(
        SongDocumentPath(ListBoxPath[static_cast<std::size_t>(ItemIndex)], extension));
}

void ListPage::SpeedButtonTxtClick() {
    OpenSongDocument("TXT");
}

void ListPage::SpeedButtonDocClick() {
    OpenSongDocument("DOC");
}

void ListPage::SpeedButtonHedClick() {
    OpenSongDocument("HED");
}

void ListPage::SpeedButtonAddAClick() {
    if (!HasSelection())
        return;
    host_.AddToAlbum({ListBoxTmp[static_cast<std::size_t>(ItemIndex)]});
}

} // namespace tobira
