// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The wave player (applause): plays one WAV file on the wave-out line of the audio engine.
//
// Threads: the control methods run on the UI thread and only open the file there (without
// blocking: a regular file up to the applause size limit); the file is read and decoded on a
// worker thread of the device's own, a piece at a time, into a ring of a few seconds that the
// audio thread copies from (wave_stream.h). So neither the window nor memory grows with the
// file's length. renderAudio runs on the audio thread and neither waits nor allocates; it
// shares one short lock with the control methods.
//
// A sound starts as soon as its first piece is decoded; should the decoder ever fall behind,
// the gap is silence and the position waits for it.
//
// Failures: open() throws DeviceError at once for a file that is missing, no regular file,
// unreadable or over the size limit (naming its size). What is found while decoding (no WAV
// file, cut off, an unsupported coding, a compressed sound too long to decode whole) closes the
// device and ends in one Failure notification on the UI thread, after which takeProblem() tells
// why, once per failure. There is no other notification: nobody waits for an applause to end.
//
// Position and length are in milliseconds; the length is 0 until the file's headers are read.
// tracks() is 1.

#include "media/audio_engine.h"
#include "media/audio_source.h"
#include "media/media_device.h"
#include "media/serial_worker.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

namespace tobira {

class RegularFile;
class UiPostPort;
class UiWake;
class WaveStream;

class WaveDevice final : public MediaDevice, public AudioSource {
  public:
    // Attaches itself to the engine's wave-out line; detaches on destruction.
    WaveDevice(AudioEngine& engine, UiPostPort& uiPost);
    ~WaveDevice() override;
    WaveDevice(const WaveDevice&) = delete;
    WaveDevice& operator=(const WaveDevice&) = delete;

    // Closes what was open (silencing it), opens fileName() and has the worker decode it.
    // Throws DeviceError naming the file and the reason when it cannot be opened; the device
    // is closed then.
    void open() override;
    void close() override;
    bool isOpen() const override;
    // The oldest failure found while decoding that has not been told yet; empty when none.
    std::string takeProblem() override;
    // Returns when the worker has decoded as far ahead as it goes, come to the end or failed
    // (tests, benchmarks).
    void settle();

    // From the start on the first play after open and after the sound has ended; otherwise from
    // where pause or stop left it. Returns at once.
    void play() override;
    void stop() override;  // position kept; does nothing when closed
    void pause() override; // reports Paused until play or stop
    // Not offered by a wave player: DeviceError.
    void playFrom(std::uint32_t position) override;
    void previous() override;
    void eject() override;

    // NotReady when closed; Stopped also once the sound has played to its end.
    DeviceMode mode() const override;
    int tracks() const override;
    std::uint32_t trackLength(int track) const override;
    std::uint32_t position() const override;
    std::uint32_t length() const override;

    void renderAudio(float* out, std::size_t frames) override;
    bool sounding() const override;

  private:
    void requireOpen() const;
    // Has the worker decode `file` from its start.
    void start(const std::shared_ptr<RegularFile>& file);
    // Worker: decodes; a failure closes the device if the stream is still its own.
    void decode(const std::shared_ptr<WaveStream>& stream);

    AudioEngine& engine_;
    mutable std::mutex mutex_;           // guards everything below; never held across slow work
    std::shared_ptr<RegularFile> file_;  // null when closed
    std::shared_ptr<WaveStream> stream_; // null when closed
    std::size_t cursor_ = 0;             // frames played
    bool ended_ = false;                 // played to its end
    DeviceMode state_ = DeviceMode::NotReady;
    std::deque<std::string> problems_;
    // Destroyed before the state above: no notice runs once the device starts to go.
    std::unique_ptr<UiWake> failed_;
    // Destroyed first: the task under way ends before anything it uses goes.
    SerialWorker worker_;
};

} // namespace tobira
