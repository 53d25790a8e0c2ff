// The end of the control window's creation: the program may start in MIDI mode.
#include "midi/form_view.h"

#include "app/form_set.h"

namespace tobira {

void TFormView::StartInChosenMode() {
    if (forms().FormSetUp.CheckBoxMidi.Down)
        forms().FormMain.SwitchPlayerMode();
}

} // namespace tobira
