// SPDX-License-Identifier: GPL-3.0-or-later
// The switch between the CD player and the MIDI player: the old player stops and lets its device
// go, the strip is dressed for the new one, and the announcement shows beside the window.
#include "player/form_main.h"

#include "cd_windows/form_list.h"
#include "player/form_mode.h"
#include "midi_windows/form_view.h"
#include "forms/two_digits.h"
#include "text/cp932_convert.h"

namespace tobira {
namespace {

void closeIgnoringErrors(MediaDevice& device) {
    try {
        device.close();
    } catch (const DeviceError&) {
    }
}

void releaseIgnoringErrors(MediaDevice& device) {
    try {
        device.release();
    } catch (const DeviceError&) {
    }
}

} // namespace

void TFormMain::SwitchPlayerMode() {
    TFormMode& announcement = peers().Mode;
    std::string text;
    Color colour;
    if (PlayerMode == PlayerModeKind::MIDI) {
        if (IsMidiPlaying() || IsMidiPaused())
            SpeedButtonSTOPClick();
        // The synthesizer's instruments are large: CD mode does without them.
        releaseIgnoringErrors(Devices.MIDI);
        // A drive held by another program throws here: the error goes to the event loop and the
        // player stays in MIDI mode.
        OpenCdDevice();
        ImageLogoIsMidi = false;
        PlayerMode = PlayerModeKind::CD;
        // The drive may still be reading the table of contents; the disc read before the switch
        // is still the one the player holds then. No disc counts "00" until the tick's no-disc
        // display empties it.
        const int reported = Devices.CD.tracks();
        const int tracks = reported > 0 ? reported : DiscInfoRead ? TrackCount : 0;
        LabelTotalMUSIC.Caption = TwoDigits(tracks);
        for (LabelState* label : {&LabelPlayMode, &LabelTotalMUSIC, &LabelTIME})
            label->Visible = true;
        for (LabelState& mark : LabelMarks)
            mark.Visible = true;
        LabelSTOP.Caption = "STOP";
        LabelSTOP.Font = colors::Aqua;
        LabelMidiMode.Visible = false;
        LabelMidiTitle.Visible = false;
        peers().View.Hide();
        text = "MIDI >> CD";
        colour = colors::Aqua;
    } else {
        if (IsCdPlaying() || IsCdPaused())
            SpeedButtonSTOPClick();
        closeIgnoringErrors(Devices.CD);
        // The SoundFont loads while the user picks a song, so that PLAY sounds at once.
        Devices.MIDI.prepare();
        // The CD is not watched in MIDI mode: a "NO DISC" lamp would stay lit there for good.
        LabelPLAY.Caption = "00:00 PLAY";
        SetPlayIdle();
        SetPauseLamp(false);
        ImageLogoIsMidi = true;
        PlayerMode = PlayerModeKind::MIDI;
        for (LabelState* label : {&LabelPlayMode, &LabelTotalMUSIC, &LabelTIME})
            label->Visible = false;
        peers().List.Hide();
        for (LabelState& mark : LabelMarks)
            mark.Visible = false;
        LabelSTOP.Caption = "STOP";
        LabelSTOP.Font = colors::Aqua;
        // The MIDI player was stopped when the CD player took over, so its title is the idle one.
        if (!IsMidiPlaying() && !IsMidiPaused())
            LabelMidiTitle.Caption = Utf8ToCp932("★ MIDI mode (KANADE mode)");
        LabelMidiMode.Visible = true;
        LabelMidiTitle.Visible = true;
        SetMidiTitleLit(true);
        peers().View.ShowModeLabel();
        text = "CD >> MIDI";
        colour = colors::Yellow;
    }
    announcement.SetPlayerMode(PlayerMode);
    announcement.Announce(text, colour, *this, ports_.screen.screenSize());
}

} // namespace tobira
