// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ports.h"

namespace tobira {

class WorkerWait;

// The override cursor, and long reads on a worker thread under it.
class QtBusyCursor final : public BusyCursorPort {
  public:
    explicit QtBusyCursor(WorkerWait& wait) : wait_(wait) {}

    void beginBusy() override;
    void endBusy() override;
    // The work on a worker thread (WorkerWait); wakes raised meanwhile run after it.
    void runBusy(const std::function<void()>& work) override;

  private:
    WorkerWait& wait_;
};

} // namespace tobira
