// SPDX-License-Identifier: GPL-3.0-or-later
// The transport buttons in MIDI mode, and jumps within the playing list.
#include "player/form_main.h"

#include "midi_windows/form_view.h"
#include "text/cp932_convert.h"

namespace tobira {

void TFormMain::MidiPlayClick() {
    if (IsMidiPaused()) {
        SetPauseLamp(false);
        ports_.repaint.repaintNow();
        Devices.MIDI.play();
        peers().View.FollowPlayer();
        return;
    }
    TFormView& view = peers().View;
    if (IsMidiPlaying()) {
        view.FormShow();
        return;
    }
    LabelTIME.Visible = false;
    LabelPLAY.Caption = "00:00 PLAY";
    SetPlaying();
    LabelSTOP.Font = colors::Teal;
    OrderPosition = 0;
    // A reset song cut short by the last STOP must not count for this list's first entry.
    ResetDone = false;
    LabelMidiTitle.Caption = Utf8ToCp932("．． Ｍａｋｉｎｇ Ｍｕｓｉｃ Ｌｉｓｔ");
    SetMidiTitleLit(true);
    LabelMidiTitle.Visible = true;
    ports_.repaint.repaintNow();
    if (!LoadPlayList()) {
        MidiStopClick();
        return;
    }
    view.PageIndex = TFormView::kPlayPage;
    PlaySong();
    if (IsPlayingOnce() && options().OpenWithPlay)
        view.FormShow();
}

void TFormMain::MidiPauseClick() {
    const bool paused = IsMidiPaused();
    if (!paused && !IsMidiPlaying())
        return;
    TogglePause(Devices.MIDI, paused);
    peers().View.FollowPlayer();
}

void TFormMain::MidiStopClick() {
    LabelSTOP.Font = colors::Aqua;
    ports_.repaint.repaintNow();
    TFormView& view = peers().View;
    view.Hide();
    FollowSongLyrics(nullptr);
    view.ClearPlayList();
    view.ListBoxTitleWindowColor = false;
    MediaDevice& midi = Devices.MIDI;
    DeviceMode mode = DeviceMode::NotReady;
    try {
        mode = midi.mode();
    } catch (const DeviceError&) {
    }
    if (mode == DeviceMode::Playing || mode == DeviceMode::Paused) {
        try {
            midi.stop();
        } catch (const DeviceError&) {
        }
        try {
            midi.close();
        } catch (const DeviceError&) {
        }
    }
    LabelMidiTitle.Caption = Utf8ToCp932("★ MIDI mode (KANADE mode)");
    SetPauseLamp(false);
    SetPlayIdle();
    LabelPLAY.Caption = "00:00 PLAY";
    SpeedButtonPLAY.Hint.clear();
    if (Devices.WAVE.mode() == DeviceMode::Playing)
        Devices.WAVE.stop();
    view.FollowPlayer();
}

void TFormMain::MidiNextClick() {
    if (!IsMidiPlaying())
        return;
    if (OrderPosition < static_cast<int>(peers().View.ListBoxTitle.size()) - 1)
        MakeNextToPlay(OrderPosition + 1);
}

void TFormMain::MidiBackClick() {
    if (!IsMidiPlaying())
        return;
    // On the first entry it starts again from its beginning.
    MakeNextToPlay(OrderPosition >= 1 ? OrderPosition - 1 : 0);
}

void TFormMain::MakeNextToPlay(int entry) {
    if (IsPlayIdle())
        return;
    OrderPosition = entry - 1;
    ResetDone = false;
    MediaDevice& midi = Devices.MIDI;
    // The user's pause already ended its play request, so no notice will come from the stop:
    // the jump goes ahead at once.
    const bool pausedByUser = IsMidiPaused();
    try {
        midi.stop();
    } catch (const DeviceError&) {
    }
    if (pausedByUser) {
        SetPauseLamp(false);
        MIDINotify(NotifyValue::Aborted);
    }
}

} // namespace tobira
