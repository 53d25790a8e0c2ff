// SPDX-License-Identifier: GPL-3.0-or-later
// The transport buttons and their lamps. Each left click goes to the side of the current
// player mode; the MIDI side's are in form_main_midi_transport.cpp.
#include "player/form_main.h"

#include "cd_windows/form_list.h"
#include "cd_windows/form_pattern.h"
#include "player/play_modes.h"
#include "text/cp932_convert.h"

namespace tobira {
namespace {

constexpr int kSelectorGap = 15;

} // namespace

// ---- PLAY ------------------------------------------------------------------------------------

void TFormMain::SpeedButtonPLAYClick() {
    if (PlayerMode == PlayerModeKind::MIDI) {
        MidiPlayClick();
        return;
    }
    TFormList& list = peers().List;
    if (IsCdPlaying()) {
        list.Show();
        return;
    }
    if (IsCdPaused()) {
        SetPauseLamp(false);
        ports_.repaint.repaintNow();
        Devices.CD.play();
        return;
    }
    if (!DiscInfoRead)
        return;

    BuildPlayOrder();
    list.ShowModeDisplay(PlayModeIndex());
    if (PlayModeIndex() == kProgramMode) {
        // The program is composed in the track control window, which starts it.
        list.LabelORG.Caption = "Original Track";
        list.LabelDST.Caption = "Edit Track";
        ports_.repaint.repaintNow();
        list.Show();
    } else if (!list.EntryEmpty(1)) {
        LabelTIME.Visible = false;
        LabelSTOP.Caption = "STOP";
        LabelSTOP.Font = colors::Teal;
        SetPlaying();
        ports_.repaint.repaintNow();
        OrderPosition = 1;
        StartTrack(list.EntryTrack(1));
        if (options().OpenWithPlay)
            list.Show();
    }

    if (options().CdVolumeControl)
        SetCdVolume(IsMuted() ? 0 : VolumeLevel() * 10);
    SetWaveVolume(ProgressBarWave * 10);
}

void TFormMain::SpeedButtonPLAYMouseDown(MouseButton button) {
    if (button != MouseButton::Right)
        return;
    if (PlayerMode == PlayerModeKind::MIDI) {
        if (!IsMidiPlaying() && !IsMidiPaused())
            ports_.windows.showModal(peers().Midi);
        return;
    }
    if (IsCdPlaying()) {
        ToggleRepeat();
        return;
    }
    if (IsCdPaused() || !DiscInfoRead)
        return;
    LoadDiscPatterns();
    const PlayMode& program = kPlayModes[kProgramMode];
    LabelPlayMode.Caption = std::string(program.code);
    LabelPlayMode.Hint = Utf8ToCp932(program.hint);

    // Next to the main window: above it in the lower half of the screen, else below it.
    TFormPattern& selector = peers().Pattern;
    const ScreenSize screen = ports_.screen.screenSize();
    selector.Top = 2 * Top >= screen.height ? Top - selector.Height - kSelectorGap
                                            : Top + Height + kSelectorGap;
    selector.Left = Left;
    selector.FormShow();
    ports_.windows.showModal(selector);
}

// ---- PAUSE -----------------------------------------------------------------------------------

void TFormMain::SpeedButtonPAUSEClick() {
    if (PlayerMode == PlayerModeKind::MIDI) {
        MidiPauseClick();
        return;
    }
    const bool paused = IsCdPaused();
    if (!paused && !IsCdPlaying())
        return;
    TogglePause(Devices.CD, paused);
}

void TFormMain::TogglePause(MediaDevice& player, bool paused) {
    // The lamp first: a MIDI pause's own completion notice must find the user's pause.
    SetPauseLamp(!paused);
    ports_.repaint.repaintNow();
    MediaDevice& wave = Devices.WAVE;
    if (paused) {
        player.play();
        if (wave.mode() == DeviceMode::Paused)
            wave.play();
    } else {
        player.pause();
        if (wave.mode() == DeviceMode::Playing)
            wave.pause();
    }
}

// ---- STOP ------------------------------------------------------------------------------------

void TFormMain::SpeedButtonSTOPClick() {
    if (PlayerMode == PlayerModeKind::MIDI) {
        MidiStopClick();
        return;
    }
    const DeviceMode mode = Devices.CD.mode();
    if (mode != DeviceMode::Open && (mode != DeviceMode::Stopped || IsCdPaused())) {
        StopCd();
        return;
    }
    // Stopped (and not paused), or no disc: eject.
    BeginStop();
    if (mode == DeviceMode::Stopped) {
        if (PlayModeIndex() == kProgramMode)
            ResetCD();
        Devices.CD.eject();
        DiscInfoRead = false;
        LabelSTOP.Caption = "EJECT";
        LabelTotalMUSIC.Hint = TotalTimeText;
        return;
    }
    Devices.CD.eject();
    DiscInfoRead = false;
}

void TFormMain::BeginStop() {
    LabelSTOP.Font = colors::Aqua;
    ports_.repaint.repaintNow();
    TFormList& list = peers().List;
    list.ClearPatternSelection();
    if (list.SpeedButtonMON.Down)
        list.ClearHighlights();
    else
        list.Hide();
}

void TFormMain::StopCd() {
    BeginStop();
    SetStopLamps();
    ResetCD();
    if (PlayModeIndex() == kProgramMode)
        peers().List.SpeedButtonMON.Font = colors::Black;
    if (Devices.WAVE.mode() == DeviceMode::Playing)
        Devices.WAVE.stop();
}

// ---- BACK and NEXT ---------------------------------------------------------------------------

void TFormMain::SpeedButtonBAKClick() {
    if (PlayerMode == PlayerModeKind::MIDI) {
        MidiBackClick();
        return;
    }
    // Only while playing with repeat off.
    if (!IsPlayingOnce() || IsCdPaused())
        return;
    ports_.repaint.repaintNow();
    if (OrderPosition < 2) {
        Devices.CD.previous();
    } else {
        --OrderPosition;
        StartTrack(peers().List.EntryTrack(OrderPosition));
        RefreshTrackMarks();
    }
    PlayApplause();
}

void TFormMain::SpeedButtonNXTClick() {
    if (PlayerMode == PlayerModeKind::MIDI) {
        MidiNextClick();
        return;
    }
    if (!IsPlayingOnce() || IsCdPaused())
        return;
    ports_.repaint.repaintNow();
    TFormList& list = peers().List;
    if (list.EntryEmpty(OrderPosition + 1))
        return;
    ++OrderPosition;
    StartTrack(list.EntryTrack(OrderPosition));
    RefreshTrackMarks();
    PlayApplause();
}

void TFormMain::SpeedButtonBAKMouseDown(MouseButton button) {
    if (button == MouseButton::Right)
        SwitchPlayerMode();
    else if (button == MouseButton::Left && IsCdPlaying())
        LabelBAK.Font = colors::Aqua;
}

void TFormMain::SpeedButtonBAKMouseUp(MouseButton) {
    LabelBAK.Font = colors::Teal;
}

void TFormMain::SpeedButtonNXTMouseDown(MouseButton button) {
    if (button == MouseButton::Right)
        ToggleLive();
    else if (button == MouseButton::Left && IsCdPlaying())
        LabelNXT.Font = colors::Aqua;
}

void TFormMain::SpeedButtonNXTMouseUp(MouseButton) {
    LabelNXT.Font = colors::Teal;
}

// ---- One-way and endless ---------------------------------------------------------------------

void TFormMain::PanelPOWClick() {
    if (EndlessPlay()) {
        SetEndless(false);
        PanelPOW.Hint = Utf8ToCp932("ワンウェイプレイ");
    } else {
        SetEndless(true);
        PanelPOW.Hint = Utf8ToCp932("エンドレスプレイ");
    }
}

} // namespace tobira
