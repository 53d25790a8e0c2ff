// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's software mixer: a master line (the speakers destination) and one source line per
// device. The sound output's thread calls render() (or renderLines() and mixLines()) in real
// use, a few hundred frames at a time; tests call it directly, so a whole disc or song plays in
// milliseconds.

#include "media/audio_source.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace tobira {

enum class MixerLine : int {
    Speakers = 0,    // destination, component type 4
    WaveOut = 1,     // source, component type 0x1008
    Synthesizer = 2, // source, component type 0x1004
    CompactDisc = 3, // source, component type 0x1005
};
constexpr int kMixerLineCount = 4;

// What a control listener is told about.
enum class MixerChange {
    Volume, // a channel volume of the line
    Mute,
    Source, // a device was attached to or detached from the line
};

// One interleaved stereo buffer per mixer line, indexed by MixerLine; the speakers' entry is
// not used.
using LineBuffers = std::array<float*, kMixerLineCount>;
using ConstLineBuffers = std::array<const float*, kMixerLineCount>;

class AudioEngine final {
  public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr std::uint16_t kFullVolume = 65535;

    AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // Connects a device's sound to a source line; nullptr disconnects it. UI thread; safe while
    // the audio thread renders: it waits for a render call that is running to end, so that a
    // detached source is no longer rendered once it returns. Devices call it only as they are
    // made and destroyed. A source must be detached before it is destroyed. A change of the
    // connected source is reported to the listeners as MixerChange::Source.
    void attach(MixerLine line, AudioSource* source);

    // Produces the next `frames` stereo frames, mixed, scaled by the line volumes and mutes and
    // clamped to -1..1. Audio thread (or a test's thread); one thread at a time.
    void render(float* out, std::size_t frames);
    std::vector<float> render(std::size_t frames);
    // The same in two halves: the sources' own sound, line by line before any volume (every
    // source line's buffer must be given; a line without a source gets silence), and the mix
    // of such buffers with the volumes and mutes as they stand when it is called. An output
    // that keeps the lines of the sound it has handed on can mix it again after a volume
    // change. renderLines: audio thread, like render; mixLines: any thread.
    void renderLines(const LineBuffers& lines, std::size_t frames);
    void mixLines(const ConstLineBuffers& lines, float* out, std::size_t frames) const;

    // Whether any connected source may give sound (AudioSource::sounding), as the last render
    // call found it, or true since a wake. Any thread; never waits.
    bool sounding() const { return sounding_.load(std::memory_order_acquire); }
    // Whether the last render found a source waiting for its sound (AudioSource::waiting) and
    // no other source sounding: all it gave was the silence before a start. Audio thread.
    bool waiting() const { return waiting_; }
    // A source calls this before it starts to give sound (UI thread, none of its own locks held),
    // so that an output paused while all was silent pulls again at once.
    void wake();
    void setWakeHandler(std::function<void()> handler) { wakeHandler_ = std::move(handler); }
    // A source calls this once it has stopped or paused (UI thread, none of its own locks held),
    // so that the output drops the sound it has already handed to the sound server instead of
    // playing it out: a large output buffer must not delay a stop.
    void flush();
    void setFlushHandler(std::function<void()> handler) { flushHandler_ = std::move(handler); }
    // A source calls this once it has paused (UI thread, none of its own locks held): the sound
    // the output has already handed on is held where it stands, to go on at the next wake.
    void pause();
    void setPauseHandler(std::function<void()> handler) { pauseHandler_ = std::move(handler); }

    // Line controls, 0..65535 per channel (0 left, 1 right). The speakers line scales the mix.
    // Setting a value that differs calls the control listeners on the calling thread.
    std::uint16_t volume(MixerLine line, int channel) const;
    void setVolume(MixerLine line, int channel, std::uint16_t value);
    // Sets every channel of the line; listeners hear of it once.
    void setLineVolume(MixerLine line, std::uint16_t value);
    bool mute(MixerLine line) const;
    void setMute(MixerLine line, bool on);

    // Called after a volume or mute of `line` changed. Returns an id for removeControlListener.
    int addControlListener(std::function<void(MixerLine)> listener);
    // Likewise, also told what changed, and called for MixerChange::Source too.
    int addControlListener(std::function<void(MixerLine, MixerChange)> listener);
    void removeControlListener(int id);

  private:
    struct Line {
        std::array<std::atomic<std::uint16_t>, kChannels> volume;
        std::atomic<bool> mute{false};
    };

    void changed(MixerLine line, MixerChange what);

    std::array<Line, kMixerLineCount> lines_;
    // Held while the audio thread renders the sources, so that attach() returns only once a
    // detached source is no longer being rendered. Nothing else takes it: the UI thread reads
    // what the render calls publish.
    std::mutex sourcesMutex_;
    std::array<AudioSource*, kMixerLineCount> sources_{};
    std::atomic<bool> sounding_{false};
    bool waiting_ = false;       // the audio thread's own
    std::vector<float> scratch_; // render() only: the lines, one after another
    std::vector<std::pair<int, std::function<void(MixerLine, MixerChange)>>> listeners_;
    int nextListenerId_ = 1;
    std::function<void()> wakeHandler_;
    std::function<void()> flushHandler_;
    std::function<void()> pauseHandler_;
};

} // namespace tobira
