// SPDX-License-Identifier: GPL-3.0-or-later
// The end of the control window's creation: the program may start in MIDI mode.
#include "midi_windows/form_view.h"

#include "player/form_main.h"
#include "windows/form_msg.h"
#include "windows/form_reader.h"

namespace tobira {

void TFormView::StartInChosenMode() {
    if (peers().Options.CurrentOptions().MidiStart)
        peers().Main.SwitchPlayerMode();
}

} // namespace tobira
