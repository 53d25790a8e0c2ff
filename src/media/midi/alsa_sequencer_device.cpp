// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/alsa_sequencer_device.h"

#include "media/midi/alsa_seq_sink.h"
#include "media/play_notices.h"
#include "media/midi/sequencer_player.h"
#include "media/midi/smf_reader.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace tobira {
namespace {

// Often enough to keep the queue filled well within the player's lookahead, and to notice an
// unplugged module within a moment.
constexpr auto kFeedInterval = std::chrono::milliseconds(50);

std::uint32_t Tenths(std::uint64_t micros) {
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>((micros + 50'000) / 100'000, 0xFFFFFFFFu));
}

} // namespace

AlsaSequencerDevice::AlsaSequencerDevice(UiPostPort& uiPost)
    : notices_(std::make_unique<PlayNotices>(uiPost, [this](NotifyValue v) { notify(v); })) {}

AlsaSequencerDevice::~AlsaSequencerDevice() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wakeFeeder_.notify_all();
    if (feeder_.joinable())
        feeder_.join();
    // No notice is delivered once the device starts to go.
    notices_.reset();
    try {
        std::lock_guard lock(mutex_);
        if (player_)
            player_->unload();
    } catch (const DeviceError&) {
    }
}

void AlsaSequencerDevice::setPort(std::string cp932Name) {
    std::lock_guard lock(mutex_);
    port_ = std::move(cp932Name);
}

std::vector<std::string> AlsaSequencerDevice::listPorts() const {
    std::vector<std::string> ports;
    for (const std::string& name : ListAlsaSeqPorts())
        ports.push_back(Utf8ToCp932(name));
    return ports;
}

void AlsaSequencerDevice::requireOpenLocked() const {
    // Checked under the lock: the feeder may let go of a lost port at any moment.
    if (!player_ || player_->state() == SequencerPlayer::State::Closed)
        throw DeviceError(Utf8ToCp932("ＭＩＤＩシーケンサが開かれていません"));
}

void AlsaSequencerDevice::open() {
    const std::string& name = fileName();
    MidiSchedule schedule;
    try {
        schedule = ScheduleSmf(ReadSmfBytes(PathFromCp932(name)));
    } catch (const SmfError& e) {
        throw DeviceError(SmfOpenMessage(name, e));
    }
    std::lock_guard lock(mutex_);
    notices_->finish(NotifyValue::Superseded);
    std::string wanted = Cp932ToUtf8(port_);
    if (!sink_ || sink_->portName() != wanted || !sink_->connected()) {
        // A name with a character code page 932 lacks does not come back whole from the
        // setting: find the port it was made from.
        for (const std::string& port : ListAlsaSeqPorts())
            if (Utf8ToCp932(port) == port_)
                wanted = port;
        if (player_) {
            try {
                player_->unload(); // the module of the old port must not hang on a note
            } catch (const DeviceError&) {
            }
        }
        player_.reset();
        sink_.reset();
        try {
            sink_ = std::make_unique<AlsaSeqSink>(wanted);
        } catch (const DeviceError& e) {
            problem_ = e.what(); // the device stays closed; the player tells why
            throw;
        }
        player_ = std::make_unique<SequencerPlayer>(*sink_);
    }
    problem_.clear();
    try {
        player_->load(std::move(schedule));
    } catch (const DeviceError& e) {
        loseLocked(e.what());
        throw;
    }
    if (!feeder_.joinable())
        feeder_ = std::thread([this] { feed(); });
}

template <typename Step> void AlsaSequencerDevice::control(Step step, bool rethrow) {
    try {
        step(*player_);
    } catch (const DeviceError& e) {
        loseLocked(e.what());
        if (rethrow)
            throw;
    }
}

void AlsaSequencerDevice::close() {
    std::lock_guard lock(mutex_);
    if (!player_ || player_->state() == SequencerPlayer::State::Closed)
        return;
    notices_->finish(NotifyValue::Aborted);
    control([](SequencerPlayer& p) { p.unload(); }, false);
}

bool AlsaSequencerDevice::isOpen() const {
    std::lock_guard lock(mutex_);
    return player_ && player_->state() != SequencerPlayer::State::Closed;
}

void AlsaSequencerDevice::release() {
    try {
        close();
    } catch (const DeviceError&) {
    }
    std::lock_guard lock(mutex_);
    player_.reset();
    sink_.reset();
}

void AlsaSequencerDevice::play() {
    std::lock_guard lock(mutex_);
    requireOpenLocked();
    notices_->finish(NotifyValue::Superseded);
    bool ended = false;
    control([&ended](SequencerPlayer& p) { ended = p.play(); }, true);
    startRequestLocked(ended);
}

void AlsaSequencerDevice::playFrom(std::uint32_t position) {
    std::lock_guard lock(mutex_);
    requireOpenLocked();
    notices_->finish(NotifyValue::Superseded);
    bool ended = false;
    control([position,
             &ended](SequencerPlayer& p) { ended = p.playFrom(std::uint64_t{position} * 100'000); },
            true);
    startRequestLocked(ended);
}

void AlsaSequencerDevice::startRequestLocked(bool ended) {
    notices_->begin();
    // A song with nothing left to play ends here; the feeder would never see it play.
    if (ended)
        notices_->finish(NotifyValue::Successful);
    else
        wakeFeeder_.notify_all();
}

void AlsaSequencerDevice::stop() {
    std::lock_guard lock(mutex_);
    requireOpenLocked();
    notices_->finish(NotifyValue::Aborted);
    control([](SequencerPlayer& p) { p.stop(); }, false);
}

void AlsaSequencerDevice::pause() {
    std::lock_guard lock(mutex_);
    requireOpenLocked();
    notices_->finish(NotifyValue::Aborted);
    control([](SequencerPlayer& p) { p.pause(); }, false);
}

void AlsaSequencerDevice::previous() {
    std::lock_guard lock(mutex_);
    requireOpenLocked();
    notices_->finish(NotifyValue::Aborted);
    control([](SequencerPlayer& p) { p.rewind(); }, false);
}

void AlsaSequencerDevice::eject() {
    std::lock_guard lock(mutex_);
    requireOpenLocked();
}

DeviceMode AlsaSequencerDevice::mode() const {
    std::lock_guard lock(mutex_);
    if (!player_)
        return DeviceMode::NotReady;
    switch (player_->state()) {
    case SequencerPlayer::State::Closed:
        return DeviceMode::NotReady;
    case SequencerPlayer::State::Stopped:
        return DeviceMode::Stopped;
    case SequencerPlayer::State::Playing:
        return DeviceMode::Playing;
    case SequencerPlayer::State::Paused:
        return DeviceMode::Paused;
    }
    return DeviceMode::NotReady;
}

int AlsaSequencerDevice::tracks() const {
    std::lock_guard lock(mutex_);
    requireOpenLocked();
    return 1;
}

std::uint32_t AlsaSequencerDevice::trackLength(int track) const {
    return track == 1 ? length() : 0;
}

std::uint32_t AlsaSequencerDevice::position() const {
    std::lock_guard lock(mutex_);
    if (!player_)
        return 0;
    try {
        return Tenths(player_->positionMicros());
    } catch (const DeviceError&) {
        return 0; // the feeder reports the lost port
    }
}

std::uint32_t AlsaSequencerDevice::length() const {
    std::lock_guard lock(mutex_);
    requireOpenLocked();
    return Tenths(player_->lengthMicros());
}

std::string AlsaSequencerDevice::takeProblem() {
    std::lock_guard lock(mutex_);
    return std::exchange(problem_, {});
}

void AlsaSequencerDevice::loseLocked(const std::string& why) {
    problem_ = Utf8ToCp932("ＭＩＤＩ出力先【") + port_ +
               Utf8ToCp932("】との接続が切れたため、再生を止めました。音源の電源と接続を"
                           "確かめてください（") +
               why + Utf8ToCp932("）");
    notices_->finish(NotifyValue::Failure);
    // Without a port there is nothing to silence: the connection simply goes.
    player_.reset();
    sink_.reset();
}

void AlsaSequencerDevice::feed() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
        const bool playing = player_ && player_->state() == SequencerPlayer::State::Playing;
        if (playing)
            wakeFeeder_.wait_for(lock, kFeedInterval);
        else
            wakeFeeder_.wait(lock);
        if (quit_ || !player_ || player_->state() != SequencerPlayer::State::Playing)
            continue;
        try {
            if (!sink_->connected())
                throw DeviceError(Utf8ToCp932("ポートがなくなったか、接続が外されました"));
            if (player_->pump())
                notices_->finish(NotifyValue::Successful);
        } catch (const DeviceError& e) {
            loseLocked(e.what());
        }
    }
}

} // namespace tobira
