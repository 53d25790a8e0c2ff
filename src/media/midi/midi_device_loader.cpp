// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI device's loader thread: the SoundFont, the song's instruments and its stream.
#include "media/midi/midi_device.h"

#include "media/midi/memory_return.h"
#include "media/midi/midi_frames.h"
#include "media/midi/smf_presets.h"
#include "media/play_notices.h"

#include <cmath>
#include <exception>
#include <utility>

namespace tobira {

using midi_frames::FramesAt;
using midi_frames::kRate;

namespace {

// The messages that choose instruments, for the loader to load them before the song starts.
bool SelectsInstrument(std::span<const std::uint8_t> smf, std::size_t at, std::uint8_t status) {
    const int kind = status & 0xF0;
    return kind == 0xC0 || status == 0xF0 || (kind == 0xB0 && (smf[at] == 0 || smf[at] == 32));
}

} // namespace

SmfSong MidiDevice::ReadSong(std::span<const std::uint8_t> bytes, std::vector<SmfTrackSpan>& tracks,
                             std::vector<SynthPreset>& presets) {
    std::vector<SmfMessage> selecting;
    SmfSong song = ParseSmfLayout(bytes, selecting, SelectsInstrument, tracks);
    // Only these are copied: a big song has millions of other messages.
    std::vector<SmfEvent> events;
    events.reserve(selecting.size());
    for (const SmfMessage& m : selecting)
        events.push_back(SmfEvent{m.tick, MessageBytes(bytes, m)});
    presets = SongPresets(events);
    return song;
}

void MidiDevice::prepare() {
    std::filesystem::path wanted;
    try {
        wanted = wantedSoundFont();
    } catch (const DeviceError&) {
        return; // open() says so
    }
    if (loading_ == wanted)
        return;
    loading_ = wanted;
    std::uint64_t generation;
    {
        std::lock_guard lock(mutex_);
        generation = generation_;
    }
    loader_.post([this, generation, wanted] { load(generation, wanted, {}, nullptr); });
}

void MidiDevice::release() {
    close();
    loading_.clear();
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        failure_.reset();
        gain_ = 0.0;
        ++halts_;
        ++transport_.epoch;
        ++transport_.serial;
    }
    // The synthesizer goes with its samples, and the song's stream, on the loader's thread.
    loader_.post([this] {
        std::shared_ptr<MidiSynthesizer> synth;
        std::shared_ptr<const MidiStream> stream;
        {
            std::scoped_lock lock(renderMutex_, mutex_);
            synth = std::move(synth_);
            stream = std::move(stream_);
        }
        synth.reset();
        stream.reset();
        loaded_.reset();
        ReturnFreedMemory();
    });
}

void MidiDevice::settle() {
    loader_.drain();
}

void MidiDevice::load(std::uint64_t generation, const std::filesystem::path& soundFont,
                      const std::vector<SynthPreset>& presets, std::unique_ptr<SongJob> job) {
    // Another SoundFont replaces the loaded one: once the old synthesizer has gone (at the end
    // of install), its samples go back to the system.
    const bool replacing = loaded_ && loaded_->soundFont() != soundFont;
    install(generation, soundFont, presets, std::move(job));
    if (replacing)
        ReturnFreedMemory();
}

void MidiDevice::install(std::uint64_t generation, const std::filesystem::path& soundFont,
                         const std::vector<SynthPreset>& presets, std::unique_ptr<SongJob> job) {
    const bool song = job != nullptr;
    if (song) {
        std::lock_guard lock(mutex_);
        if (generation != generation_)
            return; // a newer open, close or release has its own task after this one
    }
    std::shared_ptr<MidiSynthesizer> oldSynth;
    std::shared_ptr<const MidiStream> stream, oldStream;
    std::vector<SynthPreset> wanted = presets;
    const bool readHere = song && job->unread;
    try {
        if (readHere) {
            job->bytes = ReadOpenedSmf(*job->unread);
            job->unread.reset();
            job->song = ReadSong(SmfBytesOf(job->bytes), job->tracks, wanted);
        }
    } catch (const SmfError& e) {
        failSong(generation, LoadFailure{{}, SmfOpenMessage(job->name, e)});
        return;
    }
    try {
        if (!loaded_ || loaded_->soundFont() != soundFont) {
            loaded_.reset();
            loaded_ = MakeMidiSynthesizer(soundFont, std::pow(10.0, kProbeLevelDbfs / 20.0), kRate);
        }
        loaded_->holdPresets(wanted);
        if (song) {
            stream =
                std::make_shared<const MidiStream>(SmfBytesOf(job->bytes), job->song, job->tracks);
            job->bytes = std::string();
        }
    } catch (const std::exception& e) {
        // Out of memory included: nothing may leave the loader's task.
        const bool ofSoundFont = dynamic_cast<const SoundFontError*>(&e) != nullptr;
        failSong(song ? generation : 0, LoadFailure{soundFont, e.what(), ofSoundFont});
        return;
    }
    // The old synthesizer and stream die at the end of this function, outside the locks.
    std::scoped_lock lock(renderMutex_, mutex_);
    if (generation != generation_)
        return; // a newer open, close or release has its own task after this one
    failure_.reset();
    // A prepare does not take the synthesizer away from a song that is open.
    if (!song && state_ != State::Closed)
        return;
    if (synth_ != loaded_)
        oldSynth = std::exchange(synth_, loaded_);
    synthEpoch_ = transport_.epoch;
    gain_ = synth_->gain();
    if (!song)
        return;
    oldStream = std::exchange(stream_, std::move(stream));
    streamSong_ = generation;
    if (readHere) {
        song_ = std::move(job->song);
        adoptSongLocked();
    }
}

void MidiDevice::failSong(std::uint64_t generation, LoadFailure failure) {
    std::lock_guard lock(mutex_);
    failure_ = std::move(failure);
    if (generation == 0 || generation != generation_)
        return;
    songFailed_ = true;
    finishRequestLocked(NotifyValue::Failure);
    if (state_ == State::Playing) {
        state_ = State::Stopped;
        transport_.run = false;
        ++transport_.serial;
    }
}

} // namespace tobira
