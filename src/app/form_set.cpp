#include "app/form_set.h"

namespace tobira {

FormSet::FormSet(Ports ports, DataPaths paths, MediaDevices devices, TCustomMixerCtrl& mixer)
    : FormMain(ports, std::move(paths), devices, mixer), FormSetUp(ports), FormManage(ports),
      FormPattern(ports), FormMidi(ports, FormMain.Paths, FormMain, FormView, FormMsg),
      ports_(ports) {
    FormMain.SetForms(*this);
    FormManage.SetForms(*this);
    FormPattern.SetForms(*this);
    FormSetUp.SetForms(*this);
    FormView.SetForms(*this);
    FormList.SetForms(*this, ports_);
}

void FormSet::CreateAll() {
    FormMain.FormCreate();
    FormSetUp.FormCreate();
    FormView.FormCreate();
    // Windows without stored positions open centred on the screen.
    const ScreenSize screen = ports_.screen.screenSize();
    FormModel* sideWindows[] = {&FormSetUp, &FormList, &FormManage, &FormMsg,   &FormPattern,
                                &FormMode,  &FormView, &FormMidi,   &FormReader};
    for (FormModel* form : sideWindows)
        form->CentreOn(screen);
    FormList.FormCreate();
    FormMidi.FormCreate();
    // The control window's creation ends with the start in MIDI mode; it comes after the
    // placing above so that the announcement stays beside the main window.
    FormView.StartInChosenMode();
}

} // namespace tobira
