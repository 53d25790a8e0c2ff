// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/serial_worker.h"

namespace tobira {

SerialWorker::SerialWorker() : thread_([this] { run(); }) {}

SerialWorker::~SerialWorker() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        tasks_.clear();
    }
    changed_.notify_all();
    thread_.join();
}

void SerialWorker::post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    changed_.notify_all();
}

void SerialWorker::drain() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return tasks_.empty() && !busy_; });
}

void SerialWorker::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || !tasks_.empty(); });
        if (quit_)
            return;
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        busy_ = true;
        lock.unlock();
        task();
        // The task's captures die before drain() can return.
        task = nullptr;
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

} // namespace tobira
