// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/sequencer_player.h"

#include <algorithm>
#include <array>

namespace tobira {

void SequencerPlayer::load(MidiSchedule schedule) {
    if (state_ == State::Playing)
        halt(State::Stopped);
    schedule_ = std::move(schedule);
    startMicros_ = 0;
    startIndex_ = 0;
    atEnd_ = false;
    state_ = State::Stopped;
}

void SequencerPlayer::unload() {
    if (state_ == State::Playing)
        halt(State::Stopped);
    schedule_ = MidiSchedule();
    startMicros_ = 0;
    startIndex_ = 0;
    atEnd_ = false;
    state_ = State::Closed;
}

bool SequencerPlayer::play() {
    if (state_ == State::Playing || state_ == State::Closed)
        return false;
    return start(startMicros_, startIndex_);
}

bool SequencerPlayer::playFrom(std::uint64_t micros) {
    if (state_ == State::Closed)
        return false;
    if (state_ == State::Playing)
        halt(State::Stopped);
    micros = std::min(micros, schedule_.lengthMicros());
    return start(micros, schedule_.firstAtOrAfter(micros));
}

bool SequencerPlayer::start(std::uint64_t micros, std::size_t index) {
    // A song that starts later than its beginning finds the module as the earlier part of the
    // song would have left it, not as the last halt's reset did.
    if (index > 0)
        for (const auto& message : schedule_.channelStateBefore(index))
            sink_.sendNow(message);
    sink_.startClock(micros);
    startMicros_ = micros;
    startIndex_ = index;
    next_ = index;
    atEnd_ = false;
    state_ = State::Playing;
    return pump();
}

void SequencerPlayer::stop() {
    if (state_ == State::Playing)
        halt(State::Stopped);
}

void SequencerPlayer::pause() {
    if (state_ == State::Playing)
        halt(State::Paused);
}

void SequencerPlayer::rewind() {
    if (state_ == State::Closed)
        return;
    if (state_ == State::Playing)
        halt(State::Stopped);
    state_ = State::Stopped;
    startMicros_ = 0;
    startIndex_ = 0;
    atEnd_ = false;
}

void SequencerPlayer::halt(State next) {
    sink_.haltClock();
    const std::uint64_t at = std::min(sink_.clockMicros(), schedule_.lengthMicros());
    sink_.dropQueued();
    silence();
    sink_.flush();
    // Whatever was due by the halted clock has reached the module; the rest is sent again.
    startMicros_ = at;
    startIndex_ = std::min(schedule_.firstAfter(at), next_);
    state_ = next;
}

void SequencerPlayer::silence() {
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        const std::uint8_t status = 0xB0 | channel;
        // Reset first: a held sustain pedal would keep the notes sounding through the notes-off.
        const std::array<std::uint8_t, 3> reset{status, 121, 0};
        const std::array<std::uint8_t, 3> notesOff{status, 123, 0};
        sink_.sendNow(reset);
        sink_.sendNow(notesOff);
    }
}

bool SequencerPlayer::pump() {
    if (state_ != State::Playing)
        return false;
    const std::uint64_t now = sink_.clockMicros();
    const auto& events = schedule_.events();
    const std::uint64_t horizon = now + kLookaheadMicros;
    while (next_ < events.size() && events[next_].micros < horizon) {
        if (!sink_.schedule(events[next_].micros, events[next_].bytes))
            break;
        ++next_;
    }
    sink_.flush();
    if (next_ < events.size() || now < schedule_.lengthMicros())
        return false;
    // The last event has been played: the next play starts from the top.
    sink_.haltClock();
    state_ = State::Stopped;
    startMicros_ = 0;
    startIndex_ = 0;
    atEnd_ = true;
    return true;
}

std::uint64_t SequencerPlayer::positionMicros() const {
    if (state_ == State::Closed)
        return 0;
    if (state_ == State::Playing)
        return std::min(sink_.clockMicros(), schedule_.lengthMicros());
    return atEnd_ ? schedule_.lengthMicros() : startMicros_;
}

} // namespace tobira
