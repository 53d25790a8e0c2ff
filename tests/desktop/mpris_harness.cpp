// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpris_harness.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>

#include <gtest/gtest.h>

#include <cmath>

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
    connection_.connect(Service(), Path(), PlayerInterface(), QStringLiteral("Seeked"), this,
                        SLOT(seeked(qlonglong)));
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

bool MprisClient::call(const QString& method, const QVariantList& arguments) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(Service(), Path(), PlayerInterface(), method);
    message.setArguments(arguments);
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

void MprisClient::seeked(qlonglong position) {
    latest_[QStringLiteral("Seeked")] =
        QString::number(static_cast<double>(position) / 1e6, 'f', 1);
}

namespace {

struct Jump {
    const char* name;
    QString method;
    std::function<QVariantList(const QString& track)> arguments;
    double position; // seconds into the track or song after the call, within 0.2 s
    QString seeked;  // as announced; empty for none
};

QVariantList Offset(double seconds) {
    return {QVariant::fromValue(qlonglong(std::llround(seconds * 1e6)))};
}

std::function<QVariantList(const QString&)> To(double seconds, const char* other = nullptr) {
    return [seconds, other](const QString& track) {
        return QVariantList{
            QVariant::fromValue(QDBusObjectPath(other ? QString::fromLatin1(other) : track)),
            QVariant::fromValue(qlonglong(std::llround(seconds * 1e6)))};
    };
}

// Each call in turn, from 1 s into a track or song of 30 s: where it lands, and what it tells.
const std::vector<Jump> kJumps = {
    {"SetPosition", "SetPosition", To(12), 12, "12.0"},
    {"Seek forward", "Seek", [](const QString&) { return Offset(5); }, 17, "17.0"},
    {"Seek back before the start lands at the start", "Seek",
     [](const QString&) { return Offset(-60); }, 0, "0.0"},
    {"SetPosition of another track does nothing", "SetPosition", To(20, "/jp/tobira/Other"), 0, ""},
    {"SetPosition past the end does nothing", "SetPosition", To(31), 0, ""},
    {"SetPosition while paused: the resume starts there", "SetPosition", To(25), 25, "25.0"},
};

} // namespace

void ExpectJumps(MprisClient& client, const QString& track, const std::function<void()>& pause,
                 const std::function<void()>& advance) {
    EXPECT_EQ(client.get(QStringLiteral("CanSeek")).toBool(), true);
    client.takeChanges();
    for (const Jump& jump : kJumps) {
        SCOPED_TRACE(jump.name);
        if (jump.method == QLatin1String("SetPosition") && jump.position == 25)
            pause();
        ASSERT_TRUE(client.call(jump.method, jump.arguments(track)));
        const QStringList changes = client.takeChanges();
        if (jump.seeked.isEmpty())
            EXPECT_FALSE(changes.join(QLatin1Char(' ')).contains(QLatin1String("Seeked")));
        else
            ExpectAnnounced(changes, {QStringLiteral("Seeked=") + jump.seeked});
        EXPECT_NEAR(client.get(QStringLiteral("Position")).toLongLong() / 1e6, jump.position, 0.2);
    }
    advance();
    EXPECT_EQ(client.get(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Paused"));
    EXPECT_NEAR(client.get(QStringLiteral("Position")).toLongLong() / 1e6, 25, 0.2);
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
