// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The UI thread's wait for a read on a worker thread. While it lasts, a model is in the middle
// of a handler: nothing may enter the models. Those that would enter hold back while it waits:
// the view hub skips handlers (timer ticks), the windows refuse to close, and the ports' wakes
// stay raised until it ends. The program owns the one wait and hands it to each of them.

#include <functional>

namespace tobira {

class WorkerWait final {
  public:
    WorkerWait() = default;
    WorkerWait(const WorkerWait&) = delete;
    WorkerWait& operator=(const WorkerWait&) = delete;

    // Runs `work` on a worker thread under the busy cursor and returns when it is done, throwing
    // what it threw. Meanwhile the UI thread keeps the windows painted; input and socket
    // notifiers wait for the end. UI thread only, as all of this class.
    void run(const std::function<void()>& work);

    // Whether the UI thread is in run().
    bool waiting() const { return waits_ > 0; }

  private:
    int waits_ = 0;
};

} // namespace tobira
