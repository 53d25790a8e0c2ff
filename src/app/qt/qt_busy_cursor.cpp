// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/qt_busy_cursor.h"

#include "forms/views/worker_wait.h"

#include <QApplication>
#include <QCursor>

namespace tobira {

void QtBusyCursor::beginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtBusyCursor::endBusy() {
    QApplication::restoreOverrideCursor();
}

void QtBusyCursor::runBusy(const std::function<void()>& work) {
    wait_.run(work);
}

} // namespace tobira
