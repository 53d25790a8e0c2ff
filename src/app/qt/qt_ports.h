// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ports on Qt, one object per job. The program hands them to the models as Ports, each
// named by its port.

#include "app/qt/qt_busy_cursor.h"
#include "app/qt/qt_dialogs.h"
#include "app/qt/qt_event_loop.h"
#include "app/qt/qt_system.h"
#include "app/qt/qt_windows.h"

namespace tobira {

class WorkerWait;

struct QtPorts {
    // Long reads wait in `wait`, and the wakes hold back while they do.
    explicit QtPorts(WorkerWait& wait) : busy(wait), eventLoop(wait) {}

    QtDialogs dialogs;
    QtBusyCursor busy;
    QtSystem system;
    QtEventLoop eventLoop;
    QtWindows windows;
};

} // namespace tobira
