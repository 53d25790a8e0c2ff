#include "forms/views/worker_wait.h"

#include <QEventLoop>
#include <QMetaObject>

#include <exception>
#include <thread>

namespace tobira {
namespace {

int waits = 0; // UI thread only

} // namespace

void WaitForWorker(const std::function<void()>& work) {
    std::exception_ptr failure;
    QEventLoop loop;
    ++waits;
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
    --waits;
    if (failure)
        std::rethrow_exception(failure);
}

bool WaitingForWorker() {
    return waits > 0;
}

} // namespace tobira
