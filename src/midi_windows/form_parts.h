// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/controls_state.h"
#include "forms/form_model.h"
#include "media/midi/midi_synthesizer.h"
#include "ports/ports.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace tobira {

class IniSnapshot;
class MidiDevice;

// The part display: the sixteen parts of the built-in synthesizer as the song has set them
// (instrument, level meter, mute and solo), and the sound module's mode, master volume and
// effect types. Mute and solo act on the sound at once and last until the song ends; for a
// karaoke song "melody off" mutes the part its lyrics follow, or the part the user picks.
class TFormParts final : public FormModel {
  public:
    static constexpr int kParts = 16;
    // The meters' tick: at most 30 redraws a second.
    static constexpr int kTickMs = 34;
    // Lit segments of a meter at full scale, 5 dB each.
    static constexpr int kMeterSegments = 12;
    static constexpr int kDefaultWidth = 480;
    static constexpr int kDefaultHeight = 420;

    // `synth` is the built-in synthesizer; without it the display stays empty.
    TFormParts(ScreenPort& screen, std::string settingsPath, MidiDevice* synth);

    struct PartRow {
        LabelState LabelPart;       // the number; a click picks it as the melody part
        LabelState LabelInstrument; // bank:program and preset name, or the drum kit
        int Meter = 0;              // lit segments
        ButtonState SpeedButtonMute, SpeedButtonSolo;
    };
    std::array<PartRow, kParts> Parts;
    LabelState LabelMode, LabelMaster, LabelReverb, LabelChorus;
    ButtonState SpeedButtonMelody;
    bool TimerPartsEnabled = false;

    // Position from the settings file; a stored position off the screen centres it. The main
    // window saves it with its own.
    void FormCreate();
    void FormCreate(const IniSnapshot& settings);
    // The window shows or hides: the meters run only while it shows.
    void FormShow();
    void FormHide();

    // A song (not a reset song) has started: mute and solo start afresh; a karaoke song (one
    // with lyrics) offers "melody off".
    void SongStarted(const std::string& cp932Path, bool karaoke);
    // The song is gone: nothing silenced.
    void SongEnded();

    void SpeedButtonMuteClick(int part);
    void SpeedButtonSoloClick(int part);
    void SpeedButtonMelodyClick();
    void LabelPartClick(int part);

    // Follows the synthesizer: instruments, levels, the module. Whether anything shown changed
    // (the view redraws only then).
    bool TimerPartsTimer();

    int MelodyPart() const { return melodyPart_; }

  private:
    void applySilence();
    void showMelody();
    std::string instrumentText(int part) const;
    void loadPresetNames();

    ScreenPort& screen_;
    std::string settingsPath_;
    MidiDevice* synth_;
    int melodyPart_ = -1;
    std::map<SynthPreset, std::string> presetNames_;
    std::filesystem::path namesOf_;
    std::array<int, kParts> shownPreset_{};
    ModuleStatus shownModule_{};
    bool moduleShown_ = false;
};

} // namespace tobira
