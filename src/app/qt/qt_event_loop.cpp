// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/qt_event_loop.h"

#include "forms/views/error_report.h"
#include "forms/views/worker_wait.h"

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>
#include <utility>

namespace tobira {
namespace {

// An owned file descriptor.
class FileDescriptor final {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { ::close(fd_); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

int NewEventFd() {
    const int fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    return fd;
}

class EventFdWake final : public UiWake {
  public:
    EventFdWake(const WorkerWait& wait, std::function<void()> run)
        : fd_(NewEventFd()), notifier_(fd_.get(), QSocketNotifier::Read), run_(std::move(run)) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this, &wait] {
            // Left raised while a handler waits for a worker: the notifier fires again after.
            if (wait.waiting())
                return;
            std::uint64_t raises = 0;
            // Reading resets the counter: every raise so far is answered by this one run.
            if (::read(fd_.get(), &raises, sizeof raises) == sizeof raises)
                run_();
        });
    }
    void raise() override {
        const std::uint64_t one = 1;
        // Fails only when the counter is full, and then a run is due anyway.
        [[maybe_unused]] const auto written = ::write(fd_.get(), &one, sizeof one);
    }

  private:
    FileDescriptor fd_; // closed after the notifier is gone
    QSocketNotifier notifier_;
    std::function<void()> run_;
};

} // namespace

std::unique_ptr<UiWake> QtEventLoop::makeWake(std::function<void()> task) {
    return std::make_unique<EventFdWake>(wait_, [this, task = std::move(task)] { runTask(task); });
}

void QtEventLoop::runTask(const std::function<void()>& task) {
    try {
        task();
    } catch (const std::exception& error) {
        ReportUncaughtError(error);
    } catch (...) {
        ReportUncaughtError();
    }
    if (afterTask_)
        afterTask_();
}

} // namespace tobira
