// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace tobira {

// SIGTERM (a desktop logout), SIGINT (Ctrl+C in a terminal) and SIGHUP (the terminal gone)
// close the program as closing the main window does: the handler only writes a byte to a pipe,
// and `close` runs on the UI thread once its event loop reads it. One instance per process.
class CloseOnSignals final : public QObject {
  public:
    explicit CloseOnSignals(std::function<void()> close);
    ~CloseOnSignals() override;
    CloseOnSignals(const CloseOnSignals&) = delete;
    CloseOnSignals& operator=(const CloseOnSignals&) = delete;

  private:
    std::function<void()> close_;
    QSocketNotifier* notifier_ = nullptr;
    bool closing_ = false;
};

} // namespace tobira
