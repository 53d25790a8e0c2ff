// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/form_model.h"
#include "ports/ports.h"
#include "text/document_text.h"

#include <string>

namespace tobira {

class IniSnapshot;

// The reader of the documents beside a song (TXT, DOC, HED): one text area, no wrapping, the
// document's text in its own encoding (UTF-8 and UTF-16 decoded, anything else code page 932).
// It reads the document again each time it becomes the active window; a document that cannot be
// read is reported once per user action (opening it), never by an activation.
class TFormReader final : public FormModel {
  public:
    TFormReader(MessagePort& messages, BusyCursorPort& busy, ScreenPort& screen,
                std::string settingsPath);

    // The document to show; the opener writes it before showing the window.
    std::string LabelPath;
    // The text area's content, lines as in the file, in the document's own encoding: UTF-8
    // documents are shown as UTF-8, everything else as code page 932.
    std::string MemoReader;
    TextEncoding MemoReaderEncoding = TextEncoding::Cp932;
    FontChoice MemoReaderFont;
    // Counts the loads, so that the view replaces its text on each, typed changes included.
    int Loads = 0;

    // Font, size and position from the settings file; a stored position off the screen centres
    // the window.
    void FormCreate();
    // The same from the one read of the settings at the start.
    void FormCreate(const IniSnapshot& settings);
    // The window became the active one: the document afresh, or, when it cannot be read, the
    // text shown so far, without a message.
    void FormActivate();
    // Shows `path`: text and caption become the file's, read on a worker under the busy cursor.
    // An unreadable file keeps the old text and caption and says so.
    void LoadDocument(const std::string& path);
    // Puts the path in and shows the window with the document.
    void OpenDocument(const std::string& path);

  private:
    void ReadDocument(const std::string& path, bool report);

    MessagePort& messages_;
    BusyCursorPort& busy_;
    ScreenPort& screen_;
    std::string settingsPath_;
    std::string loadedPath_;
};

} // namespace tobira
