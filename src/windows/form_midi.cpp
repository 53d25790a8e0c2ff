// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI selector: creation, geometry, the folder list and the mirrored buttons.
#include "windows/form_midi.h"

#include "midi_windows/midi_folder_scan.h"

#include "player/form_main.h"
#include "windows/form_msg.h"
#include "midi_windows/form_view.h"
#include "text/list_collation.h"
#include "settings/ini_file.h"
#include "forms/position_check.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tobira {

TFormMidi::TFormMidi(Ports ports, const DataPaths& paths, TFormMain& main, TFormView& view,
                     TFormMsg& msg)
    : FormModel("ＭＩＤＩ セレクタ", kMinWidth, kDefaultHeight), ports_(ports), paths_(paths),
      main_(main), view_(view), msg_(msg) {
    SpeedButtonLst0 = MakeButton("List 0");
    SpeedButtonLst1 = MakeButton("List 1");
    SpeedButtonLst2 = MakeButton("2 List");
    SpeedButtonNor = MakeButton("Nor");
    SpeedButtonNew = MakeButton("New");
    SpeedButtonRnd = MakeButton("Rnd");
    SpeedButtonLst0.Down = true;
    SpeedButtonNor.Down = true;
    BitBtnStart = MakeButton("Start");
    SpeedButtonAdd = MakeButton("Add", "フォルダ登録（右クリックなら再生のみで登録しない）");
    SpeedButtonDel = MakeButton("Del", "リストからフォルダ・パスを削除する");
    SpeedButtonDel.Font = colors::Red;
    SpeedButtonDel.Enabled = false;
    SpeedButtonStart = MakeButton("▲", "選択したフォルダから再生");
    SpeedButtonStart.Enabled = false;
    SpeedButtonClose = MakeButton("Close");
    SpeedButtonClose.Font = colors::Red;
    ListBoxFolderHint = Utf8ToCp932("ダブルクリックでフォルダを選択できます");
    Image1Hint = Utf8ToCp932("クリックで作者のメッセージ");
}

void TFormMidi::FormCreate() {
    FormCreate(IniSnapshot(paths_.SettingsPath));
}

void TFormMidi::FormCreate(const IniSnapshot& file) {
    Width = ReadSetting(file, keys::MIDIWIDTH);
    Height = ReadSetting(file, keys::MIDIHEIGH);
    FormResize();
    const ScreenPoint stored{ReadSetting(file, keys::POSITION0),
                             ReadSetting(file, keys::POSITION1)};
    const ScreenSize screen = ports_.screen.screenSize();
    if (SideWindowPositionUsable(stored, screen)) {
        Left = stored.x;
        Top = stored.y;
    } else {
        CentreOn(screen);
    }
    CopyButtonsFrom(view_);
}

void TFormMidi::FormResize() {
    Width = std::max(Width, kMinWidth);
    if (Height < kMinHeight)
        Height = kDefaultHeight;
}

void TFormMidi::FormShow() {
    ShowHint = main_.ShowHints;
}

void TFormMidi::FormActivate() {
    ListBoxFolder.clear();
    ListBoxFolderItemIndex = -1;
    LoadFolderList();
    LoadAlbumNames();
    SortListLines(ListBoxFolder);
}

void TFormMidi::FormClose() {
    try {
        IniBatch file(paths_.SettingsPath);
        WriteSetting(file, keys::POSITION0, Left);
        WriteSetting(file, keys::POSITION1, Top);
        WriteSetting(file, keys::MIDIWIDTH, Width);
        WriteSetting(file, keys::MIDIHEIGH, Height);
        file.commit();
    } catch (const SettingsWriteError& error) {
        ports_.messages.showMessage(error.what());
    }
}

void TFormMidi::Close() {
    if (!Visible)
        return;
    Hide();
    FormClose();
}

void TFormMidi::LoadFolderList() {
    const IniSnapshot file(paths_.SettingsPath);
    for (int slot = 0; slot < keys::kMidiFolderSlots; ++slot)
        if (std::string folder = ReadSetting(file, keys::MIDIFLD(slot)); !folder.empty())
            ListBoxFolder.push_back(std::move(folder));
}

void TFormMidi::LoadAlbumNames() {
    BusyCursor busy(ports_.busy);
    // Album files only: a folder or FIFO named like one is no album to offer.
    try {
        for (const std::string& name : FilesWithExtension(paths_.Folder, ".ABM"))
            if (auto entry = AlbumEntryOfFile(name))
                ListBoxFolder.push_back(std::move(*entry));
    } catch (const std::system_error&) {
        // The program folder exists while the program runs; an unlistable one shows no album.
    }
}

int TFormMidi::FolderCount() const {
    return static_cast<int>(std::count_if(ListBoxFolder.begin(), ListBoxFolder.end(),
                                          [](const std::string& e) { return !IsAlbumEntry(e); }));
}

void TFormMidi::SaveFolderList() {
    std::vector<std::string> folders;
    for (const std::string& entry : ListBoxFolder)
        if (!IsAlbumEntry(entry))
            folders.push_back(entry);
    IniBatch file(paths_.SettingsPath);
    for (int slot = 0; slot < keys::kMidiFolderSlots; ++slot) {
        const auto index = static_cast<std::size_t>(slot);
        WriteSetting(file, keys::MIDIFLD(slot), index < folders.size() ? folders[index] : "");
    }
    file.commit();
}

void TFormMidi::SaveFolderListReporting() {
    try {
        SaveFolderList();
    } catch (const SettingsWriteError& error) {
        ports_.messages.showMessage(error.what());
    }
}

void TFormMidi::SpeedButtonLst0Click() {
    view_.SpeedButtonLst0.Down = SpeedButtonLst0.Down;
    view_.SpeedButtonLst1.Down = SpeedButtonLst1.Down;
    view_.SpeedButtonLst2.Down = SpeedButtonLst2.Down;
    view_.SpeedButtonNor.Down = SpeedButtonNor.Down;
    view_.SpeedButtonNew.Down = SpeedButtonNew.Down;
    view_.SpeedButtonRnd.Down = SpeedButtonRnd.Down;
}

void TFormMidi::PressSource(int index) {
    SpeedButtonLst0.Down = index == 0;
    SpeedButtonLst1.Down = index == 1;
    SpeedButtonLst2.Down = index == 2;
    SpeedButtonLst0Click();
}

void TFormMidi::PressOrder(int index) {
    SpeedButtonNor.Down = index == 0;
    SpeedButtonNew.Down = index == 1;
    SpeedButtonRnd.Down = index == 2;
    SpeedButtonLst0Click();
}

void TFormMidi::CopyButtonsFrom(const TFormView& view) {
    SpeedButtonLst0.Down = view.SpeedButtonLst0.Down;
    SpeedButtonLst1.Down = view.SpeedButtonLst1.Down;
    SpeedButtonLst2.Down = view.SpeedButtonLst2.Down;
    SpeedButtonNor.Down = view.SpeedButtonNor.Down;
    SpeedButtonNew.Down = view.SpeedButtonNew.Down;
    SpeedButtonRnd.Down = view.SpeedButtonRnd.Down;
}

void TFormMidi::ListBoxFolderClick(int index) {
    if (index < 0 || index >= static_cast<int>(ListBoxFolder.size()))
        return;
    ListBoxFolderItemIndex = index;
    SpeedButtonDel.Enabled = true;
    SpeedButtonStart.Enabled = true;
}

void TFormMidi::SpeedButtonDelClick() {
    if (ListBoxFolderItemIndex < 0 ||
        ListBoxFolderItemIndex >= static_cast<int>(ListBoxFolder.size()))
        return;
    const auto at = ListBoxFolder.begin() + ListBoxFolderItemIndex;
    if (IsAlbumEntry(*at)) {
        ports_.messages.showMessage(
            Utf8ToCp932("アルバムの削除はアルバム管理ページからおこなってください"));
        return;
    }
    ListBoxFolder.erase(at);
    ListBoxFolderItemIndex = -1;
    SaveFolderListReporting();
    SpeedButtonDel.Enabled = false;
    SpeedButtonStart.Enabled = false;
}

void TFormMidi::SpeedButtonCloseClick() {
    Close();
}

void TFormMidi::Image1Click() {
    msg_.Show();
}

} // namespace tobira
