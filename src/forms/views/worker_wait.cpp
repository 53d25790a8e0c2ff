#include "forms/views/worker_wait.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMetaObject>
#include <QScopeGuard>

#include <exception>
#include <thread>
#include <utility>
#include <vector>

namespace tobira {
namespace {

// UI thread only.
int waits = 0;
std::vector<std::function<void()>> afterWait;

} // namespace

void WaitForWorker(const std::function<void()>& work) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    ++waits;
    const auto ended = qScopeGuard([] {
        QGuiApplication::restoreOverrideCursor();
        if (--waits == 0)
            for (auto& then : std::exchange(afterWait, {}))
                then();
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

bool WaitingForWorker() {
    return waits > 0;
}

void AfterWorkerWait(std::function<void()> then) {
    if (waits > 0)
        afterWait.push_back(std::move(then));
    else
        then();
}

} // namespace tobira
