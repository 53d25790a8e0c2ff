// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpris_harness.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>

#include <gtest/gtest.h>

namespace tobira::testing {
namespace {

int connectionCount = 0;

QString NextConnectionName(const char* role) {
    return QStringLiteral("%1-%2").arg(QLatin1String(role)).arg(++connectionCount);
}

QString Service() {
    return QString::fromLatin1(MprisService::kServiceName);
}

QString Path() {
    return QString::fromLatin1(MprisService::kObjectPath);
}

QString PlayerInterface() {
    return QString::fromLatin1(MprisService::kPlayerInterface);
}

QString Properties() {
    return QStringLiteral("org.freedesktop.DBus.Properties");
}

} // namespace

ServedPlayer::ServedPlayer(const QString& address, TFormMain& main, TFormList& list,
                           TFormView& view, WindowPort& windows)
    : remote(main, list, view, windows), connectionName_(NextConnectionName("player")) {
    service_ = std::make_unique<MprisService>(
        QDBusConnection::connectToBus(address, connectionName_), remote, hub);
}

ServedPlayer::~ServedPlayer() {
    service_.reset();
    QDBusConnection::disconnectFromBus(connectionName_);
}

MprisClient::MprisClient(const QString& address)
    : name_(NextConnectionName("client")),
      connection_(QDBusConnection::connectToBus(address, name_)) {
    connection_.connect(Service(), Path(), Properties(), QStringLiteral("PropertiesChanged"), this,
                        SLOT(changed(QString, QVariantMap, QStringList)));
}

MprisClient::~MprisClient() {
    QDBusConnection::disconnectFromBus(name_);
}

bool MprisClient::call(const QString& method, const QString& interface) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        Service(), Path(), interface.isEmpty() ? PlayerInterface() : interface, method);
    // The player answers on this thread: wait with the event loop running.
    return connection_.call(message, QDBus::BlockWithGui).type() == QDBusMessage::ReplyMessage;
}

QDBusPendingCall MprisClient::callLater(const QString& method, int timeoutMs) {
    return connection_.asyncCall(
        QDBusMessage::createMethodCall(Service(), Path(), PlayerInterface(), method), timeoutMs);
}

bool MprisClient::set(const QString& property, const QVariant& value) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(Service(), Path(), Properties(), QStringLiteral("Set"));
    message << PlayerInterface() << property << QVariant::fromValue(QDBusVariant(value));
    return connection_.call(message, QDBus::BlockWithGui).type() == QDBusMessage::ReplyMessage;
}

QVariant MprisClient::get(const QString& property) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(Service(), Path(), Properties(), QStringLiteral("Get"));
    message << PlayerInterface() << property;
    const QDBusMessage reply = connection_.call(message, QDBus::BlockWithGui);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().front().value<QDBusVariant>().variant();
}

QStringList MprisClient::takeChanges() {
    get(QStringLiteral("PlaybackStatus"));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QStringList changes;
    for (const auto& [name, value] : latest_)
        changes << name + QLatin1Char('=') + value;
    latest_.clear();
    return changes;
}

void MprisClient::changed(const QString& interface, const QVariantMap& properties,
                          const QStringList&) {
    if (interface != PlayerInterface())
        return;
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        if (it.key() != QLatin1String("Metadata")) {
            latest_[it.key()] = it.value().toString();
            continue;
        }
        const QVariantMap metadata = qdbus_cast<QVariantMap>(it.value().value<QDBusArgument>());
        for (auto old = latest_.begin(); old != latest_.end();)
            old = old->first.startsWith(QLatin1String("Metadata")) ? latest_.erase(old)
                                                                   : std::next(old);
        if (metadata.isEmpty())
            latest_[QStringLiteral("Metadata")] = QStringLiteral("{}");
        for (auto entry = metadata.begin(); entry != metadata.end(); ++entry)
            latest_[QStringLiteral("Metadata.") + entry.key()] =
                entry.value().metaType() == QMetaType::fromType<QDBusObjectPath>()
                    ? entry.value().value<QDBusObjectPath>().path()
                    : entry.value().toString();
    }
}

void ExpectAnnounced(const QStringList& changes, const QStringList& expected) {
    const std::string all = changes.join(QLatin1Char(' ')).toStdString();
    for (const QString& change : expected)
        EXPECT_TRUE(changes.contains(change)) << change.toStdString() << " not in: " << all;
    if (expected.isEmpty()) {
        EXPECT_TRUE(changes.isEmpty()) << all;
    }
}

} // namespace tobira::testing
