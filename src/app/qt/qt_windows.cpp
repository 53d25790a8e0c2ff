// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/qt_windows.h"

#include "forms/views/view_state.h"
#include "text/cp932_convert.h"

namespace tobira {

int QtWindows::titleTextWidth(const std::string& cp932) {
    return titleMetrics_.textWidth ? titleMetrics_.textWidth(FromCp932(cp932)) : 0;
}

int QtWindows::titleLabelWidth() {
    return titleMetrics_.labelWidth ? titleMetrics_.labelWidth() : 0;
}

void QtWindows::repaintNow() {
    if (repaint_)
        repaint_();
}

void QtWindows::iconifyApplication() {
    if (windows_.iconify)
        windows_.iconify();
}

void QtWindows::closeMainWindow() {
    if (windows_.closeMain)
        windows_.closeMain();
}

void QtWindows::raiseMainWindow() {
    if (windows_.raiseMain)
        windows_.raiseMain();
}

void QtWindows::showModal(FormModel& form) {
    if (windows_.showModal)
        windows_.showModal(form);
}

} // namespace tobira
