// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/midi_device.h"

#include "ports/ports.h"
#include "media/audio_engine.h"
#include "media/midi/midi_frames.h"
#include "media/midi/midi_soundfont.h"
#include "media/play_notices.h"
#include "media/midi/smf_reader.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace tobira {

using midi_frames::FramesAt;
using midi_frames::kRate;

namespace {

std::uint32_t PlayedTenths(const LoopPlan& plan) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(std::min((plan.playedMicros() + 50'000) / 100'000, kMax));
}

} // namespace

MidiDevice::MidiDevice(AudioEngine& engine, UiPostPort& uiPost)
    : engine_(engine),
      notices_(std::make_unique<PlayNotices>(uiPost, [this](NotifyValue v) { notify(v); })) {
    engine_.attach(MixerLine::Synthesizer, this);
}

MidiDevice::~MidiDevice() {
    ++halts_;
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

double MidiDevice::synthGain() const {
    std::lock_guard lock(mutex_);
    return gain_;
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
    auto job = std::make_unique<SongJob>();
    job->name = name;
    std::vector<SynthPreset> presets;
    try {
        RegularFile file = OpenSmfFile(PathFromCp932(name));
        // A song of usual size is read and checked here, so that its faults are told at once
        // and its length is known; a huge one is left to the loader.
        if (file.size() <= kCheckedAtOpen) {
            job->bytes = ReadOpenedSmf(file);
            job->song = ReadSong(SmfBytesOf(job->bytes), job->tracks, presets);
        } else {
            job->unread = std::move(file);
        }
    } catch (const SmfError& e) {
        throw DeviceError(SmfOpenMessage(name, e));
    }

    std::uint64_t generation;
    {
        std::lock_guard lock(mutex_);
        finishRequestLocked(NotifyValue::Superseded);
        song_ = job->song;
        adoptSongLocked();
        positionFrames_ = 0;
        startMicros_ = 0;
        state_ = State::Stopped;
        songFailed_ = false;
        generation = ++generation_;
        // The release of the previous song may ring on, but no note of it may hang.
        ++transport_.release;
        ++halts_;
        transport_.song = generation;
        transport_.run = false;
        ++transport_.serial;
    }
    loading_ = wanted;
    // A task holds no more than its function: the job moves in through a shared holder.
    auto held = std::make_shared<std::unique_ptr<SongJob>>(std::move(job));
    loader_.post([this, generation, wanted, presets = std::move(presets), held] {
        load(generation, wanted, presets, std::move(*held));
    });
}

void MidiDevice::close() {
    {
        std::lock_guard lock(mutex_);
        if (state_ == State::Closed)
            return;
        finishRequestLocked(NotifyValue::Aborted);
        song_ = SmfSong();
        plan_ = LoopPlan();
        positionFrames_ = lengthFrames_ = 0;
        startMicros_.reset();
        state_ = State::Closed;
        songFailed_ = false;
        ++generation_;
        ++transport_.release;
        ++halts_;
        transport_.song = 0;
        transport_.run = false;
        ++transport_.serial;
    }
    // The song's stream goes on the loader's thread.
    loader_.post([this] {
        std::shared_ptr<const MidiStream> stream;
        std::scoped_lock lock(renderMutex_, mutex_);
        if (state_ == State::Closed)
            stream = std::move(stream_);
    });
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
    // What a pause held is of the old place: dropped before the output goes on.
    if (paused())
        engine_.flush();
    engine_.wake();
    bool jumped;
    {
        std::lock_guard lock(mutex_);
        jumped = state_ == State::Playing;
        if (jumped)
            ++halts_;
        startLocked(std::min(std::uint64_t{position} * 100'000, plan_.playedMicros()), true);
    }
    // What the output holds of the old place is not heard.
    if (jumped)
        engine_.flush();
}

void MidiDevice::setLoopSetting(LoopSetting setting) {
    std::lock_guard lock(mutex_);
    loopSetting_ = setting;
}

void MidiDevice::adoptSongLocked() {
    plan_ = LoopPlan::ForSong(song_, loopSetting_);
    lengthFrames_ = transport_.lengthFrames = FramesAt(plan_.playedMicros() / 1e6);
    transport_.plan = plan_;
}

void MidiDevice::seek(std::uint32_t position) {
    requirePlayable();
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::Playing) {
            startMicros_ = std::min(std::uint64_t{position} * 100'000, plan_.playedMicros());
            startJumps_ = true;
            positionFrames_ = std::min(FramesAt(*startMicros_ / 1e6), lengthFrames_);
        }
    }
    if (mode() == DeviceMode::Playing) {
        playFrom(position);
    } else if (paused()) {
        // What the pause held is of the old place.
        engine_.flush();
    }
}

void MidiDevice::startLocked(std::optional<std::uint64_t> micros, bool jump) {
    finishRequestLocked(NotifyValue::Superseded);
    if (!micros && state_ == State::Playing) {
        beginRequestLocked();
        return;
    }
    if (!micros) {
        micros = std::exchange(startMicros_, std::nullopt);
        jump = std::exchange(startJumps_, false);
    }
    if (micros) {
        positionFrames_ = std::min(FramesAt(*micros / 1e6), lengthFrames_);
        startMicros_.reset();
        startJumps_ = false;
        ++transport_.start;
        transport_.startSong = transport_.song;
        transport_.startMicros = *micros;
        transport_.startFrames = positionFrames_;
        transport_.jump = jump;
    }
    state_ = State::Playing;
    transport_.run = true;
    ++transport_.serial;
    beginRequestLocked();
}

void MidiDevice::beginRequestLocked() {
    // Room for the notice the audio thread may queue: it must not allocate.
    notices_->begin();
}

bool MidiDevice::haltLocked(State next) {
    const bool playing = state_ == State::Playing;
    if (playing) {
        ++transport_.release;
        ++halts_;
        transport_.run = false;
        finishRequestLocked(NotifyValue::Aborted);
    }
    state_ = next;
    ++transport_.serial;
    return playing;
}

void MidiDevice::stop() {
    requireOpen();
    bool halted;
    {
        std::lock_guard lock(mutex_);
        // A stop after a pause drops what the pause held, as a stop while playing does.
        halted = state_ == State::Paused;
        halted = haltLocked(State::Stopped) || halted;
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
        halted = state_ == State::Paused;
        halted = haltLocked(State::Stopped) || halted;
        positionFrames_ = 0;
        startMicros_ = 0;
    }
    if (halted)
        engine_.flush();
}

bool MidiDevice::paused() const {
    std::lock_guard lock(mutex_);
    return state_ == State::Paused;
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
    const std::uint32_t length = PlayedTenths(plan_);
    if (positionFrames_ >= lengthFrames_)
        return length;
    return std::min(static_cast<std::uint32_t>(positionFrames_ * 10 / kRate), length);
}

std::uint32_t MidiDevice::length() const {
    requireOpen();
    std::lock_guard lock(mutex_);
    return PlayedTenths(plan_);
}

void MidiDevice::finishRequestLocked(NotifyValue value) {
    // Ended under the device's lock, so that notices reach the UI thread in the order the
    // requests ended, whichever thread ended them.
    notices_->finish(value);
}

} // namespace tobira
