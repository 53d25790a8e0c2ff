// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The MIDI sequencer device for an external sound module: plays one Standard MIDI File at a time
// on an ALSA sequencer queue, to the port chosen by name.
//
// Completion as for the built-in synthesizer (midi_device.h): one notice per play request,
// Successful when the clock reaches the song's last event, Aborted for stop, pause, previous and
// close, Superseded for a new play or open while one is running; and Failure when the module's
// port has gone, after which takeProblem() tells the user why and the device is closed. An open
// that cannot reach the port leaves its reason there too.
//
// Threads: the control methods run on the UI thread; a feeder thread of its own keeps the queue
// filled a little ahead of the clock and watches the port. Both share one lock.

#include "media/midi/midi_output_selector.h"
#include "media/midi/midi_schedule.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tobira {

class AlsaSeqSink;
class PlayNotices;
class SequencerPlayer;
class UiPostPort;

class AlsaSequencerDevice final : public MidiPortDevice {
  public:
    explicit AlsaSequencerDevice(UiPostPort& uiPost);
    ~AlsaSequencerDevice() override;
    AlsaSequencerDevice(const AlsaSequencerDevice&) = delete;
    AlsaSequencerDevice& operator=(const AlsaSequencerDevice&) = delete;

    void setPort(std::string cp932Name) override;
    std::vector<std::string> listPorts() const override;

    // Reads and checks fileName() and connects to the port when not yet connected to it.
    // DeviceError when the file is unusable or the port cannot be reached.
    void open() override;
    // Silences the module; the connection stays for the next song.
    void close() override;
    bool isOpen() const override;
    // Closes and lets go of the sequencer.
    void release() override;

    void play() override;
    // From a position in tenths of a second.
    void playFrom(std::uint32_t position) override;
    void stop() override;
    void pause() override;
    void previous() override;
    void eject() override;

    DeviceMode mode() const override;
    int tracks() const override;
    std::uint32_t trackLength(int track) const override;
    // Tenths of a second.
    std::uint32_t position() const override;
    std::uint32_t length() const override;
    std::string takeProblem() override;

  private:
    // These expect mutex_ to be held.
    void requireOpenLocked() const;
    void startRequestLocked(bool ended);
    void feed();
    // The port has gone or refused a message: ends the request with Failure and lets go of the
    // connection. Expects mutex_ to be held.
    void loseLocked(const std::string& why);
    // Runs a control step on the player; a lost port on the way ends the request with Failure.
    // Only a start also throws: a halt has done what was asked once the module is gone.
    template <typename Step> void control(Step step, bool rethrow);

    std::string port_; // code page 932
    mutable std::mutex mutex_;
    std::condition_variable wakeFeeder_;
    std::unique_ptr<AlsaSeqSink> sink_;
    std::unique_ptr<SequencerPlayer> player_;
    std::string problem_;
    bool quit_ = false;
    std::unique_ptr<PlayNotices> notices_;
    std::thread feeder_;
};

} // namespace tobira
