// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ports.h"

#include <functional>
#include <memory>

namespace tobira {

class WorkerWait;

// Tasks that other threads hand to the UI thread, run by Qt's event loop.
class QtEventLoop final : public UiPostPort {
  public:
    // Wakes stay raised while `wait` waits for a worker, and run after it.
    explicit QtEventLoop(const WorkerWait& wait) : wait_(wait) {}

    // An eventfd read by a socket notifier on the event loop: a raise is one write(2); each run
    // is followed by `afterTask` (the views redraw).
    std::unique_ptr<UiWake> makeWake(std::function<void()> task) override;

    void setAfterTask(std::function<void()> handler) { afterTask_ = std::move(handler); }

  private:
    void runTask(const std::function<void()>& task);

    const WorkerWait& wait_;
    std::function<void()> afterTask_;
};

} // namespace tobira
