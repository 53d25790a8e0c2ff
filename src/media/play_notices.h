// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The completion notices of a device's play requests: one per request, queued in the order the
// requests ended, from whichever thread ended them, and handed to the UI thread through a wake
// of the UI post port. Ending a request neither allocates nor waits on the UI thread, so the
// audio thread may do it.

#include "media/media_device.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace tobira {

class UiPostPort;
class UiWake;

class PlayNotices final {
  public:
    // `deliver` runs on the UI thread, once per notice. Made on the UI thread.
    PlayNotices(UiPostPort& uiPost, std::function<void(NotifyValue)> deliver);
    ~PlayNotices();
    PlayNotices(const PlayNotices&) = delete;
    PlayNotices& operator=(const PlayNotices&) = delete;

    // A play request starts. Any thread; it may allocate.
    void begin();
    // The running request ends with `value`; nothing when none is running. Any thread.
    void finish(NotifyValue value);
    bool pending() const;

  private:
    void deliverAll();

    std::function<void(NotifyValue)> deliver_;
    mutable std::mutex mutex_;
    bool pending_ = false;
    // While a request runs there is room for its notice, so that finish() never allocates.
    std::vector<NotifyValue> due_;
    // Destroyed first: no delivery runs once the owner starts to go.
    std::unique_ptr<UiWake> wake_;
};

} // namespace tobira
