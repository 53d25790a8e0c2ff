#include "media/midi/midi_device.h"

#include "ports/ports.h"
#include "media/audio_engine.h"
#include "media/midi/memory_return.h"
#include "media/midi/midi_soundfont.h"
#include "media/play_notices.h"
#include "media/midi/smf_presets.h"
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
// Frames per synthesizer call: the song's messages are sent between calls, so this is also the
// grain of their timing (FluidSynth renders in blocks of 64 anyway).
constexpr std::size_t kStepFrames = 64;

std::uint64_t FramesAt(double seconds) {
    return static_cast<std::uint64_t>(std::llround(std::max(0.0, seconds) * kRate));
}

std::uint64_t MicrosAtFrame(std::uint64_t frame) {
    return frame / kRate * 1'000'000 + frame % kRate * 1'000'000 / kRate;
}

// The messages that choose instruments, for the loader to load them before the song starts.
bool SelectsInstrument(std::span<const std::uint8_t> smf, std::size_t at, std::uint8_t status) {
    const int kind = status & 0xF0;
    return kind == 0xC0 || status == 0xF0 || (kind == 0xB0 && (smf[at] == 0 || smf[at] == 32));
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
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        failure_.reset();
        gain_ = 0.0;
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
    std::shared_ptr<MidiSynthesizer> oldSynth;
    std::shared_ptr<const MidiStream> stream, oldStream;
    const bool song = job != nullptr;
    try {
        if (!loaded_ || loaded_->soundFont() != soundFont) {
            loaded_.reset();
            loaded_ = MakeMidiSynthesizer(soundFont, std::pow(10.0, kProbeLevelDbfs / 20.0), kRate);
        }
        loaded_->holdPresets(presets);
        if (job) {
            stream = std::make_shared<const MidiStream>(job->file, job->song, job->tracks);
            job.reset();
        }
    } catch (const std::exception& e) {
        // Out of memory included: nothing may leave the loader's task.
        std::lock_guard lock(mutex_);
        failure_ =
            LoadFailure{soundFont, e.what(), dynamic_cast<const SoundFontError*>(&e) != nullptr};
        if (generation == generation_ && song) {
            songFailed_ = true;
            finishRequestLocked(NotifyValue::Failure);
            if (state_ == State::Playing) {
                state_ = State::Stopped;
                transport_.run = false;
                ++transport_.serial;
            }
        }
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
    if (song) {
        oldStream = std::exchange(stream_, std::move(stream));
        streamSong_ = generation;
    }
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
    std::vector<SmfMessage> selecting;
    try {
        job->file = ReadSmfBytes(PathFromCp932(name));
        job->song = ParseSmfLayout(job->file, selecting, SelectsInstrument, job->tracks);
    } catch (const SmfError& e) {
        throw DeviceError(SmfOpenMessage(name, e));
    }
    std::vector<SmfEvent> events;
    events.reserve(selecting.size());
    for (const SmfMessage& m : selecting)
        events.push_back(SmfEvent{m.tick, MessageBytes(job->file, m)});
    std::vector<SynthPreset> presets = SongPresets(events);

    std::uint64_t generation;
    {
        std::lock_guard lock(mutex_);
        finishRequestLocked(NotifyValue::Superseded);
        song_ = job->song;
        lengthFrames_ = FramesAt(song_.lengthSeconds());
        positionFrames_ = 0;
        startTick_ = 0;
        state_ = State::Stopped;
        songFailed_ = false;
        generation = ++generation_;
        // The release of the previous song may ring on, but no note of it may hang.
        ++transport_.release;
        transport_.song = generation;
        transport_.run = false;
        transport_.lengthFrames = lengthFrames_;
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
        positionFrames_ = lengthFrames_ = 0;
        startTick_.reset();
        state_ = State::Closed;
        songFailed_ = false;
        ++generation_;
        ++transport_.release;
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
    engine_.wake();
    bool jumped;
    {
        std::lock_guard lock(mutex_);
        jumped = state_ == State::Playing;
        const std::uint64_t tick = std::min(song_.tickAtSeconds(position / 10.0), song_.lastTick());
        startLocked(tick);
    }
    // What the output holds of the old place is not heard.
    if (jumped)
        engine_.flush();
}

void MidiDevice::startLocked(std::optional<std::uint64_t> tick) {
    finishRequestLocked(NotifyValue::Superseded);
    if (!tick && state_ == State::Playing) {
        beginRequestLocked();
        return;
    }
    if (!tick)
        tick = std::exchange(startTick_, std::nullopt);
    if (tick) {
        const double seconds = song_.secondsAtTick(*tick);
        positionFrames_ = std::min(FramesAt(seconds), lengthFrames_);
        startTick_.reset();
        ++transport_.start;
        transport_.startSong = transport_.song;
        transport_.startMicros = static_cast<std::uint64_t>(std::llround(seconds * 1e6));
        transport_.startFrames = positionFrames_;
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
        player_.start(*stream_, t.startMicros);
        playerSong_ = t.song;
        framesPlayed_ = t.startFrames;
        quietFrames_ = 0;
    }
    return t.run && songHere && player_.playing() && playerSong_ == t.song;
}

void MidiDevice::renderAudio(float* out, std::size_t frames) {
    std::lock_guard render(renderMutex_);
    Transport t;
    {
        std::lock_guard lock(mutex_);
        t = transport_;
    }
    if (!synth_ || synthEpoch_ != t.epoch) {
        std::fill(out, out + frames * AudioEngine::kChannels, 0.0f);
        return;
    }
    MidiSynthesizer& synth = *synth_;
    bool playing = applyTransport(t);
    const bool played = playing;
    bool ended = false;
    if (!playing && quietFrames_ >= kTailFrames) {
        std::fill(out, out + frames * AudioEngine::kChannels, 0.0f);
        return;
    }
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(kStepFrames, frames - done);
        if (playing)
            player_.step(synth, MicrosAtFrame(framesPlayed_) + 1);
        synth.render(out + done * AudioEngine::kChannels, n);
        done += n;
        if (!playing)
            continue;
        framesPlayed_ += n;
        if (framesPlayed_ >= t.lengthFrames && player_.finished()) {
            // The last event has played. Notes still held are released and ring out; the
            // next play starts from the top. The player stays at the end: a resume that
            // crossed this end ends again at once.
            framesPlayed_ = t.lengthFrames;
            synth.releaseNotes();
            player_.notesReleased();
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

    std::lock_guard lock(mutex_);
    ringing_ = quietFrames_ < kTailFrames;
    // A control call since the start of this one has its say: its state stands as it set it.
    if (t.serial != transport_.serial)
        return;
    if (played)
        positionFrames_ = std::min(framesPlayed_, lengthFrames_);
    if (ended) {
        state_ = State::Stopped;
        startTick_ = 0;
        transport_.run = false;
        finishRequestLocked(NotifyValue::Successful);
    }
}

bool MidiDevice::sounding() const {
    std::lock_guard lock(mutex_);
    return state_ == State::Playing || ringing_;
}

void MidiDevice::finishRequestLocked(NotifyValue value) {
    // Ended under the device's lock, so that notices reach the UI thread in the order the
    // requests ended, whichever thread ended them.
    notices_->finish(value);
}

} // namespace tobira
