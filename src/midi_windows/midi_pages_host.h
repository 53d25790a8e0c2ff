// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the list, search and album pages of the MIDI control window ask of the window around
// them. The window implements it; page tests use a small recording host.

#include <string>
#include <vector>

namespace tobira {

class ListPage;

class MidiPagesHost {
  public:
    virtual ~MidiPagesHost() = default;
    // Stops the player (the main window's STOP) and plays exactly these list lines, in this
    // order; shuffled first when `shuffleUnderRnd` and the order Rnd is chosen.
    virtual void PlayLines(const std::vector<std::string>& lines, bool shuffleUnderRnd) = 0;
    // Opens a document in the external viewer or the reader.
    virtual void OpenDocument(const std::string& path) = 0;
    virtual bool ReaderShowing() const = 0;
    // The window caption during a folder scan ("検索中.. " + name), painted at once; and back.
    virtual void ShowProgressCaption(const std::string& caption) = 0;
    virtual void RestoreCaption() = 0;
    // Appends lines to the album being made and turns the album page to its edit tab.
    virtual void AddToAlbum(const std::vector<std::string>& lines) = 0;
    // The start folder of automatic adding to a list (the search page's folder boxes).
    virtual std::string StartFolder(int list) const = 0;
    virtual ListPage& Page(int list) = 0;
    // Turns to a page of the window (TFormView's page numbers).
    virtual void ShowPage(int page) = 0;
    // The author message window.
    virtual void ShowAuthorMessage() = 0;
};

} // namespace tobira
