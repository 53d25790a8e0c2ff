// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/play_notices.h"

#include "ports/ports.h"

namespace tobira {

PlayNotices::PlayNotices(UiPostPort& uiPost, std::function<void(NotifyValue)> deliver)
    : deliver_(std::move(deliver)), wake_(uiPost.makeWake([this] { deliverAll(); })) {
    due_.reserve(4);
}

PlayNotices::~PlayNotices() {
    wake_.reset();
}

void PlayNotices::begin() {
    std::lock_guard lock(mutex_);
    if (due_.size() == due_.capacity())
        due_.reserve(2 * due_.capacity());
    pending_ = true;
}

void PlayNotices::finish(NotifyValue value) {
    std::lock_guard lock(mutex_);
    if (!pending_)
        return;
    pending_ = false;
    due_.push_back(value);
    wake_->raise();
}

bool PlayNotices::pending() const {
    std::lock_guard lock(mutex_);
    return pending_;
}

void PlayNotices::deliverAll() {
    std::vector<NotifyValue> due;
    {
        std::lock_guard lock(mutex_);
        due.assign(due_.begin(), due_.end());
        due_.clear();
    }
    for (NotifyValue value : due)
        deliver_(value);
}

} // namespace tobira
