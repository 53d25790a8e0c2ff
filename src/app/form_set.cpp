#include "app/form_set.h"

namespace tobira {

FormSet::FormSet(Ports ports, DataPaths paths, MediaDevices devices)
    : FormMain(ports, std::move(paths), devices), ports_(ports) {}

void FormSet::CreateAll() {
    FormMain.FormCreate();
    // Windows without stored positions open centred on the screen.
    const ScreenSize screen = ports_.screen.screenSize();
    FormModel* sideWindows[] = {&FormSetUp, &FormList, &FormManage, &FormMsg,   &FormPattern,
                                &FormMode,  &FormView, &FormMidi,   &FormReader};
    for (FormModel* form : sideWindows)
        form->CentreOn(screen);
}

} // namespace tobira
