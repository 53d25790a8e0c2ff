// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/player_remote.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>

namespace tobira {

class ViewHub;

// The player on the session bus: the desktop's media player interface (MPRIS 2) under
// org.mpris.MediaPlayer2.tobira, and the hand-off of files from a second start. Every call
// presses the handlers a click would, through the view hub; every change the hub hears of is
// announced with PropertiesChanged.
class MprisService final : public QObject, protected QDBusContext {
    Q_OBJECT
  public:
    static constexpr auto kServiceName = "org.mpris.MediaPlayer2.tobira";
    static constexpr auto kObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr auto kPlayerInterface = "org.mpris.MediaPlayer2.Player";
    static constexpr auto kInstanceInterface = "jp.tobira.Instance";

    // Registers the object and the service name on `connection`. When the name is held by
    // another program, a name of this process's own is taken instead, so the desktop still sees
    // the player. Without a bus nothing is registered, silently.
    MprisService(QDBusConnection connection, PlayerRemote& remote, ViewHub& hub);
    ~MprisService() override;

    // The name taken; empty when none could be.
    const QString& serviceName() const { return serviceName_; }

    // For the interfaces.
    RemoteState state() const { return remote_.State(); }
    std::int64_t positionUs() const { return remote_.PositionUs(); }
    // Runs a remote command as a click runs its handler.
    void press(const std::function<void(PlayerRemote&)>& command);
    // The same for a method call, answered first: a command may open a modal message box, and
    // a media key or a sound menu must not wait for the user to close it. (Qt answers property
    // writes itself, after them.)
    void answerAndPress(const std::function<void(PlayerRemote&)>& command);
    // Opens files given as UTF-8 paths, after the caller has had its answer: what they play
    // may show a message, and a second start must not wait for the user to close it.
    void openLater(const QStringList& paths);

  private:
    void announceChanges();

    QDBusConnection connection_;
    PlayerRemote& remote_;
    ViewHub& hub_;
    QString serviceName_;
    RemoteState announced_;
    int watcher_ = -1;
};

} // namespace tobira
