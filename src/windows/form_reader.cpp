// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/form_reader.h"

#include "midi_windows/midi_title.h"
#include "settings/ini_file.h"
#include "forms/position_check.h"
#include "settings/settings_keys.h"
#include "files/whole_file.h"
#include "text/cp932_convert.h"

#include <system_error>

namespace tobira {

TFormReader::TFormReader(MessagePort& messages, BusyCursorPort& busy, ScreenPort& screen,
                         std::string settingsPath)
    : FormModel("ＭＩＤＩ ドキュメント表示", 350, 300), messages_(messages), busy_(busy),
      screen_(screen), settingsPath_(std::move(settingsPath)) {
    MemoReaderFont.name = std::string(keys::FONTNAME.fallback);
}

void TFormReader::FormCreate() {
    FormCreate(IniSnapshot(settingsPath_));
}

void TFormReader::FormCreate(const IniSnapshot& settings) {
    MemoReaderFont.name = ReadSetting(settings, keys::FONTNAME);
    MemoReaderFont.size = ReadFontSize(settings);
    const ScreenPoint stored{ReadSetting(settings, keys::SPOSITION),
                             ReadSetting(settings, keys::UPOSITION)};
    Width = ReadSetting(settings, keys::READWIDTH);
    Height = ReadSetting(settings, keys::READHEIGH);
    const ScreenSize screen = screen_.screenSize();
    if (SideWindowPositionUsable(stored, screen)) {
        Left = stored.x;
        Top = stored.y;
    } else {
        CentreOn(screen);
    }
}

void TFormReader::FormActivate() {
    // Closing the box of a failed read activates the window again, and so would every box after
    // it: a read on activation keeps quiet, the user was told when the document was opened.
    ReadDocument(LabelPath, false);
}

void TFormReader::LoadDocument(const std::string& path) {
    ReadDocument(path, true);
}

void TFormReader::ReadDocument(const std::string& path, bool report) {
    try {
        DocumentText document;
        busy_.runBusy([&document, &path] {
            document = DecodeDocument(
                RegularFile::open(PathFromCp932(path), read_limit::Document).readAll());
        });
        MemoReader = std::move(document.text);
        MemoReaderEncoding = document.encoding;
    } catch (const FileError& error) {
        if (report)
            messages_.showMessage(path + Utf8ToCp932(" を読み込めません") + "\n" + error.what());
        return;
    } catch (const std::system_error& error) { // no worker thread could be started
        if (report)
            messages_.showMessage(path + Utf8ToCp932(" を読み込めません") + "\n" +
                                  Utf8ToCp932(error.code().message()));
        return;
    }
    loadedPath_ = path;
    ++Loads;
    Caption = std::string(FileNameOfPath(path));
}

void TFormReader::OpenDocument(const std::string& path) {
    LabelPath = path;
    Show();
    LoadDocument(path);
}

} // namespace tobira
