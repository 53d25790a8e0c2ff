// SPDX-License-Identifier: GPL-3.0-or-later
// The control window's pages and what they ask of it: page changes, the play page's documents
// and jump, playing songs chosen on the list and search pages, albums.
#include "midi_windows/form_view.h"
#include "midi_windows/form_lyrics.h"
#include "midi_windows/form_parts.h"

#include "player/form_main.h"
#include "windows/form_msg.h"
#include "windows/form_reader.h"
#include "midi_windows/song_documents.h"
#include "midi_windows/song_record.h"

namespace tobira {

void TFormView::PageControl1Change(int page) {
    ports_.repaint.repaintNow();
    PageIndex = page;
    switch (page) {
    case kPlayPage:
        Page0.LoadListPage();
        break;
    case kList0Page:
        Page0.Activate();
        break;
    case kList1Page:
        Page1.Activate();
        break;
    case kSearchPage:
        Search.Activate();
        break;
    default:
        break;
    }
}

void TFormView::ShowPage(int page) {
    PageIndex = page;
}

void TFormView::OpenPlayingDocument(const char* extension) {
    ports_.repaint.repaintNow();
    const int entry = peers().Main.OrderPosition;
    if (entry < 0 || entry >= static_cast<int>(ListBoxTitle.size()))
        return;
    OpenDocument(SongDocumentPath(ListBoxTitle.path(static_cast<std::size_t>(entry)), extension));
}

void TFormView::SpeedButtonTxtClick() {
    OpenPlayingDocument("TXT");
}

void TFormView::SpeedButtonDocClick() {
    OpenPlayingDocument("DOC");
}

void TFormView::SpeedButtonHedClick() {
    OpenPlayingDocument("HED");
}

void TFormView::SpeedButtonLyricsClick() {
    if (TFormLyrics* lyrics = peers().Lyrics) {
        lyrics->Show();
        lyrics->TimerLyricsTimer();
    }
}

void TFormView::SpeedButtonPartsClick() {
    if (TFormParts* parts = peers().Parts) {
        parts->Show();
        parts->FormShow();
    }
}

void TFormView::OpenDocument(const std::string& path) {
    const std::string viewer = peers().Options.CurrentOptions().ViewerTool;
    if (!viewer.empty()) {
        // The path is the viewer's one argument; no shell ever sees it.
        ports_.processes.startDetached(viewer, {path});
        return;
    }
    peers().Reader.OpenDocument(path);
}

void TFormView::ShowSongDocuments(const std::string& songPath) {
    const SongDocuments documents = FindSongDocuments(songPath);
    SpeedButtonTxt.Enabled = documents.Txt.has_value();
    SpeedButtonDoc.Enabled = documents.Doc.has_value();
    SpeedButtonHed.Enabled = documents.Hed.has_value();
    SpeedButtonJump.Enabled = false;
    if (!ReaderShowing())
        return;
    for (const auto* document : {&documents.Txt, &documents.Doc, &documents.Hed})
        if (*document) {
            OpenDocument(**document);
            return;
        }
}

void TFormView::SpeedButtonJumpClick() {
    if (ListBoxTitleItemIndex < 0 || ListBoxTitleItemIndex >= static_cast<int>(ListBoxTitle.size()))
        return;
    SpeedButtonJump.Enabled = false;
    ports_.repaint.repaintNow();
    const std::string& text =
        ListBoxTitle.entryText(static_cast<std::size_t>(ListBoxTitleItemIndex));
    const std::string title = text.size() > 3 ? text.substr(3) : std::string();
    {
        BusyCursor busy(ports_.busy);
        for (int list : {0, 1}) {
            ListPage& page = Page(list);
            page.LoadListPage();
            PageIndex = list == 0 ? kList0Page : kList1Page;
            for (std::size_t i = 0; i < page.ListBoxTitle.size(); ++i)
                if (page.ListBoxTitle[i] == title) {
                    page.ShowListEntry(static_cast<int>(i));
                    return;
                }
        }
    }
    ports_.messages.showMessage(
        Utf8ToCp932("指定のデータはプレイリスト中に存在していませんでした"));
}

void TFormView::PlayLines(const std::vector<std::string>& lines, bool shuffleUnderRnd) {
    TFormMain& main = peers().Main;
    main.SpeedButtonSTOPClick();
    ListBoxTmpT.clear();
    ClearPlayList();
    for (const std::string& line : lines) {
        SongRecord record = SplitListLine(line);
        ListBoxTitle.append(record.Vol + " " + record.Title, record.Path, record.Vol, "1");
        ListBoxTmpT.push_back(line);
    }
    if (shuffleUnderRnd && Order() == MidiOrder::Rnd)
        ShufflePlayList(ListBoxTitle, ports_.random);
    if (!ListBoxTitle.empty())
        main.StartPlayList();
}

bool TFormView::ReaderShowing() const {
    return peers().Reader.Visible;
}

void TFormView::ShowProgressCaption(const std::string& caption) {
    Caption = caption;
    // A long scan paints its progress a few times a second, not once a file.
    const auto now = ports_.clock.now();
    if (!lastProgressPaint_ || now - *lastProgressPaint_ >= std::chrono::milliseconds(100)) {
        lastProgressPaint_ = now;
        ports_.repaint.repaintNow();
    }
}

void TFormView::RestoreCaption() {
    Caption = Utf8ToCp932("ＭＩＤＩ コントロール");
}

void TFormView::AddToAlbum(const std::vector<std::string>& lines) {
    Album.AddLines(lines);
}

std::string TFormView::StartFolder(int list) const {
    return list == 1 ? Search.EditList1 : Search.EditList0;
}

void TFormView::ShowAuthorMessage() {
    peers().Msg.Show();
}

} // namespace tobira
