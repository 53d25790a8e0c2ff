#pragma once
// The MIDI sequencer device: plays one Standard MIDI File at a time through FluidSynth into the
// audio engine's synthesizer line.
//
// Completion: every play request ends with exactly one notification, queued in the order the
// requests ended and delivered on the UI thread through a wake-up of the UI post port (the audio
// thread neither allocates nor waits to hand one over): Successful when the song's last event has
// played (at the length the device reports, not when the last notes have died away), Aborted for
// stop, pause, previous and close, Superseded for a new play or open while one is running.
//
// Threads: the control methods run on the UI thread; renderAudio runs on the audio thread. Both
// share one short lock; files are read and checked before it is taken.

#include "media/audio_source.h"
#include "media/media_device.h"
#include "media/smf_song.h"

#include <cstddef>
#include <future>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tobira {

class AudioEngine;
class UiPostPort;
class PlayNotices;
class FluidSynthesizer;

class MidiDevice final : public MediaDevice, public AudioSource {
  public:
    // Level of the gain probe (fluid_level_probe.h) after the SoundFont is loaded. FluidSynth's
    // fixed 0.2 is far quieter than a CD track at the same volume, and SoundFonts differ by
    // 6 dB and more. At this level a typical General MIDI song has an RMS near -16 dBFS, close
    // to a CD master's, with its peaks about 2 dB below full scale, with FluidR3 and TimGM6mb
    // alike.
    static constexpr double kProbeLevelDbfs = -16.4;

    // Attaches itself to the engine's synthesizer line (silent until a song plays).
    MidiDevice(AudioEngine& engine, UiPostPort& uiPost);
    ~MidiDevice() override;
    MidiDevice(const MidiDevice&) = delete;
    MidiDevice& operator=(const MidiDevice&) = delete;

    // The SoundFont (code page 932 path, the SOUNDFONT setting); empty for the standard one
    // (FindDefaultSoundFont). Loaded at the next open, once: later opens reuse it.
    void setSoundFont(std::string cp932Path) { soundFont_ = std::move(cp932Path); }
    const std::string& soundFont() const { return soundFont_; }
    // The synthesizer gain chosen for the loaded SoundFont; 0 before the first open.
    double synthGain() const;

    // Reads and checks fileName(), and loads the SoundFont when needed. DeviceError when the
    // SoundFont or the file is missing or unusable; the device is then as it was before.
    // Opening while open replaces the song (a running play request is superseded).
    void open() override;
    // Releases the song; the SoundFont stays loaded. A running play request is aborted.
    void close() override;
    bool isOpen() const override;
    // Loads the SoundFont on a thread of its own; an open during the load waits for it.
    void prepare() override;
    // Closes and frees the synthesizer with its SoundFont.
    void release() override;

    // From the current position: the start after open or previous, where stop or pause left
    // off, the start again after the song has ended.
    void play() override;
    // From a position in tenths of a second.
    void playFrom(std::uint32_t position) override;
    // Position kept. Mode Stopped.
    void stop() override;
    // Position kept. Mode Paused.
    void pause() override;
    // Back to the start; ends a running play. Mode Stopped, position 0.
    void previous() override;
    // A sequencer has no door: does nothing.
    void eject() override;

    // NotReady when closed.
    DeviceMode mode() const override;
    // One track: the song.
    int tracks() const override;
    std::uint32_t trackLength(int track) const override;
    // Tenths of a second; 0 when closed.
    std::uint32_t position() const override;
    // Tenths of a second: the time of the song's last event.
    std::uint32_t length() const override;

    void renderAudio(float* out, std::size_t frames) override;
    // While a song plays and until its last notes and reverb have died away.
    bool sounding() const override;

  private:
    enum class State { Closed, Stopped, Playing, Paused };

    void requireOpen() const;
    std::filesystem::path wantedSoundFont() const;
    void loadSynthesizer();
    // The synthesizer a prepare() has loaded or is loading for `wanted`, if any; waits for it.
    std::unique_ptr<FluidSynthesizer> takePrepared(const std::filesystem::path& wanted);
    // The following expect mutex_ to be held.
    void startLocked(std::optional<std::uint64_t> tick);
    void haltLocked(State next);
    void beginRequestLocked();
    void finishRequestLocked(NotifyValue value);

    AudioEngine& engine_;
    std::string soundFont_;

    mutable std::mutex mutex_;
    std::unique_ptr<FluidSynthesizer> synth_;
    SmfSong song_;
    State state_ = State::Closed;
    // Where the next play starts a fresh player; empty to resume the paused one.
    std::optional<std::uint64_t> startTick_;
    std::uint64_t positionFrames_ = 0;
    std::uint64_t lengthFrames_ = 0;
    std::size_t quietFrames_ = 0;
    // Destroyed before the state above: no delivery runs once the device starts to go.
    std::unique_ptr<PlayNotices> notices_;

    // UI thread only.
    std::filesystem::path preparing_;
    std::future<std::unique_ptr<FluidSynthesizer>> prepared_;
};

} // namespace tobira
