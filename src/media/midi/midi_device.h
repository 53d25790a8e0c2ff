// SPDX-License-Identifier: GPL-3.0-or-later
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
// Loading: the SoundFont and the instruments a song uses are loaded on a loader thread of the
// device's own, never on the UI or the audio thread. open() reads and checks the song, then
// hands its instruments to the loader; a play requested before they are in starts when they are
// (mode Playing, position 0 meanwhile). A song file of many megabytes is only opened by open():
// the loader reads and checks it, and a fault it finds then ends the play request with Failure,
// the reason kept as for a SoundFont that failed to load; its length is 0 until then.
//
// Threads: the control methods run on the UI thread and never wait for the synthesizer: they
// set the state under a short lock that is never held while it works, and leave what the
// synthesizer must do (start, halt, release the notes) for renderAudio to carry out at the start
// of its next call. renderAudio runs on the audio thread and publishes the position, and a
// song's natural end, under the same short lock after it has rendered. The synthesizer and the
// song's stream belong to the audio thread while installed; the loader installs and removes
// them under a lock of the audio side's, and frees them on its own thread. A song's stream is
// built, and its instruments loaded, on the loader.

#include "media/audio_source.h"
#include "media/media_device.h"
#include "media/midi/smf_song.h"

#include "media/midi/loop_plan.h"
#include "media/midi/midi_stream.h"
#include "media/midi/midi_stream_player.h"
#include "media/midi/midi_synthesizer.h"
#include "media/midi/part_controls.h"
#include "media/serial_worker.h"

#include <array>
#include <atomic>
#include <cstddef>
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
    // (FindDefaultSoundFont). Loaded by the next prepare or open, once: later opens reuse it.
    void setSoundFont(std::string cp932Path) { soundFont_ = std::move(cp932Path); }
    const std::string& soundFont() const { return soundFont_; }
    // How a song's loop is played (loop_plan.h), from the next open on.
    void setLoopSetting(LoopSetting setting);
    // The synthesizer gain chosen for the loaded SoundFont; 0 before one is loaded.
    double synthGain() const;

    // Reads and checks fileName() and the SoundFont file, and has the loader make them ready.
    // DeviceError when the SoundFont or the song is missing or unusable, or when loading this
    // SoundFont has failed before; the device is then as it was before. Opening while open
    // replaces the song (a running play request is superseded).
    void open() override;
    // Releases the song; the SoundFont stays loaded. A running play request is aborted.
    void close() override;
    bool isOpen() const override;
    // Once, after a play request ended with Failure: why the SoundFont could not be loaded.
    std::string takeProblem() override;
    // Has the loader load the SoundFont.
    void prepare() override;
    // Closes; the loader then frees the synthesizer with its SoundFont.
    void release() override;
    // Returns when the loader has done all it was given (tests, benchmarks).
    void settle();
    // The instrument the synthesizer's channel (0..15) plays now; none without a synthesizer
    // or when the SoundFont lacks it.
    std::optional<SynthPreset> channelPreset(int channel) const;
    // Mute and solo, the parts' levels and the module's state, for a part display.
    PartControls& parts() { return parts_; }
    // UI thread: the SoundFont file loaded or being loaded; empty before the first load.
    const std::filesystem::path& soundFontFile() const { return loading_; }

    // From the current position: the start after open or previous, where stop or pause left
    // off, the start again after the song has ended. When the loader could not load the
    // SoundFont for this song, the play request ends with Failure and a later play or open
    // throws DeviceError with the reason.
    void play() override;
    // From a position in tenths of a second.
    void playFrom(std::uint32_t position) override;
    // A jump that sets up the song's state there (midi_stream_player.h), now or at the resume.
    void seek(std::uint32_t position) override;
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
    // Tenths of a second: the time of the song's last event, or with its loop played
    // (setLoopSetting), the whole play.
    std::uint32_t length() const override;

    void renderAudio(float* out, std::size_t frames) override;
    // While a song plays and until its last notes and reverb have died away.
    bool sounding() const override;

  private:
    enum class State { Closed, Stopped, Playing, Paused };

    struct LoadFailure {
        std::filesystem::path soundFont; // empty for a fault of the song
        std::string message;
        bool soundFontFault = false; // not the module or memory
        bool told = false;           // taken by takeProblem
        [[noreturn]] void raise() const {
            if (soundFontFault)
                throw SoundFontError(message);
            throw DeviceError(message);
        }
    };

    // What the audio side is to do, as the control methods left it. Each counter asks for
    // something once when it changes.
    struct Transport {
        std::uint64_t serial = 0; // changes with every control call that changes the rest
        std::uint64_t song = 0;   // the open that numbered the song to play; 0 for none
        bool run = false;         // play the song
        std::uint64_t start = 0;  // start afresh at startMicros (startFrames) into the play
        std::uint64_t startSong = 0;
        std::uint64_t startMicros = 0;
        std::uint64_t startFrames = 0;
        bool jump = false;         // the start is a jump: the song's state is set up there
        std::uint64_t release = 0; // release every note, pedals too
        std::uint64_t lengthFrames = 0;
        LoopPlan plan;
        std::uint64_t epoch = 0; // counts releases: a synthesizer installed before is silent
    };
    // What the loader is given with a song: its file, and what the check at open found.
    struct SongJob {
        std::string name; // code page 932, for messages
        // Too big to be read and checked on the UI thread: the loader does it.
        std::optional<RegularFile> unread;
        std::string bytes;
        SmfSong song;
        std::vector<SmfTrackSpan> tracks;
    };
    // Songs up to this size are read and checked by open(): some milliseconds at most.
    static constexpr std::uint64_t kCheckedAtOpen = 4u << 20;

    // Checks the song: throws SmfError unless it can be played. Where its tracks lie, and the
    // instruments it may select.
    static SmfSong ReadSong(std::span<const std::uint8_t> bytes, std::vector<SmfTrackSpan>& tracks,
                            std::vector<SynthPreset>& presets);

    void requireOpen() const;
    void requirePlayable() const;
    std::filesystem::path wantedSoundFont() const;
    // Loader thread: makes `loaded_` the synthesizer for `soundFont` with `presets` held, and
    // installs it for the open or prepare numbered `generation`, with the song's stream if any.
    void load(std::uint64_t generation, const std::filesystem::path& soundFont,
              const std::vector<SynthPreset>& presets, std::unique_ptr<SongJob> job);
    void install(std::uint64_t generation, const std::filesystem::path& soundFont,
                 const std::vector<SynthPreset>& presets, std::unique_ptr<SongJob> job);
    // Loader thread: the load for the open numbered `generation` (0: a prepare) failed.
    void failSong(std::uint64_t generation, LoadFailure failure);
    // The following expect mutex_ to be held.
    // song_ is the song to play: its length and loop.
    void adoptSongLocked();
    void startLocked(std::optional<std::uint64_t> micros, bool jump = false);
    // Paused: the output holds the sound of the place the pause left.
    bool paused() const;
    // Whether a song was playing.
    bool haltLocked(State next);
    void beginRequestLocked();
    void finishRequestLocked(NotifyValue value);
    // Audio thread, renderMutex_ held: carries out what `t` asks; whether the song plays now.
    bool applyTransport(const Transport& t);

    AudioEngine& engine_;
    std::string soundFont_;

    // The control side's state. Never held while the synthesizer works.
    mutable std::mutex mutex_;
    SmfSong song_;
    State state_ = State::Closed;
    // Counts opens, closes and releases: the loader's work for an older one is not installed.
    std::uint64_t generation_ = 0;
    std::optional<LoadFailure> failure_;
    bool songFailed_ = false;
    LoopSetting loopSetting_;
    LoopPlan plan_;
    // Where the next play starts afresh, in microseconds into the play; empty to resume.
    std::optional<std::uint64_t> startMicros_;
    bool startJumps_ = false; // the next start at startMicros_ is a jump
    std::uint64_t positionFrames_ = 0;
    std::uint64_t lengthFrames_ = 0;
    // Of the installed synthesizer; 0 without one.
    double gain_ = 0.0;
    Transport transport_;
    // Published by the audio side: the last notes and reverb still ring.
    bool ringing_ = false;
    // Counts halts, jumps, opens, closes and releases: a render call under way when one comes
    // gives silence for the rest of its buffer, which the output drops anyway, instead of
    // keeping the control call (or the output's flush) waiting for the whole buffer.
    std::atomic<std::uint64_t> halts_{0};
    // Destroyed before the state above: no delivery runs once the device starts to go.
    std::unique_ptr<PlayNotices> notices_;

    // The audio side: held by the audio thread through each render call, by the loader to
    // install or remove; never by the UI thread. synth_ changes under both locks.
    std::mutex renderMutex_;
    std::shared_ptr<MidiSynthesizer> synth_;
    std::uint64_t synthEpoch_ = 0;
    std::shared_ptr<const MidiStream> stream_;
    std::uint64_t streamSong_ = 0;
    // Audio thread only.
    MidiSynthesizer* playingSynth_ = nullptr;
    MidiStreamPlayer player_;
    std::uint64_t playerSong_ = 0;
    Transport applied_;
    std::uint64_t framesPlayed_ = 0;
    std::size_t quietFrames_ = 0;
    // After a halt the released notes fade out: this gain, falling, until the sound is cut.
    float fade_ = 1.0f;
    bool fading_ = false;
    // Published by the audio thread: bank << 8 | program, or -1.
    std::array<std::atomic<int>, 16> channelPresets_{};
    PartControls parts_;

    // UI thread only: the SoundFont the loader has or will have loaded.
    std::filesystem::path loading_;
    // Loader thread only.
    std::shared_ptr<MidiSynthesizer> loaded_;
    // Destroyed first: the task under way ends before anything it uses goes.
    SerialWorker loader_;
};

} // namespace tobira
