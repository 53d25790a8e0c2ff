// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one interface through which the player drives its three devices: CD audio, the MIDI
// sequencer and the wave player. Every method is called on the UI thread. The CD never waits for
// the drive there: its slow work runs on its own worker thread, and it reports "not ready"
// meanwhile. MIDI reads its file in open(), on the calling thread (it loads its SoundFont and
// instruments on a thread of its own, and starts a play asked for meanwhile when they are in);
// WAVE only opens its file there and decodes it on a thread of its own. Their other methods only
// take a short lock shared with the audio thread.

#include "media/cd/cd_text.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace tobira {

enum class DeviceMode : int {
    NotReady = 0,
    Stopped = 1,
    Playing = 2,
    Recording = 3,
    Seeking = 4,
    Paused = 5,
    Open = 6, // CD: door open or no disc
};

// Why a play request ended. Exactly one notification is delivered per play request.
enum class NotifyValue {
    Successful, // reached its end
    Superseded, // replaced by a newer play request
    Aborted,    // stopped, paused or sought away
    Failure,
};

// Raised by open when a device cannot be opened, and by the other operations only when the
// device is not open. The text is what the user is shown (code page 932).
class DeviceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Raised by open when another program holds the device (a CD drive in use elsewhere).
class DeviceBusyError : public DeviceError {
  public:
    using DeviceError::DeviceError;
};

// CD positions: byte 0 track, byte 1 minutes, byte 2 seconds, byte 3 frames.
constexpr std::uint32_t PackTmsf(unsigned track, unsigned minutes, unsigned seconds,
                                 unsigned frames) {
    return (track & 0xFF) | ((minutes & 0xFF) << 8) | ((seconds & 0xFF) << 16) |
           ((frames & 0xFF) << 24);
}
constexpr unsigned TmsfTrack(std::uint32_t v) {
    return v & 0xFF;
}
constexpr unsigned TmsfMinute(std::uint32_t v) {
    return (v >> 8) & 0xFF;
}
constexpr unsigned TmsfSecond(std::uint32_t v) {
    return (v >> 16) & 0xFF;
}
constexpr unsigned TmsfFrame(std::uint32_t v) {
    return (v >> 24) & 0xFF;
}

// CD track lengths: byte 0 minutes, byte 1 seconds, byte 2 frames.
constexpr std::uint32_t PackMsf(unsigned minutes, unsigned seconds, unsigned frames) {
    return (minutes & 0xFF) | ((seconds & 0xFF) << 8) | ((frames & 0xFF) << 16);
}
constexpr unsigned MsfMinute(std::uint32_t v) {
    return v & 0xFF;
}
constexpr unsigned MsfSecond(std::uint32_t v) {
    return (v >> 8) & 0xFF;
}
constexpr unsigned MsfFrame(std::uint32_t v) {
    return (v >> 16) & 0xFF;
}

class MediaDevice {
  public:
    using NotifyHandler = std::function<void(NotifyValue)>;

    virtual ~MediaDevice() = default;

    // MIDI and WAVE: the file to open (code page 932 path). CD: the drive or CUE image to use,
    // empty for the first drive found.
    void setFileName(std::string name) { fileName_ = std::move(name); }
    const std::string& fileName() const { return fileName_; }

    // Receives the completion notification of each play request, on the UI thread.
    void setNotifyHandler(NotifyHandler handler) { notify_ = std::move(handler); }

    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // An open is likely soon: start slow preparations in the background. Never throws; a
    // failure shows at open().
    virtual void prepare() {}
    // Nothing will be opened for a while: give back what is kept from one open to the next.
    // Closes first.
    virtual void release() { close(); }

    // Plays from the current position (resumes after pause or stop).
    virtual void play() = 0;
    // CD: plays from the start of the given track to the end of the disc.
    virtual void playFrom(std::uint32_t position) = 0;
    // Moves within the song or track playing, paused or stopped, keeping the mode: playing
    // plays on from `position`, a paused or stopped one resumes there at the next play. MIDI:
    // tenths of a second; CD: track-packed, within that track. This default only jumps while
    // playing (as playFrom does) and does nothing otherwise.
    virtual void seek(std::uint32_t position) {
        if (mode() == DeviceMode::Playing)
            playFrom(position);
    }
    virtual void stop() = 0;
    virtual void pause() = 0;
    virtual void previous() = 0;
    // CD: opens the tray, or closes it again when there is no disc (mode Open); a disc image is
    // taken out and put back the same way.
    virtual void eject() = 0;

    virtual DeviceMode mode() const = 0;
    virtual int tracks() const = 0;
    virtual std::uint32_t trackLength(int track) const = 0;
    // CD: track-packed. MIDI: tenths of a second.
    virtual std::uint32_t position() const = 0;
    virtual std::uint32_t length() const = 0;

    // CD: the disc's CD-Text (empty without a disc or text). Other devices have none.
    virtual DiscText discText() const { return {}; }
    // CD: why the disc or drive given could not be used (an unusable image, a drive that is not
    // there), once per new reason (code page 932); empty when there is nothing new to tell.
    // Other devices report their faults by DeviceError.
    virtual std::string takeProblem() { return {}; }

  protected:
    // Back ends call this on the UI thread (through the UI post port) once per play request.
    void notify(NotifyValue value) {
        if (notify_)
            notify_(value);
    }

  private:
    std::string fileName_;
    NotifyHandler notify_;
};

} // namespace tobira
