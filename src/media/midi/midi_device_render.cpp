// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI device's audio thread: carries out what the control calls asked, plays the song's
// stream in small steps, publishes where it stands.
#include "media/midi/midi_device.h"

#include "media/audio_engine.h"
#include "media/midi/midi_frames.h"
#include "media/play_notices.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tobira {

namespace {

// After the last voice has gone, render this much longer for the reverb, then rest the synth.
constexpr std::size_t kTailFrames = midi_frames::kRate;
// After a stop, pause, jump or new song the released notes fade out, 20 dB down every 10 ms,
// rather than letting every release and the reverb ring on for seconds (a dense song's hundreds
// of voices would keep the synthesizer busy all that time); at -60 dB, 30 ms on, the sound is
// cut. Short enough that a stop is silent at once, long enough not to click.
const float kFadePerFrame =
    static_cast<float>(std::exp(-std::log(10.0) / (0.010 * midi_frames::kRate)));
constexpr float kFadeEnd = 1e-3f;
// Frames per synthesizer call: the song's messages are sent between calls, so this is also the
// grain of their timing (FluidSynth renders in blocks of 64 anyway).
constexpr std::size_t kStepFrames = 64;

// The fade at the end of a looped song, over the `frames` that start `from` frames into it.
void FadeOut(const LoopPlan& plan, std::uint64_t from, float* out, std::size_t frames) {
    if (midi_frames::MicrosAtFrame(from + frames) <= plan.fadeStartMicros())
        return;
    const double begin = plan.gainAt(midi_frames::MicrosAtFrame(from));
    const double end = plan.gainAt(midi_frames::MicrosAtFrame(from + frames));
    for (std::size_t i = 0; i < frames; ++i) {
        const auto gain = static_cast<float>(begin + (end - begin) * static_cast<double>(i) /
                                                         static_cast<double>(frames));
        out[2 * i] *= gain;
        out[2 * i + 1] *= gain;
    }
}

} // namespace

bool MidiDevice::applyTransport(const Transport& t) {
    MidiSynthesizer& synth = *synth_;
    if (playingSynth_ != &synth) {
        // A new synthesizer knows nothing of the song the old one played.
        playingSynth_ = &synth;
        player_.stop();
        playerSong_ = 0;
        quietFrames_ = 0;
    }
    if (t.release != applied_.release) {
        applied_.release = t.release;
        synth.releaseNotes();
        player_.notesReleased();
        quietFrames_ = 0;
        fading_ = true;
    }
    const bool songHere = stream_ && streamSong_ == t.song;
    if (playerSong_ != t.song) {
        player_.stop();
        playerSong_ = 0;
    }
    // A start waits until the loader has the song's stream in.
    if (t.start != applied_.start && songHere && t.startSong == t.song) {
        applied_.start = t.start;
        synth.releaseNotes();
        if (std::exchange(fading_, false))
            synth.cutSound(); // what still rings of the halt is not heard at full level again
        if (t.jump)
            player_.jump(synth, *stream_, t.startMicros, t.plan);
        else
            player_.start(*stream_, t.startMicros, t.plan);
        playerSong_ = t.song;
        framesPlayed_ = t.startFrames;
        quietFrames_ = 0;
    }
    return t.run && songHere && player_.playing() && playerSong_ == t.song;
}

void MidiDevice::renderAudio(float* out, std::size_t frames) {
    std::lock_guard render(renderMutex_);
    Transport t;
    std::uint64_t halts;
    {
        std::lock_guard lock(mutex_);
        t = transport_;
        halts = halts_;
    }
    if (!synth_ || synthEpoch_ != t.epoch) {
        std::fill(out, out + frames * AudioEngine::kChannels, 0.0f);
        std::lock_guard lock(mutex_);
        ringing_ = false;
        return;
    }
    MidiSynthesizer& synth = *synth_;
    parts_.beforeRender(synth);
    bool playing = applyTransport(t);
    const bool played = playing;
    bool ended = false;
    if (!playing && quietFrames_ >= kTailFrames) {
        std::fill(out, out + frames * AudioEngine::kChannels, 0.0f);
        return;
    }
    for (std::size_t done = 0; done < frames;) {
        if (halts_.load(std::memory_order_relaxed) != halts) {
            std::fill(out + done * AudioEngine::kChannels, out + frames * AudioEngine::kChannels,
                      0.0f);
            break;
        }
        const std::size_t n = std::min(kStepFrames, frames - done);
        if (playing)
            player_.step(synth, midi_frames::MicrosAtFrame(framesPlayed_) + 1);
        float* rendered = out + done * AudioEngine::kChannels;
        synth.render(rendered, n);
        if (playing)
            FadeOut(t.plan, framesPlayed_, rendered, n);
        done += n;
        // Once faded out, what the effects still hold of the halted song stays unheard too.
        if (!playing && (fading_ || fade_ < 1.0f)) {
            for (std::size_t i = 0; i < n * AudioEngine::kChannels; i += 2) {
                rendered[i] *= fade_;
                rendered[i + 1] *= fade_;
                fade_ *= kFadePerFrame;
            }
            if (fade_ < kFadeEnd) {
                fade_ = 0.0f;
                if (std::exchange(fading_, false))
                    synth.cutSound();
            }
        }
        if (playing)
            fade_ = 1.0f;
        if (!playing)
            continue;
        framesPlayed_ += n;
        if (framesPlayed_ >= t.lengthFrames && (t.plan.loops() || player_.finished())) {
            // The last event has played. Notes still held are released and ring out; the
            // next play starts from the top. The player stays at the end: a resume that
            // crossed this end ends again at once.
            framesPlayed_ = t.lengthFrames;
            synth.releaseNotes();
            player_.notesReleased();
            if (t.plan.gainAt(t.plan.playedMicros()) == 0.0) {
                // Faded out: what still rings stays unheard.
                fade_ = 0.0f;
                fading_ = true;
            }
            playing = false;
            ended = true;
        }
    }
    if (!playing)
        quietFrames_ = synth.activeVoices() > 0 ? 0 : quietFrames_ + frames;
    for (int c = 0; c < 16; ++c) {
        const std::optional<SynthPreset> p = synth.channelPreset(c);
        channelPresets_[static_cast<std::size_t>(c)].store(p ? p->bank << 8 | p->program : -1);
    }
    parts_.afterRender(synth);

    std::lock_guard lock(mutex_);
    ringing_ = quietFrames_ < kTailFrames;
    // A control call since the start of this one has its say: its state stands as it set it.
    if (t.serial != transport_.serial)
        return;
    if (played)
        positionFrames_ = std::min(framesPlayed_, lengthFrames_);
    if (ended) {
        state_ = State::Stopped;
        startMicros_ = 0;
        transport_.run = false;
        finishRequestLocked(NotifyValue::Successful);
    }
}

bool MidiDevice::sounding() const {
    std::lock_guard lock(mutex_);
    return state_ == State::Playing || ringing_;
}

std::optional<SynthPreset> MidiDevice::channelPreset(int channel) const {
    {
        std::lock_guard lock(mutex_);
        if (gain_ == 0.0)
            return std::nullopt;
    }
    const int packed = channelPresets_[static_cast<std::size_t>(channel & 15)].load();
    if (packed < 0)
        return std::nullopt;
    return SynthPreset{packed >> 8, packed & 0xFF};
}

} // namespace tobira
