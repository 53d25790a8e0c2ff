// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The player served on a private bus, and a client that calls it and keeps what it announces.

#include "desktop/qt/mpris_service.h"
#include "desktop/player_remote.h"
#include "forms/views/view_hub.h"
#include "forms/views/worker_wait.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <map>
#include <memory>

namespace tobira::testing {

// One player's remote control on a connection of its own to the bus at `address`.
class ServedPlayer final {
  public:
    ServedPlayer(const QString& address, TFormMain& main, TFormList& list, TFormView& view,
                 WindowPort& windows);
    ~ServedPlayer();
    ServedPlayer(const ServedPlayer&) = delete;
    ServedPlayer& operator=(const ServedPlayer&) = delete;

    WorkerWait workerWait;
    ViewHub hub{workerWait};
    PlayerRemote remote;

  private:
    QString connectionName_;
    std::unique_ptr<MprisService> service_;
};

// A desktop's view of the player: calls its methods, sets its properties, and keeps the last
// value each property was announced with, as "Name=value" ("Metadata.xesam:title=value" for the
// song's description, "Metadata={}" when there is none).
class MprisClient final : public QObject {
    Q_OBJECT
  public:
    explicit MprisClient(const QString& address);
    ~MprisClient() override;

    bool call(const QString& method, const QString& interface = QString());
    // The call without waiting for its answer, which must come within `timeoutMs`.
    QDBusPendingCall callLater(const QString& method, int timeoutMs);
    bool set(const QString& property, const QVariant& value);
    QVariant get(const QString& property);
    // Everything announced since the last take, once the player has answered a call made now
    // (the bus keeps each sender's messages in order).
    QStringList takeChanges();

  private slots:
    void changed(const QString& interface, const QVariantMap& properties,
                 const QStringList& invalidated);

  private:
    QString name_;
    QDBusConnection connection_;
    std::map<QString, QString> latest_;
};

// Each of `expected` was announced; when none is expected, nothing was.
void ExpectAnnounced(const QStringList& changes, const QStringList& expected);

} // namespace tobira::testing
