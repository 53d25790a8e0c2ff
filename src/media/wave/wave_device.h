#pragma once
// The wave player (applause): plays one WAV file on the wave-out line of the audio engine.
//
// Everything except renderAudio() runs on the UI thread. The file is read and converted there,
// in open(); the audio thread only ever copies from a finished buffer, under a lock that is held
// for a few microseconds on either side.
//
// Position and length are in milliseconds. The wave player sends no completion notification:
// nobody waits for an applause to end. tracks() is 1.

#include "media/audio_engine.h"
#include "media/audio_source.h"
#include "media/media_device.h"

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace tobira {

class WaveDevice final : public MediaDevice, public AudioSource {
  public:
    // Attaches itself to the engine's wave-out line; detaches on destruction.
    explicit WaveDevice(AudioEngine& engine);
    ~WaveDevice() override;
    WaveDevice(const WaveDevice&) = delete;
    WaveDevice& operator=(const WaveDevice&) = delete;

    // Closes what was open (silencing it), then reads fileName(). Throws DeviceError naming the
    // file and the reason; the device is closed then.
    void open() override;
    void close() override;
    bool isOpen() const override;

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
    using Buffer = std::vector<float>; // interleaved stereo at the engine rate

    void requireOpen() const;
    std::size_t frameCount() const;

    AudioEngine& engine_;
    mutable std::mutex mutex_;            // guards everything below; never held across slow work
    std::shared_ptr<const Buffer> sound_; // null when closed
    std::size_t cursor_ = 0;              // frames played
    DeviceMode state_ = DeviceMode::NotReady;
};

} // namespace tobira
