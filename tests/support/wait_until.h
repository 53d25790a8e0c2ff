// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way a test waits for what another thread, another process or the event loop brings:
// it goes on as soon as the condition holds, and gives up only after a time no loaded build
// machine reaches. Tests of the program's own timing use its model clock instead.

#include <chrono>
#include <thread>

#if defined(QT_CORE_LIB)
#include <QCoreApplication>
#include <QEvent>
#endif

namespace tobira::testing {

// Only a test that fails ever waits this long.
inline constexpr std::chrono::milliseconds kGenerousTimeout{30000};

// Checks `done` until it holds; false when `timeout` passed first. In a test that uses Qt, the
// event loop runs between the checks, so queued signals and posted notices arrive.
template <typename Done>
bool WaitUntil(Done&& done, std::chrono::milliseconds timeout = kGenerousTimeout) {
    const auto giveUp = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= giveUp)
            return false;
#if defined(QT_CORE_LIB)
        if (QCoreApplication::instance()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
#endif
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace tobira::testing
