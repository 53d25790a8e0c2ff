// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Calls a player's MPRIS interface on the session bus as a desktop's sound menu does, and times
// each call on the monotonic clock from just before it is sent to the moment its reply is read.

#include <QString>

#include <string>

namespace tobira::bench {

struct TimedCall {
    long long sentNs = 0;
    long long repliedNs = 0;
    std::string error; // empty when the player answered without an error
};

class MprisDriver final {
  public:
    // `player` is the MPRIS name's last part: "tobira", "audacious".
    explicit MprisDriver(const QString& player);

    // A method of org.mpris.MediaPlayer2.Player without arguments: Play, PlayPause, Stop...
    TimedCall call(const QString& method);
    TimedCall setVolume(double volume);
    // "Playing", "Paused", "Stopped", or empty when the player does not answer.
    QString playbackStatus();

  private:
    QString service_;
};

} // namespace tobira::bench
