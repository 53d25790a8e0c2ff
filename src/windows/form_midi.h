// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/data_paths.h"
#include "forms/controls_state.h"
#include "forms/form_model.h"
#include "windows/album_entry.h"
#include "ports/ports.h"

#include <string>
#include <vector>

namespace tobira {

class IniSnapshot;

class TFormMain;
class TFormView;
class TFormMsg;
enum class MouseButton;

// The MIDI selector: starts play of the song lists, of a registered folder or of an album.
//
// The six source and order buttons mirror the MIDI control window's. The folder list holds the
// registered folders (MIDIFLD00 .. MIDIFLD39) and the albums of the program folder, marked with
// kAlbumMarker, sorted together.
class TFormMidi final : public FormModel {
  public:
    static constexpr int kMinWidth = 280;
    static constexpr int kMinHeight = 178;
    static constexpr int kDefaultHeight = 194;

    TFormMidi(Ports ports, const DataPaths& paths, TFormMain& main, TFormView& view, TFormMsg& msg);

    ButtonState SpeedButtonLst0, SpeedButtonLst1, SpeedButtonLst2;
    ButtonState SpeedButtonNor, SpeedButtonNew, SpeedButtonRnd;
    ButtonState BitBtnStart, SpeedButtonAdd, SpeedButtonDel, SpeedButtonStart, SpeedButtonClose;
    std::vector<std::string> ListBoxFolder; // code page 932, kept sorted
    int ListBoxFolderItemIndex = -1;
    std::string ListBoxFolderHint, Image1Hint;
    // The folder chosen last in a browse dialog during this run; its first text names none.
    std::string LabelMemory = "LabelMemory";
    bool ShowHint = true;

    // Geometry from the settings, then the six buttons from the control window.
    void FormCreate();
    // The same from the one read of the settings at the start.
    void FormCreate(const IniSnapshot& settings);
    void FormShow();
    // Each time the window becomes active: the folders and albums afresh.
    void FormActivate();
    // After the user resized the window: never narrower than 280, and a height below 178
    // becomes 194.
    void FormResize();
    // Writes the geometry keys; every closing runs it.
    void FormClose();
    // Hides the window and runs FormClose (the close box, "Close", and the ends of play).
    void Close();

    void LoadFolderList();
    void LoadAlbumNames();
    // All forty folder keys: the registered folders in list order, then empty ones. Throws
    // SettingsWriteError.
    void SaveFolderList();

    // Shared by the six source and order buttons: the control window's buttons follow.
    void SpeedButtonLst0Click();
    // A click on a source (0..2) or order (0..2) button: it alone of its group is pressed.
    void PressSource(int index);
    void PressOrder(int index);
    // The control window's six buttons, into these (the other direction of the mirror).
    void CopyButtonsFrom(const TFormView& view);

    void BitBtnStartClick();
    void ListBoxFolderClick(int index);
    void SpeedButtonAddClick();
    void SpeedButtonAddMouseDown(MouseButton button);
    // Also the double click on the list.
    void SpeedButtonStartClick();
    void SpeedButtonDelClick();
    void SpeedButtonCloseClick();
    void Image1Click();

    // Appends every MIDI file of the folder to the play list, in file-name order. A folder
    // that cannot be read appends nothing.
    // Why the folder cannot be read, as a line to add to the no-songs message ("\n" and the
    // folder's own message); empty when it was read. What the scan left out is told here.
    std::string AppendFolderSongs(const std::string& folder);

  private:
    int FolderCount() const;
    void SaveFolderListReporting();
    // Fills the play list from an album; false (with the album message shown) when it cannot.
    bool LoadAlbum(const std::string& name);
    void StartOrReport(const std::string& emptyMessage);

    Ports ports_;
    const DataPaths& paths_;
    TFormMain& main_;
    TFormView& view_;
    TFormMsg& msg_;
};

} // namespace tobira
