// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/controls_state.h"
#include "forms/form_model.h"
#include "settings/setup_options.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tobira {

class IniSnapshot;

class SetupDevices;
class TFormMain;
class TFormMsg;
class TFormReader;
class TFormView;

// The windows whose look the setup options change at once.
struct SetupPeers {
    TFormMain& Main;
    TFormView& View;
    TFormReader& Reader;
    TFormMsg& Msg;
};

// The settings window: options, volume ranges, applause, reset songs, list font and viewer.
//
// Its controls are the program's live options: the other windows read them as SetupOptions,
// never the file. Check boxes and the button groups are ButtonStates (Down = checked or pressed).
class TFormSetUp final : public FormModel, public SetupOptionsSource {
  public:
    static constexpr int kRangeButtons = 5; // "1" (大, widest) .. "5" (小, narrowest)
    static constexpr int kLiveButtons = 3;  // "100%", "70%", "50%"
    static constexpr int kCloseTimeMin = 5;
    static constexpr int kCloseTimeMax = 180;
    static constexpr int kCloseTimeLargeStep = 10;
    static constexpr int kResetItems = 4; // "Non", "GM", "GS", "88_1"

    // The options are read from, and saved to, the settings file at `settingsPath`.
    TFormSetUp(Ports ports, std::string settingsPath);

    // The other windows its options act on at once. Set once by the window set before any
    // handler runs.
    void SetPeers(const SetupPeers& peers) { peers_.emplace(peers); }
    // The SoundFont check and the CD drive list. Without them the two rows stay disabled.
    void SetDevices(SetupDevices& devices);

    ButtonState CheckBoxHint;     // SHOWHINTS
    ButtonState CheckBoxTime;     // REMAINTIM
    ButtonState CheckBoxWithOpen; // WITHPLAYS
    ButtonState CheckBoxAutoPlay; // AUTOPLAYS
    ButtonState CheckBoxVolCont;  // VOLUMCONT
    // SpeedButtonRatio1 .. SpeedButtonRatio5 at [1] .. [5]; [0] is unused. VOLUMRATO.
    std::array<ButtonState, kRangeButtons + 1> SpeedButtonRatio;
    ButtonState CheckBoxMidiVolCont; // VOLUMMIDI
    // SpeedButtonM1 .. SpeedButtonM5 at [1] .. [5]. VOLUMRATI.
    std::array<ButtonState, kRangeButtons + 1> SpeedButtonM;
    ButtonState CheckBoxClose; // AUTOCLOSE
    int ScrollBarClose = 30;   // CLOSETIME, seconds
    // SpeedButtonLive1 .. SpeedButtonLive3 at [1] .. [3]. LIVERATIO.
    std::array<ButtonState, kLiveButtons + 1> SpeedButtonLive;
    std::string PanelLiveHint;
    int RadioGroupReset = 1; // MIDIRESET: index of "Non", "GM", "GS", "88_1"
    std::string RadioGroupResetHint;
    ButtonState CheckBoxMidi;  // MIDISTART
    std::string EditTool;      // VIEWERTOL, code page 932
    std::string PanelFontName; // FONTNAME, code page 932
    std::string PanelFontSize; // FONTSIZE, whole points as text
    std::string PanelClose;    // ScrollBarClose's value in decimal

    // LYRICLINE: a karaoke song's line takes the title's place in the main window.
    ButtonState CheckBoxLyricLine;

    // LOOPCOUNT, LOOPFADES: a game song's loop played again 1..9 times, then faded out over
    // 0..10 seconds; with the box off the song plays once. The lists are enabled with the box.
    static constexpr int kLoopRepeatsMax = 9;
    static constexpr int kLoopFadeMax = 10;
    ButtonState CheckBoxLoop;
    std::vector<std::string> ComboBoxLoopCountItems; // "1回" .. "9回"
    int ComboBoxLoopCountIndex = 0;                  // repeats - 1
    std::vector<std::string> ComboBoxLoopFadeItems;  // "0秒" .. "10秒"
    int ComboBoxLoopFadeIndex = 3;                   // seconds
    bool ComboBoxLoopEnabled = false;

    // SOUNDFONT: the synthesizer's SoundFont, empty for the standard one. Code page 932.
    std::string PanelSoundFont;
    ButtonState ButtonSoundFont, ButtonSoundFontStandard;
    // CDDEVICE: the drive or CUE image the CD side reads, empty for the first drive found.
    // The items are the drives found, the setting when it names something else, and last the
    // entry that opens the disc image chooser.
    std::vector<std::string> ComboBoxCdDeviceItems;
    int ComboBoxCdDeviceIndex = 0;
    bool ComboBoxCdDeviceEnabled = false;
    std::string CdDevice;
    // The device the CD side reads, which the row shows: the setting, unless TOBIRA_CDDEVICE
    // names an image for this run (the setting then stays as it is until the user chooses).
    std::string CdDeviceInUse;

    // MIDIOUT: the sequencer port of an external sound module, empty for the built-in
    // synthesizer. The items are the built-in synthesizer, the ports found, and the setting
    // when it names a port that is not there now.
    std::vector<std::string> ComboBoxMidiOutItems;
    int ComboBoxMidiOutIndex = 0;
    bool ComboBoxMidiOutEnabled = false;
    std::string MidiOut;

    ButtonState ButtonSave, ButtonClose, ButtonTool, ButtonFont, ButtonMixer, SpeedButton1;
    LabelState LabelProduct, LabelVersion;
    bool ShowHint = true; // the window's own hints follow the main window's switch
    // The mixer panel's own small window.
    bool MixerPanelVisible = false;
    // The font dialog shows the font chosen last in this run, not the saved one.
    FontChoice FontDialog1;

    // The value of each group: the number of its first pressed button; a group with none
    // pressed counts as 3 for the two ranges and 1 for the applause probability.
    int CdVolumeRange() const;
    int MidiVolumeRange() const;
    int LiveRatio() const;

    // The options as the controls show them now.
    SetupOptions CurrentOptions() const override;

    // Reads the options from the settings file (a missing file gives every default).
    void FormCreate();
    // The same from the one read of the settings at the start.
    void FormCreate(const IniSnapshot& settings);
    void LoadSetupSettings();
    void LoadSetupSettings(const IniSnapshot& file);

    // The setup save: the sixteen option keys in their fixed order, then SOUNDFONT, CDDEVICE
    // and MIDIOUT. Throws SettingsWriteError at the first key that cannot be written.
    void SaveSetupSettings();
    // Whether any control differs from the file; a missing key counts as its built-in value.
    bool SettingsChanged() const;
    // Asks about unsaved changes; false keeps the window open (Cancel, or a save that failed
    // and showed its message).
    bool FormCloseQuery();
    void FormShow();

    void ButtonSaveClick();
    // Hides the window when FormCloseQuery allows it; also the window's own close box.
    void ButtonCloseClick();

    // Check box clicks: the view sets Down to the box's new state first.
    void CheckBoxHintClick();
    void CheckBoxMidiClick();
    void CheckBoxVolContClick();
    void CheckBoxMidiVolContClick();
    void CheckBoxCloseClick();
    // Button groups: `number` is 1..5 (1..3 for the applause).
    void SpeedButtonRatio1Click(int number);
    void SpeedButtonM1Click(int number);
    void SpeedButtonLive1Click(int number);
    void RadioGroupResetClick(int index);
    void ScrollBarCloseChange(int value);
    void EditToolChange(std::string text);
    void ButtonToolClick();
    void ButtonFontClick();
    void ButtonSoundFontClick();
    // Back to the standard SoundFont, from the next song.
    void ButtonSoundFontStandardClick();
    // An item of the CD device list chosen; the last item asks for a disc image.
    void ComboBoxCdDeviceChange(int index);
    // An item of the MIDI output list chosen; it plays from the next song.
    void ComboBoxMidiOutChange(int index);
    // The loop play switched, or its count or fade chosen: from the next song on.
    void CheckBoxLoopClick();
    void ComboBoxLoopCountChange(int index);
    void ComboBoxLoopFadeChange(int index);
    void ButtonMixerClick();
    void MixerPanelClose();
    void SpeedButton1Click();

  private:
    std::string settingsPath_;
    const SetupPeers& peers() const { return *peers_; }
    void SetUpCaptions();
    void PaintVolumeText();
    void FillCdDeviceItems();
    void FillMidiOutItems();
    void ChooseCdDevice(std::string name);
    int LoopRepeats() const;
    void UseLoopSetting();

    Ports ports_;
    std::vector<std::string> cdDeviceValues_; // the device name behind each item
    std::vector<std::string> midiOutValues_;  // the port behind each item
    std::optional<SetupPeers> peers_;
    SetupDevices* devices_ = nullptr;
};

} // namespace tobira
