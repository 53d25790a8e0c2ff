// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/qt/mpris_adaptors.h"

#include "desktop/qt/mpris_service.h"
#include "text/cp932_convert.h"

#include <QDBusObjectPath>
#include <QUrl>

#include <optional>

namespace tobira {
namespace {

QString FromCp932(const std::string& text) {
    return QString::fromStdString(Cp932ToUtf8(text));
}

QString PlaybackText(RemotePlayback playback) {
    switch (playback) {
    case RemotePlayback::Playing:
        return QStringLiteral("Playing");
    case RemotePlayback::Paused:
        return QStringLiteral("Paused");
    case RemotePlayback::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QString LoopText(RemoteLoop loop) {
    switch (loop) {
    case RemoteLoop::Track:
        return QStringLiteral("Track");
    case RemoteLoop::Playlist:
        return QStringLiteral("Playlist");
    case RemoteLoop::None:
        break;
    }
    return QStringLiteral("None");
}

std::optional<RemoteLoop> LoopFromText(const QString& text) {
    if (text == QLatin1String("None"))
        return RemoteLoop::None;
    if (text == QLatin1String("Track"))
        return RemoteLoop::Track;
    if (text == QLatin1String("Playlist"))
        return RemoteLoop::Playlist;
    return std::nullopt;
}

QVariantMap MetadataOf(const std::optional<RemoteTrack>& track) {
    QVariantMap map;
    if (!track)
        return map;
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(QDBusObjectPath(QString::fromStdString(track->id))));
    map.insert(QStringLiteral("xesam:title"), FromCp932(track->title));
    if (!track->album.empty())
        map.insert(QStringLiteral("xesam:album"), FromCp932(track->album));
    if (track->lengthUs)
        map.insert(QStringLiteral("mpris:length"),
                   QVariant::fromValue(qlonglong{*track->lengthUs}));
    return map;
}

} // namespace

QVariantMap ChangedPlayerProperties(const RemoteState& before, const RemoteState& after) {
    QVariantMap changed;
    if (before.playback != after.playback)
        changed.insert(QStringLiteral("PlaybackStatus"), PlaybackText(after.playback));
    if (before.loop != after.loop)
        changed.insert(QStringLiteral("LoopStatus"), LoopText(after.loop));
    if (before.shuffle != after.shuffle)
        changed.insert(QStringLiteral("Shuffle"), after.shuffle);
    if (before.volume != after.volume)
        changed.insert(QStringLiteral("Volume"), after.volume);
    if (before.track != after.track)
        changed.insert(QStringLiteral("Metadata"), MetadataOf(after.track));
    if (before.canGoNext != after.canGoNext)
        changed.insert(QStringLiteral("CanGoNext"), after.canGoNext);
    if (before.canGoPrevious != after.canGoPrevious)
        changed.insert(QStringLiteral("CanGoPrevious"), after.canGoPrevious);
    if (before.canPlay != after.canPlay)
        changed.insert(QStringLiteral("CanPlay"), after.canPlay);
    if (before.canSeek != after.canSeek)
        changed.insert(QStringLiteral("CanSeek"), after.canSeek);
    if (before.canPause != after.canPause)
        changed.insert(QStringLiteral("CanPause"), after.canPause);
    return changed;
}

// ---- org.mpris.MediaPlayer2 ------------------------------------------------------------------

MprisRootAdaptor::MprisRootAdaptor(MprisService& service)
    : QDBusAbstractAdaptor(&service), service_(service) {}

QString MprisRootAdaptor::identity() const {
    return QStringLiteral("TOBIRA");
}

QString MprisRootAdaptor::desktopEntry() const {
    return QStringLiteral("tobira");
}

QStringList MprisRootAdaptor::supportedUriSchemes() const {
    return {QStringLiteral("file")};
}

QStringList MprisRootAdaptor::supportedMimeTypes() const {
    return {QStringLiteral("audio/midi"), QStringLiteral("audio/x-midi")};
}

void MprisRootAdaptor::Raise() {
    service_.answerAndPress([](PlayerRemote& remote) { remote.Raise(); });
}

void MprisRootAdaptor::Quit() {
    service_.answerAndPress([](PlayerRemote& remote) { remote.Quit(); });
}

// ---- org.mpris.MediaPlayer2.Player -----------------------------------------------------------

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService& service)
    : QDBusAbstractAdaptor(&service), service_(service) {}

QString MprisPlayerAdaptor::playbackStatus() const {
    return PlaybackText(service_.state().playback);
}

QString MprisPlayerAdaptor::loopStatus() const {
    return LoopText(service_.state().loop);
}

void MprisPlayerAdaptor::setLoopStatus(const QString& status) {
    if (const std::optional<RemoteLoop> loop = LoopFromText(status))
        service_.press([loop](PlayerRemote& remote) { remote.SetLoop(*loop); });
}

bool MprisPlayerAdaptor::shuffle() const {
    return service_.state().shuffle;
}

void MprisPlayerAdaptor::setShuffle(bool on) {
    service_.press([on](PlayerRemote& remote) { remote.SetShuffle(on); });
}

QVariantMap MprisPlayerAdaptor::metadata() const {
    return MetadataOf(service_.state().track);
}

double MprisPlayerAdaptor::volume() const {
    return service_.state().volume;
}

void MprisPlayerAdaptor::setVolume(double volume) {
    service_.press([volume](PlayerRemote& remote) { remote.SetVolume(volume); });
}

qlonglong MprisPlayerAdaptor::position() const {
    return service_.positionUs();
}

bool MprisPlayerAdaptor::canSeek() const {
    return service_.state().canSeek;
}

void MprisPlayerAdaptor::Seek(qlonglong offset) {
    bool jumped = false;
    service_.answerAndPress(
        [&jumped, offset](PlayerRemote& remote) { jumped = remote.Seek(offset); });
    if (jumped)
        emit Seeked(service_.positionUs());
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
    const std::string id = trackId.path().toStdString();
    bool jumped = false;
    service_.answerAndPress([&jumped, &id, position](PlayerRemote& remote) {
        jumped = remote.SetPosition(id, position);
    });
    if (jumped)
        emit Seeked(service_.positionUs());
}

bool MprisPlayerAdaptor::canGoNext() const {
    return service_.state().canGoNext;
}

bool MprisPlayerAdaptor::canGoPrevious() const {
    return service_.state().canGoPrevious;
}

bool MprisPlayerAdaptor::canPlay() const {
    return service_.state().canPlay;
}

bool MprisPlayerAdaptor::canPause() const {
    return service_.state().canPause;
}

void MprisPlayerAdaptor::Next() {
    service_.answerAndPress([](PlayerRemote& remote) { remote.Next(); });
}

void MprisPlayerAdaptor::Previous() {
    service_.answerAndPress([](PlayerRemote& remote) { remote.Previous(); });
}

void MprisPlayerAdaptor::Pause() {
    service_.answerAndPress([](PlayerRemote& remote) { remote.Pause(); });
}

void MprisPlayerAdaptor::PlayPause() {
    service_.answerAndPress([](PlayerRemote& remote) { remote.PlayPause(); });
}

void MprisPlayerAdaptor::Stop() {
    service_.answerAndPress([](PlayerRemote& remote) { remote.Stop(); });
}

void MprisPlayerAdaptor::Play() {
    service_.answerAndPress([](PlayerRemote& remote) { remote.Play(); });
}

void MprisPlayerAdaptor::OpenUri(const QString& uri) {
    const QUrl url(uri);
    if (url.isLocalFile())
        service_.openLater({url.toLocalFile()});
}

// ---- jp.tobira.Instance ----------------------------------------------------------------------

InstanceAdaptor::InstanceAdaptor(MprisService& service)
    : QDBusAbstractAdaptor(&service), service_(service) {}

void InstanceAdaptor::OpenFiles(const QStringList& paths) {
    service_.openLater(paths);
}

} // namespace tobira
