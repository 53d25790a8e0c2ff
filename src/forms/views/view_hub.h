// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <vector>

namespace tobira {

class FormWidget;
class WorkerWait;

// Every window view. After any event reaches the core (a click, a tick, a device notice) all
// shown views draw their models again, since a handler of one window may change another. Watchers
// that are no views (the desktop's remote control) learn of each such change after the views.
class ViewHub final {
  public:
    // Handlers wait while `wait` does.
    explicit ViewHub(WorkerWait& wait) : wait_(wait) {}

    // The UI thread's one wait for a worker, for the views that wait or hold back.
    WorkerWait& workerWait() const { return wait_; }

    void add(FormWidget* view) { views_.push_back(view); }
    void refreshAll();

    // Runs a model handler as a click would: an error it raises goes to the error report, and
    // every view draws the result.
    void dispatch(const std::function<void()>& handler);

    // Returns a key for removeWatcher.
    int addWatcher(std::function<void()> watcher);
    void removeWatcher(int key) { watchers_.erase(key); }

  private:
    WorkerWait& wait_;
    std::vector<FormWidget*> views_;
    std::map<int, std::function<void()>> watchers_;
    int nextKey_ = 0;
};

} // namespace tobira
