#pragma once

#include "forms/controls_state.h"
#include "forms/form_model.h"
#include "windows/setup_options.h"

#include <array>
#include <string>

namespace tobira {

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
    explicit TFormSetUp(std::string settingsPath);

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

    // The value of each group: the number of its first pressed button; a group with none
    // pressed counts as 3 for the two ranges and 1 for the applause probability.
    int CdVolumeRange() const;
    int MidiVolumeRange() const;
    int LiveRatio() const;

    // The options as the controls show them now.
    SetupOptions CurrentOptions() const override;

    // Reads the options from the settings file (a missing file gives every default).
    void FormCreate();
    void LoadSetupSettings();

  private:
    std::string settingsPath_;
};

} // namespace tobira
