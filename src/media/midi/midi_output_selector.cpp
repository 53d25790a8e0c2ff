// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/midi_output_selector.h"

namespace tobira {

MidiOutputSelector::MidiOutputSelector(MediaDevice& builtIn, MidiPortDevice& external)
    : builtIn_(builtIn), external_(external), active_(&builtIn) {
    builtIn_.setNotifyHandler([this](NotifyValue value) { notify(value); });
    external_.setNotifyHandler([this](NotifyValue value) { notify(value); });
}

void MidiOutputSelector::open() {
    MediaDevice* wanted = port_.empty() ? &builtIn_ : static_cast<MediaDevice*>(&external_);
    if (wanted != active_ && active_->isOpen()) {
        try {
            active_->close();
        } catch (const DeviceError&) {
            // The other device goes out of use either way.
        }
    }
    if (wanted == &external_)
        external_.setPort(port_);
    wanted->setFileName(fileName());
    active_ = wanted;
    active_->open();
}

void MidiOutputSelector::close() {
    active_->close();
}

bool MidiOutputSelector::isOpen() const {
    return active_->isOpen();
}

void MidiOutputSelector::prepare() {
    if (port_.empty())
        builtIn_.prepare();
}

void MidiOutputSelector::release() {
    builtIn_.release();
    external_.release();
}

void MidiOutputSelector::play() {
    active_->play();
}

void MidiOutputSelector::playFrom(std::uint32_t position) {
    active_->playFrom(position);
}

void MidiOutputSelector::seek(std::uint32_t position) {
    active_->seek(position);
}

void MidiOutputSelector::stop() {
    active_->stop();
}

void MidiOutputSelector::pause() {
    active_->pause();
}

void MidiOutputSelector::previous() {
    active_->previous();
}

void MidiOutputSelector::eject() {
    active_->eject();
}

DeviceMode MidiOutputSelector::mode() const {
    return active_->mode();
}

int MidiOutputSelector::tracks() const {
    return active_->tracks();
}

std::uint32_t MidiOutputSelector::trackLength(int track) const {
    return active_->trackLength(track);
}

std::uint32_t MidiOutputSelector::position() const {
    return active_->position();
}

std::uint32_t MidiOutputSelector::length() const {
    return active_->length();
}

std::string MidiOutputSelector::takeProblem() {
    return active_->takeProblem();
}

} // namespace tobira
