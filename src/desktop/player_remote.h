// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ports.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tobira {

class TFormList;
class TFormMain;
class TFormView;

enum class RemotePlayback { Stopped, Playing, Paused };
// Track: the CD's repeat; Playlist: endless play; None: one-way play.
enum class RemoteLoop { None, Track, Playlist };

// What the desktop is told about the song or track now playing. Texts are code page 932.
struct RemoteTrack {
    std::string id; // a D-Bus object path
    std::string title;
    std::string album;
    std::optional<std::int64_t> lengthUs;
    bool operator==(const RemoteTrack&) const = default;
};

// The player as a desktop remote control sees it.
struct RemoteState {
    RemotePlayback playback = RemotePlayback::Stopped;
    RemoteLoop loop = RemoteLoop::None;
    bool shuffle = false;
    double volume = 0.0; // the ten-step level over 10; 0 while muted
    std::optional<RemoteTrack> track;
    bool canGoNext = false;
    bool canGoPrevious = false;
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;
    bool operator==(const RemoteState&) const = default;
};

// The desktop's remote control of the player (media keys, sound menus, the file manager). It
// reads the state from the main window's model and acts only by pressing the handlers a click on
// the window would press, so a remote command can do nothing a user's click cannot; the one
// exception is a jump within the track or song playing or paused, which the devices make
// without changing what plays.
class PlayerRemote final {
  public:
    PlayerRemote(TFormMain& main, TFormList& list, TFormView& view, WindowPort& windows);

    RemoteState State() const;
    // Within the playing track or song; 0 when nothing plays.
    std::int64_t PositionUs() const;

    // Each does nothing where it does not apply: Play while playing, Pause unless playing, Stop
    // while stopped (STOP on a stopped disc would eject it).
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    // CD mode: the RD order, chosen as the marks choose it (only while stopped). MIDI mode: the
    // Rnd order. Turning shuffle off returns to NR or Nor.
    void SetShuffle(bool on);
    void SetLoop(RemoteLoop loop);
    // Jumps by `offsetUs` within the track or song (not before its start; past its end it goes
    // on to the next, as Next does). Whether it jumped within it.
    bool Seek(std::int64_t offsetUs);
    // Jumps to `positionUs` into the track or song `trackId` names; nothing when that is not
    // the one playing or paused, or the time lies outside it. Whether it jumped.
    bool SetPosition(const std::string& trackId, std::int64_t positionUs);
    // Steps the volume bar with the volume buttons towards `volume` × 10 marks.
    void SetVolume(double volume);
    void Raise();
    void Quit();
    // Files opened from the desktop play as dropped ones. Opening a MIDI file is a request to
    // hear it, so CD mode switches to MIDI mode first (as the BAK right click does).
    void OpenFiles(const std::vector<std::string>& cp932Paths);

  private:
    bool Playing() const;
    bool Paused() const;
    std::optional<RemoteTrack> CdTrack() const;
    std::optional<RemoteTrack> MidiTrack() const;
    bool SeekTo(std::int64_t positionUs);

    TFormMain& main_;
    TFormList& list_;
    TFormView& view_;
    WindowPort& windows_;
};

} // namespace tobira
