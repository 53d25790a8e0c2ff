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

#include <functional>
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
// song's description, "Metadata={}" when there is none; "Seeked=seconds" for the last jump,
// to a tenth).
class MprisClient final : public QObject {
    Q_OBJECT
  public:
    explicit MprisClient(const QString& address);
    ~MprisClient() override;

    bool call(const QString& method, const QString& interface = QString());
    // A method of the player interface with arguments.
    bool call(const QString& method, const QVariantList& arguments);
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
    void seeked(qlonglong position);

  private:
    QString name_;
    QDBusConnection connection_;
    std::map<QString, QString> latest_;
};

// From 1 s into a track or song of 30 s, playing, named `track`: SetPosition and Seek land
// where they should and announce it (Seeked), or do nothing where they do not apply; the last
// jumps while paused (`pause` pauses), and the player stays paused there (`advance` lets time
// pass).
void ExpectJumps(MprisClient& client, const QString& track, const std::function<void()>& pause,
                 const std::function<void()>& advance);

// Each of `expected` was announced; when none is expected, nothing was.
void ExpectAnnounced(const QStringList& changes, const QStringList& expected);

} // namespace tobira::testing
