#include "media/midi/midi_device.h"

#include "ports/ports.h"
#include "media/audio_engine.h"
#include "media/midi/memory_return.h"
#include "media/midi/midi_soundfont.h"
#include "media/play_notices.h"
#include "media/midi/smf_presets.h"
#include "media/midi/smf_playable.h"
#include "media/midi/smf_reader.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>
#include <vector>

namespace tobira {

namespace {

constexpr int kRate = AudioEngine::kSampleRate;
// After the last voice has gone, render this much longer for the reverb, then rest the synth.
constexpr std::size_t kTailFrames = kRate;

std::uint64_t FramesAt(double seconds) {
    return static_cast<std::uint64_t>(std::llround(std::max(0.0, seconds) * kRate));
}

} // namespace

MidiDevice::MidiDevice(AudioEngine& engine, UiPostPort& uiPost)
    : engine_(engine),
      notices_(std::make_unique<PlayNotices>(uiPost, [this](NotifyValue v) { notify(v); })) {
    engine_.attach(MixerLine::Synthesizer, this);
}

MidiDevice::~MidiDevice() {
    // Once attach returns, the audio thread is no longer inside renderAudio. The loader ends
    // its task under way first of all the members (a load in progress is dropped).
    engine_.attach(MixerLine::Synthesizer, nullptr);
}

void MidiDevice::requireOpen() const {
    if (!isOpen())
        throw DeviceError(Utf8ToCp932("ＭＩＤＩシーケンサが開かれていません"));
}

void MidiDevice::requirePlayable() const {
    requireOpen();
    std::lock_guard lock(mutex_);
    if (songFailed_ && failure_)
        failure_->raise();
}

std::filesystem::path MidiDevice::wantedSoundFont() const {
    std::filesystem::path wanted;
    if (soundFont_.empty()) {
        wanted = FindDefaultSoundFont();
        if (wanted.empty())
            throw SoundFontError(
                Utf8ToCp932("ＭＩＤＩの音色ファイル（サウンドフォント *.sf2）が見つかりません。"
                            "/usr/share/sounds/sf2/default-GM.sf2 を用意するか、"
                            "TOBIRA.INI の SOUNDFONT で指定してください"));
    } else {
        wanted = PathFromCp932(soundFont_);
    }
    return wanted;
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
    std::shared_ptr<MidiSynthesizer> old;
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        std::swap(old, synth_);
        failure_.reset();
        quietFrames_ = 0;
    }
    // The loader holds the synthesizer too; it goes there, with its samples, off this thread.
    loader_.post([this, old = std::move(old)]() mutable {
        old.reset();
        loaded_.reset();
        ReturnFreedMemory();
    });
}

void MidiDevice::settle() {
    loader_.drain();
}

void MidiDevice::load(std::uint64_t generation, const std::filesystem::path& soundFont,
                      const std::vector<SynthPreset>& presets,
                      const std::vector<std::uint8_t>* song) {
    // Another SoundFont replaces the loaded one: once the old synthesizer has gone (at the end
    // of install), its samples go back to the system.
    const bool replacing = loaded_ && loaded_->soundFont() != soundFont;
    install(generation, soundFont, presets, song);
    if (replacing)
        ReturnFreedMemory();
}

void MidiDevice::install(std::uint64_t generation, const std::filesystem::path& soundFont,
                         const std::vector<SynthPreset>& presets,
                         const std::vector<std::uint8_t>* song) {
    std::shared_ptr<MidiSynthesizer> old;
    try {
        if (!loaded_ || loaded_->soundFont() != soundFont) {
            loaded_.reset();
            loaded_ = MakeMidiSynthesizer(soundFont, std::pow(10.0, kProbeLevelDbfs / 20.0), kRate);
        }
        loaded_->holdPresets(presets);
    } catch (const std::exception& e) {
        // Out of memory included: nothing may leave the loader's task.
        std::lock_guard lock(mutex_);
        failure_ =
            LoadFailure{soundFont, e.what(), dynamic_cast<const SoundFontError*>(&e) != nullptr};
        if (generation == generation_ && song) {
            songFailed_ = true;
            finishRequestLocked(NotifyValue::Failure);
            if (state_ == State::Playing)
                state_ = State::Stopped;
        }
        return;
    }
    std::lock_guard lock(mutex_);
    if (generation != generation_)
        return; // a newer open, close or release has its own task after this one
    failure_.reset();
    // A prepare does not take the synthesizer away from a song that is open.
    if (!song && state_ != State::Closed)
        return;
    if (synth_ != loaded_) {
        // The old synthesizer dies at the end of this function, outside the lock.
        old = std::exchange(synth_, loaded_);
        quietFrames_ = 0;
    }
    if (!song)
        return;
    synth_->setSong(*song);
    songReady_ = true;
    if (state_ == State::Playing && startTick_) {
        synth_->startAt(*startTick_);
        startTick_.reset();
    }
}

std::optional<SynthPreset> MidiDevice::channelPreset(int channel) const {
    std::lock_guard lock(mutex_);
    return synth_ ? synth_->channelPreset(channel) : std::nullopt;
}

double MidiDevice::synthGain() const {
    std::lock_guard lock(mutex_);
    return synth_ ? synth_->gain() : 0.0;
}

void MidiDevice::open() {
    const std::string& name = fileName();
    const std::filesystem::path wanted = wantedSoundFont();
    {
        std::lock_guard lock(mutex_);
        if (failure_ && failure_->soundFont == wanted)
            failure_->raise();
    }
    CheckSoundFontFile(wanted);
    SmfSong song;
    std::vector<std::uint8_t> file;
    std::vector<SmfMessage> messages;
    try {
        file = ReadSmfBytes(PathFromCp932(name));
        song = ParseSmfMessages(file, messages);
    } catch (const SmfError& e) {
        throw DeviceError(SmfOpenMessage(name, e));
    }
    // Only the messages that select instruments are copied: a big song has a million others.
    std::vector<SmfEvent> selecting;
    for (const SmfMessage& m : messages) {
        const int kind = m.status & 0xF0;
        if (kind == 0xC0 || m.status == 0xF0 ||
            (kind == 0xB0 && (file[m.offset] == 0 || file[m.offset] == 32)))
            selecting.push_back(SmfEvent{m.tick, MessageBytes(file, m)});
    }
    std::vector<SynthPreset> presets = SongPresets(selecting);
    // FluidSynth's player gets the song as this reader accepted it, so that both agree.
    auto bytes = std::make_shared<std::vector<std::uint8_t>>(PlayableSmf(song, file, messages));

    std::uint64_t generation;
    {
        std::lock_guard lock(mutex_);
        finishRequestLocked(NotifyValue::Superseded);
        if (synth_) {
            // The release of the previous song may ring on, but no note of it may hang.
            synth_->releaseNotes();
            synth_->dropSong();
        }
        song_ = std::move(song);
        lengthFrames_ = FramesAt(song_.lengthSeconds());
        positionFrames_ = 0;
        startTick_ = 0;
        state_ = State::Stopped;
        songReady_ = false;
        songFailed_ = false;
        generation = ++generation_;
    }
    loading_ = wanted;
    loader_.post([this, generation, wanted, presets = std::move(presets), bytes] {
        load(generation, wanted, presets, bytes.get());
    });
}

void MidiDevice::close() {
    std::lock_guard lock(mutex_);
    if (state_ == State::Closed)
        return;
    finishRequestLocked(NotifyValue::Aborted);
    if (synth_) {
        synth_->releaseNotes();
        synth_->dropSong();
    }
    song_ = SmfSong();
    positionFrames_ = lengthFrames_ = 0;
    startTick_.reset();
    state_ = State::Closed;
    songReady_ = songFailed_ = false;
    ++generation_;
}

std::string MidiDevice::takeProblem() {
    std::lock_guard lock(mutex_);
    if (!songFailed_ || !failure_ || failure_->told)
        return {};
    failure_->told = true;
    return failure_->message;
}

bool MidiDevice::isOpen() const {
    std::lock_guard lock(mutex_);
    return state_ != State::Closed;
}

void MidiDevice::play() {
    requirePlayable();
    engine_.wake();
    std::lock_guard lock(mutex_);
    startLocked(std::nullopt);
}

void MidiDevice::playFrom(std::uint32_t position) {
    requirePlayable();
    engine_.wake();
    std::lock_guard lock(mutex_);
    const std::uint64_t tick = std::min(song_.tickAtSeconds(position / 10.0), song_.lastTick());
    startLocked(tick);
}

void MidiDevice::startLocked(std::optional<std::uint64_t> tick) {
    finishRequestLocked(NotifyValue::Superseded);
    if (!tick && state_ == State::Playing) {
        beginRequestLocked();
        return;
    }
    if (!tick)
        tick = startTick_;
    if (tick) {
        positionFrames_ = std::min(FramesAt(song_.secondsAtTick(*tick)), lengthFrames_);
        startTick_ = tick;
        // Otherwise the loader starts it when the song is ready.
        if (songReady_) {
            synth_->startAt(*tick);
            startTick_.reset();
        }
    } else {
        synth_->resume();
    }
    state_ = State::Playing;
    beginRequestLocked();
    quietFrames_ = 0;
}

void MidiDevice::beginRequestLocked() {
    // Room for the notice the audio thread may queue: it must not allocate.
    notices_->begin();
}

bool MidiDevice::haltLocked(State next) {
    const bool playing = state_ == State::Playing;
    if (playing) {
        if (songReady_) {
            synth_->pause();
            synth_->releaseNotes();
        }
        finishRequestLocked(NotifyValue::Aborted);
    }
    state_ = next;
    return playing;
}

void MidiDevice::stop() {
    requireOpen();
    bool halted;
    {
        std::lock_guard lock(mutex_);
        halted = haltLocked(State::Stopped);
    }
    if (halted)
        engine_.flush();
}

void MidiDevice::pause() {
    requireOpen();
    bool halted;
    {
        std::lock_guard lock(mutex_);
        // Pausing a stopped song leaves it stopped.
        halted = haltLocked(state_ == State::Playing ? State::Paused : state_);
    }
    if (halted)
        engine_.pause();
}

void MidiDevice::previous() {
    requireOpen();
    bool halted;
    {
        std::lock_guard lock(mutex_);
        halted = haltLocked(State::Stopped);
        positionFrames_ = 0;
        startTick_ = 0;
    }
    if (halted)
        engine_.flush();
}

void MidiDevice::eject() {
    requireOpen();
}

DeviceMode MidiDevice::mode() const {
    std::lock_guard lock(mutex_);
    switch (state_) {
    case State::Closed:
        return DeviceMode::NotReady;
    case State::Stopped:
        return DeviceMode::Stopped;
    case State::Playing:
        return DeviceMode::Playing;
    case State::Paused:
        return DeviceMode::Paused;
    }
    return DeviceMode::NotReady;
}

int MidiDevice::tracks() const {
    requireOpen();
    return 1;
}

std::uint32_t MidiDevice::trackLength(int track) const {
    requireOpen();
    return track == 1 ? length() : 0;
}

std::uint32_t MidiDevice::position() const {
    std::lock_guard lock(mutex_);
    if (state_ == State::Closed)
        return 0;
    if (positionFrames_ >= lengthFrames_)
        return song_.lengthTenths();
    return std::min(static_cast<std::uint32_t>(positionFrames_ * 10 / kRate), song_.lengthTenths());
}

std::uint32_t MidiDevice::length() const {
    requireOpen();
    std::lock_guard lock(mutex_);
    return song_.lengthTenths();
}

void MidiDevice::renderAudio(float* out, std::size_t frames) {
    std::lock_guard lock(mutex_);
    // Until the loader has the song ready, only what still rings of the previous one sounds.
    const bool playing = state_ == State::Playing && songReady_;
    if (!synth_ || (!playing && quietFrames_ >= kTailFrames)) {
        std::fill(out, out + frames * AudioEngine::kChannels, 0.0f);
        return;
    }
    synth_->render(out, frames);
    if (!playing) {
        quietFrames_ = synth_->activeVoices() > 0 ? 0 : quietFrames_ + frames;
        return;
    }
    positionFrames_ += frames;
    if (positionFrames_ >= lengthFrames_) {
        // The last event has played. Notes still held are released and ring out; the next
        // play starts from the top.
        positionFrames_ = lengthFrames_;
        synth_->pause();
        state_ = State::Stopped;
        startTick_ = 0;
        quietFrames_ = 0;
        finishRequestLocked(NotifyValue::Successful);
    }
}

bool MidiDevice::sounding() const {
    std::lock_guard lock(mutex_);
    return state_ == State::Playing || (synth_ && quietFrames_ < kTailFrames);
}

void MidiDevice::finishRequestLocked(NotifyValue value) {
    // Ended under the device's lock, so that notices reach the UI thread in the order the
    // requests ended, whichever thread ended them.
    notices_->finish(value);
}

} // namespace tobira
