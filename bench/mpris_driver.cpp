// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpris_driver.h"

#include "monotonic_clock.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariant>

namespace tobira::bench {
namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

TimedCall Send(const QDBusMessage& message) {
    TimedCall timed;
    timed.sentNs = MonotonicNs();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message, QDBus::Block, 10000);
    timed.repliedNs = MonotonicNs();
    if (reply.type() == QDBusMessage::ErrorMessage)
        timed.error =
            (reply.errorName() + QStringLiteral(": ") + reply.errorMessage()).toStdString();
    return timed;
}

} // namespace

MprisDriver::MprisDriver(const QString& player)
    : service_(QStringLiteral("org.mpris.MediaPlayer2.") + player) {}

TimedCall MprisDriver::call(const QString& method) {
    return Send(QDBusMessage::createMethodCall(service_, kPath, kPlayer, method));
}

TimedCall MprisDriver::setVolume(double volume) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(service_, kPath, kProperties, QStringLiteral("Set"));
    message << kPlayer << QStringLiteral("Volume")
            << QVariant::fromValue(QDBusVariant(QVariant(volume)));
    return Send(message);
}

QString MprisDriver::playbackStatus() {
    QDBusMessage message =
        QDBusMessage::createMethodCall(service_, kPath, kProperties, QStringLiteral("Get"));
    message << kPlayer << QStringLiteral("PlaybackStatus");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().front().value<QDBusVariant>().variant().toString();
}

} // namespace tobira::bench
