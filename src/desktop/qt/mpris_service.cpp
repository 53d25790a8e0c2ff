// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/qt/mpris_service.h"

#include "desktop/qt/command_line.h"
#include "desktop/qt/mpris_adaptors.h"
#include "forms/views/view_hub.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>

namespace tobira {

MprisService::MprisService(QDBusConnection connection, PlayerRemote& remote, ViewHub& hub)
    : connection_(std::move(connection)), remote_(remote), hub_(hub) {
    if (!connection_.isConnected())
        return;
    new MprisRootAdaptor(*this);
    new MprisPlayerAdaptor(*this);
    new InstanceAdaptor(*this);
    if (!connection_.registerObject(QString::fromLatin1(kObjectPath), this,
                                    QDBusConnection::ExportAdaptors))
        return;
    const QString name = QString::fromLatin1(kServiceName);
    const QString ownName =
        name + QStringLiteral(".instance") + QString::number(QCoreApplication::applicationPid());
    if (connection_.registerService(name))
        serviceName_ = name;
    else if (connection_.registerService(ownName))
        serviceName_ = ownName;
    announced_ = remote_.State();
    watcher_ = hub_.addWatcher([this] { announceChanges(); });
}

MprisService::~MprisService() {
    if (watcher_ >= 0)
        hub_.removeWatcher(watcher_);
    if (!connection_.isConnected())
        return;
    if (!serviceName_.isEmpty())
        connection_.unregisterService(serviceName_);
    connection_.unregisterObject(QString::fromLatin1(kObjectPath));
}

void MprisService::press(const std::function<void(PlayerRemote&)>& command) {
    hub_.dispatch([this, &command] { command(remote_); });
}

void MprisService::answerAndPress(const std::function<void(PlayerRemote&)>& command) {
    // The bus hands an adaptor's calls to its parent's context, this object's.
    if (calledFromDBus()) {
        setDelayedReply(true);
        connection().send(message().createReply());
    }
    press(command);
}

void MprisService::openLater(const QStringList& paths) {
    QTimer::singleShot(0, this, [this, paths] { OpenFiles(paths, remote_, hub_); });
}

void MprisService::announceChanges() {
    const RemoteState now = remote_.State();
    const QVariantMap changed = ChangedPlayerProperties(announced_, now);
    announced_ = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
    connection_.send(signal);
}

} // namespace tobira
