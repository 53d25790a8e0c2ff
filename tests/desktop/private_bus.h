// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A session bus of the test's own: a dbus-daemon started for it and stopped with it, so that
// nothing on the machine's bus sees the test, nor the test anything there.

#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace tobira::testing {

class PrivateBus final {
  public:
    PrivateBus() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            return;
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
        if (!daemon_.waitForStarted(5000))
            return;
        while (!daemon_.canReadLine() && daemon_.waitForReadyRead(5000)) {
        }
        address_ = QString::fromLocal8Bit(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.terminate();
            if (!daemon_.waitForFinished(3000))
                daemon_.kill();
            daemon_.waitForFinished(3000);
        }
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Empty when no bus could be started (dbus-daemon missing).
    const QString& address() const { return address_; }

  private:
    QProcess daemon_;
    QString address_;
};

} // namespace tobira::testing
