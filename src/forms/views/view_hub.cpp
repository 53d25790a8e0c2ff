// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/views/view_hub.h"

#include "forms/views/error_report.h"
#include "forms/views/form_widget.h"
#include "forms/views/worker_wait.h"

#include <exception>

namespace tobira {

void ViewHub::refreshAll() {
    for (FormWidget* view : views_) {
        if (view->needsRender())
            view->render();
        else
            view->keepTimersInStep();
    }
    // A watcher may remove itself while it is told.
    const auto watchers = watchers_;
    for (const auto& [key, watcher] : watchers)
        watcher();
}

void ViewHub::dispatch(const std::function<void()>& handler) {
    // A handler waits for a worker: this one (a timer's tick) is skipped, as a busy program
    // skips it.
    if (wait_.waiting())
        return;
    try {
        handler();
    } catch (const std::exception& error) {
        refreshAll();
        ReportUncaughtError(error);
    } catch (...) {
        refreshAll();
        ReportUncaughtError();
    }
    refreshAll();
}

int ViewHub::addWatcher(std::function<void()> watcher) {
    watchers_.emplace(nextKey_, std::move(watcher));
    return nextKey_++;
}

} // namespace tobira
