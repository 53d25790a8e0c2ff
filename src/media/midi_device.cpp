#include "media/midi_device.h"

#include "forms/ports.h"
#include "media/audio_engine.h"
#include "media/fluid_synthesizer.h"
#include "media/midi_soundfont.h"
#include "media/play_notices.h"
#include "media/smf_reader.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <cmath>
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
    // Once attach returns, the audio thread is no longer inside renderAudio.
    engine_.attach(MixerLine::Synthesizer, nullptr);
    // A load under way must end before the device goes; its result is dropped.
    if (prepared_.valid())
        prepared_.wait();
}

void MidiDevice::requireOpen() const {
    if (!isOpen())
        throw DeviceError(Utf8ToCp932("ＭＩＤＩシーケンサが開かれていません"));
}

std::filesystem::path MidiDevice::wantedSoundFont() const {
    std::filesystem::path wanted;
    if (soundFont_.empty()) {
        wanted = FindDefaultSoundFont();
        if (wanted.empty())
            throw DeviceError(
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
    {
        std::lock_guard lock(mutex_);
        if (synth_ && synth_->soundFont() == wanted)
            return;
    }
    if (prepared_.valid() && preparing_ == wanted)
        return;
    if (prepared_.valid())
        prepared_.wait(); // an older load for another SoundFont: let it finish and drop it
    preparing_ = wanted;
    prepared_ = std::async(std::launch::async, [wanted] {
        return std::make_unique<FluidSynthesizer>(wanted, std::pow(10.0, kProbeLevelDbfs / 20.0),
                                                  kRate);
    });
}

std::unique_ptr<FluidSynthesizer> MidiDevice::takePrepared(const std::filesystem::path& wanted) {
    if (!prepared_.valid())
        return nullptr;
    auto future = std::move(prepared_);
    if (preparing_ != wanted) {
        future.wait();
        return nullptr;
    }
    return future.get(); // rethrows the load's DeviceError
}

void MidiDevice::release() {
    close();
    if (prepared_.valid())
        prepared_.wait();
    prepared_ = {};
    std::unique_ptr<FluidSynthesizer> old;
    std::lock_guard lock(mutex_);
    std::swap(old, synth_);
    quietFrames_ = 0;
    // The synthesizer and its samples are freed at the end of this function, outside the lock.
}

void MidiDevice::loadSynthesizer() {
    const std::filesystem::path wanted = wantedSoundFont();
    auto fresh = takePrepared(wanted);
    {
        std::lock_guard lock(mutex_);
        if (synth_ && synth_->soundFont() == wanted)
            return;
    }
    // Loading takes a while for a large SoundFont: do it outside the lock.
    if (!fresh)
        fresh = std::make_unique<FluidSynthesizer>(wanted, std::pow(10.0, kProbeLevelDbfs / 20.0),
                                                   kRate);
    std::lock_guard lock(mutex_);
    std::swap(synth_, fresh);
    // The old synthesizer dies at the end of this function, outside the lock. Its song goes
    // with it; open() loads the new one at once.
    finishRequestLocked(NotifyValue::Superseded);
    state_ = State::Closed;
}

double MidiDevice::synthGain() const {
    std::lock_guard lock(mutex_);
    return synth_ ? synth_->gain() : 0.0;
}

void MidiDevice::open() {
    const std::string& name = fileName();
    loadSynthesizer();
    std::vector<std::uint8_t> bytes;
    SmfSong song;
    try {
        bytes = ReadSmfBytes(PathFromCp932(name));
        song = ParseSmf(bytes);
    } catch (const SmfError& e) {
        throw DeviceError(Utf8ToCp932("ＭＩＤＩファイル【") + name +
                          Utf8ToCp932("】を開けません：") + e.what());
    }

    std::lock_guard lock(mutex_);
    finishRequestLocked(NotifyValue::Superseded);
    // The release of the previous song may ring on, but no note of it may hang.
    synth_->releaseNotes();
    synth_->setSong(bytes);
    song_ = std::move(song);
    lengthFrames_ = FramesAt(song_.lengthSeconds());
    positionFrames_ = 0;
    startTick_ = 0;
    state_ = State::Stopped;
}

void MidiDevice::close() {
    std::lock_guard lock(mutex_);
    if (state_ == State::Closed)
        return;
    finishRequestLocked(NotifyValue::Aborted);
    synth_->releaseNotes();
    synth_->dropSong();
    song_ = SmfSong();
    positionFrames_ = lengthFrames_ = 0;
    startTick_.reset();
    state_ = State::Closed;
}

bool MidiDevice::isOpen() const {
    std::lock_guard lock(mutex_);
    return state_ != State::Closed;
}

void MidiDevice::play() {
    requireOpen();
    engine_.wake();
    std::lock_guard lock(mutex_);
    startLocked(std::nullopt);
}

void MidiDevice::playFrom(std::uint32_t position) {
    requireOpen();
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
        synth_->startAt(*tick);
        positionFrames_ = std::min(FramesAt(song_.secondsAtTick(*tick)), lengthFrames_);
        startTick_.reset();
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

void MidiDevice::haltLocked(State next) {
    if (state_ == State::Playing) {
        synth_->pause();
        synth_->releaseNotes();
        finishRequestLocked(NotifyValue::Aborted);
    }
    state_ = next;
}

void MidiDevice::stop() {
    requireOpen();
    std::lock_guard lock(mutex_);
    haltLocked(State::Stopped);
}

void MidiDevice::pause() {
    requireOpen();
    std::lock_guard lock(mutex_);
    // Pausing a stopped song leaves it stopped.
    haltLocked(state_ == State::Playing ? State::Paused : state_);
}

void MidiDevice::previous() {
    requireOpen();
    std::lock_guard lock(mutex_);
    haltLocked(State::Stopped);
    positionFrames_ = 0;
    startTick_ = 0;
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
    const bool playing = state_ == State::Playing;
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
    return synth_ && (state_ == State::Playing || quietFrames_ < kTailFrames);
}

void MidiDevice::finishRequestLocked(NotifyValue value) {
    // Ended under the device's lock, so that notices reach the UI thread in the order the
    // requests ended, whichever thread ended them.
    notices_->finish(value);
}

} // namespace tobira
