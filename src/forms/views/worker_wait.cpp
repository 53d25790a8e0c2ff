// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/views/worker_wait.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMetaObject>
#include <QScopeGuard>

#include <exception>
#include <thread>

namespace tobira {

void WorkerWait::run(const std::function<void()>& work) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    ++waits_;
    const auto ended = qScopeGuard([this] {
        QGuiApplication::restoreOverrideCursor();
        --waits_;
    });
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: runs once the loop below is running, however soon the work ends.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace tobira
