#pragma once

#include "app/controls_state.h"
#include "app/form_model.h"
#include "midi/list_messages.h"
#include "midi/play_list.h"
#include "midi/play_list_builder.h"
#include "text/cp932_convert.h"

#include <string>
#include <vector>

namespace tobira {

class FormSet;

// The MIDI control window: the play list, the two song lists, search and albums.
//
// The play page holds the play list the main window plays; the main window's MIDI player
// fills it, selects the playing entry and sets the number panels and document buttons.
class TFormView final : public FormModel {
  public:
    // The pages, in tab order.
    static constexpr int kPlayPage = 0;
    static constexpr int kList0Page = 1;
    static constexpr int kList1Page = 2;
    static constexpr int kSearchPage = 3;
    static constexpr int kAlbumPage = 4;

    TFormView();

    // The other windows. Set once by the window set before any handler runs.
    void SetForms(FormSet& forms) { forms_ = &forms; }

    // Source of the play list, one group: exactly one is down.
    ButtonState SpeedButtonLst0, SpeedButtonLst1, SpeedButtonLst2;
    // Play order, one group.
    ButtonState SpeedButtonNor, SpeedButtonNew, SpeedButtonRnd;
    LabelState PanelNumber, PanelNumberAll; // playing entry (1-based) and number of entries
    ButtonState SpeedButtonBak, SpeedButtonNxt, SpeedButtonSelect, SpeedButtonClose;

    int PageIndex = kPlayPage;
    // The font of the play list, the list pages' titles and edit boxes, the search results and
    // the keyword box; an empty name keeps the view's own.
    FontChoice ListFont{"", 10};

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

    MidiListSource Source() const;
    MidiOrder Order() const;

    // Source and order buttons from the settings LISTSELEC and MODESELEC; another value
    // leaves List 0 and Nor down.
    void FormCreate();

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
    // Selects an entry (-1 for none) and enables the jump button.
    void ListBoxTitleClick(int index);

    // Empties the play list, its selection and the number panels.
    void ClearPlayList();

  private:
    FormSet& forms() const { return *forms_; }

    FormSet* forms_ = nullptr;
};

} // namespace tobira
