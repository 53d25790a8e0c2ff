// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/data_paths.h"
#include "forms/auto_close_indicator.h"
#include "forms/controls_state.h"
#include "forms/form_model.h"
#include "midi_windows/album_page.h"
#include "midi_windows/list_messages.h"
#include "midi_windows/list_page.h"
#include "midi_windows/midi_pages_host.h"
#include "midi_windows/play_list.h"
#include "midi_windows/play_list_builder.h"
#include "midi_windows/search_page.h"
#include "settings/setup_options.h"
#include "text/cp932_convert.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tobira {

class IniSnapshot;

class TFormLyrics;
class TFormParts;
class TFormMain;
class TFormMsg;
class TFormReader;

// The windows the MIDI control window works with.
struct MidiControlPeers {
    TFormMain& Main;
    const SetupOptionsSource& Options;
    TFormReader& Reader;
    TFormMsg& Msg;
    TFormLyrics* Lyrics = nullptr; // the lyrics window, opened from the play page
    TFormParts* Parts = nullptr;   // the part display, opened from the play page
};

// The MIDI control window: the play list, the two song lists, search and albums.
//
// The play page holds the play list the main window plays; the main window's MIDI player
// fills it, selects the playing entry and sets the number panels and document buttons. The
// other pages are models of their own (ListPage, SearchPage, AlbumPage) that reach the window
// through MidiPagesHost.
class TFormView final : public FormModel, public AutoCloseIndicator, public MidiPagesHost {
  public:
    // The pages, in tab order.
    static constexpr int kPlayPage = 0;
    static constexpr int kList0Page = 1;
    static constexpr int kList1Page = 2;
    static constexpr int kSearchPage = 3;
    static constexpr int kAlbumPage = 4;

    static constexpr int kMinWidth = 246;
    static constexpr int kMinHeight = 331;
    static constexpr int kResizedHeight = 347;
    static constexpr int kCloseIndicatorWidth = 60; // PanelClose, pixels

    TFormView(Ports ports, const DataPaths& paths);

    // The other windows. Set once by the window set before any handler runs.
    void SetPeers(const MidiControlPeers& peers) { peers_.emplace(peers); }

    // Source of the play list, one group: exactly one is down.
    ButtonState SpeedButtonLst0, SpeedButtonLst1, SpeedButtonLst2;
    // Play order, one group.
    ButtonState SpeedButtonNor, SpeedButtonNew, SpeedButtonRnd;
    LabelState PanelNumber, PanelNumberAll; // playing entry (1-based) and number of entries
    ButtonState SpeedButtonBak, SpeedButtonNxt, SpeedButtonSelect, SpeedButtonClose;

    int PageIndex = kPlayPage;
    // The list font (FONTNAME, FONTSIZE): play list, list pages' titles and title boxes, search
    // results and keyword box.
    FontChoice ListFont;
    bool ShowHint = true;

    // The MIDI selector's copy of the six source and order buttons follows each change.
    std::function<void()> MirrorModeButtons;

    // ---- Play page -----------------------------------------------------------------------
    // ListBoxTitle shows the entry texts; ListBoxPathT, ListBoxVolT and ListBoxFeelT are the
    // hidden columns beside it.
    PlayList ListBoxTitle;
    int ListBoxTitleItemIndex = -1; // the selected entry, -1 for none
    // Painted in the window colour while it holds a play list, in the button face otherwise.
    bool ListBoxTitleWindowColor = false;
    // The work list of raw list lines the play list is built from.
    std::vector<std::string> ListBoxTmpT;
    ButtonState SpeedButtonTxt, SpeedButtonDoc, SpeedButtonHed, SpeedButtonJump;
    // Opens the lyrics window; enabled while a song with lyrics plays.
    ButtonState SpeedButtonLyrics;
    // Opens the part display.
    ButtonState SpeedButtonParts;
    // The auto-close indicator's hint; it shows yellow while it runs, aqua while paused.
    LabelState PanelClose;

    // ---- The other pages -----------------------------------------------------------------
    ListPage Page0, Page1;
    SearchPage Search;
    AlbumPage Album;

    MidiListSource Source() const;
    MidiOrder Order() const;

    // Source and order buttons from the settings LISTSELEC and MODESELEC (another value
    // leaves List 0 and Nor down), the start folders, the list font, size and position.
    void FormCreate();
    // The same from the one read of the settings at the start.
    void FormCreate(const IniSnapshot& settings);
    // Never narrower than 246; a height below 331 becomes 347.
    void FormResize();
    // Auto-close starts from its full period when the option is on.
    void FormShow();
    // The window hides: auto-close stops, the reader goes too.
    void FormClose();
    // The user turned to page `page`.
    void PageControl1Change(int page);
    void TimerCloseTimer();

    // Last of the window's creation (form_view_create.cpp), once every window has its place:
    // with the setup option MIDISTART on, the main window switches to MIDI mode and the
    // announcement shows at start-up.
    void StartInChosenMode();

    // Presses one button of a group (the others come up) and runs the group's click.
    void ChooseSource(MidiListSource source);
    void ChooseOrder(MidiOrder order);
    // Shared by the six source and order buttons: the main window's mode label follows.
    // A playing list keeps its order; the choice applies at the next start.
    void SpeedButtonLst0Click();
    // The main window's LabelMidiMode: "NOR", "NEW" or "RND" and "0", "1" or "2".
    void ShowModeLabel();

    void SpeedButtonBakClick();
    void SpeedButtonNxtClick();
    // Also the play list's double-click: the selected entry plays next.
    void SpeedButtonSelectClick();
    void SpeedButtonCloseClick();
    // ▲, ▼ and Select follow the player and the play list's selection: each is live exactly
    // when its click would act. Called by the player after each change of its state.
    void FollowPlayer();
    // Selects an entry (-1 for none) and enables the jump button.
    void ListBoxTitleClick(int index);
    // The play list's double-click: select the entry and play it next.
    void ListBoxTitleDblClick(int index);
    // The documents of the playing entry.
    void SpeedButtonTxtClick();
    void SpeedButtonDocClick();
    void SpeedButtonHedClick();
    void SpeedButtonLyricsClick();
    void SpeedButtonPartsClick();
    // Finds the selected play-list entry's title in List 0, then List 1, and shows it there.
    void SpeedButtonJumpClick();
    // With the setup's viewer set, starts it with the path as its one argument; otherwise the
    // reader shows the document.
    void OpenDocument(const std::string& path) override;
    // The documents of a song that starts playing: the buttons follow what exists, and a
    // showing reader turns to the song's first document.
    void ShowSongDocuments(const std::string& songPath);

    // ---- MidiPagesHost -------------------------------------------------------------------
    void PlayLines(const std::vector<std::string>& lines, bool shuffleUnderRnd) override;
    bool ReaderShowing() const override;
    void ShowProgressCaption(const std::string& caption) override;
    void RestoreCaption() override;
    void AddToAlbum(const std::vector<std::string>& lines) override;
    std::string StartFolder(int list) const override;
    ListPage& Page(int list) override { return list == 1 ? Page1 : Page0; }
    void ShowPage(int page) override;
    void ShowAuthorMessage() override;

    // Empties the play list, its selection and the number panels.
    void ClearPlayList();

  private:
    const MidiControlPeers& peers() const { return *peers_; }
    void OpenPlayingDocument(const char* extension);

    std::optional<MidiControlPeers> peers_;
    Ports ports_;
    std::optional<std::chrono::system_clock::time_point> lastProgressPaint_;
};

} // namespace tobira
