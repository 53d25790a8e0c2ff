// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/custom_mixer_ctrl.h"

#include <algorithm>
#include <array>

namespace tobira {

namespace {

struct LineInfo {
    MixerLine line;
    std::uint32_t componentType;
    const char* shortName; // ASCII, so already code page 932
};

constexpr LineInfo kDestination{MixerLine::Speakers, mixer_component::Speakers, "Volume"};

// Source indices of the speakers destination, in this fixed order.
constexpr std::array<LineInfo, 3> kSources{{
    {MixerLine::WaveOut, mixer_component::WaveOut, "Wave"},
    {MixerLine::Synthesizer, mixer_component::Synthesizer, "SW Synth"},
    {MixerLine::CompactDisc, mixer_component::CompactDisc, "CD Audio"},
}};

constexpr std::uint16_t ToVolume(std::uint32_t value) {
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(value, AudioEngine::kFullVolume));
}

} // namespace

TCustomMixerCtrl::TCustomMixerCtrl(AudioEngine* engine) : engine_(engine) {}

TCustomMixerCtrl::~TCustomMixerCtrl() {
    closeMixer();
}

void TCustomMixerCtrl::closeMixer() {
    if (listener_ != 0)
        engine_->removeControlListener(listener_);
    listener_ = 0;
}

void TCustomMixerCtrl::SetMixerID(int value) {
    closeMixer();
    if (!hasWindow_ || value < 0 || value >= MixerDeviceCount())
        return;
    mixerId_ = value;
    // The engine calls its listeners on the thread that changed the control, which is this
    // one: every volume and mute change is made on the UI thread.
    listener_ = engine_->addControlListener([this](MixerLine line, MixerChange what) {
        if (what == MixerChange::Source)
            MixerLineChange(static_cast<std::intptr_t>(line));
        else
            MixerControlChange(ControlID(line, what));
    });
}

int TCustomMixerCtrl::MixerID() const {
    return isOpen() && mixerId_ < MixerDeviceCount() ? mixerId_ : -1;
}

std::intptr_t TCustomMixerCtrl::MixerHandle() const {
    return isOpen() ? reinterpret_cast<std::intptr_t>(engine_) : 0;
}

void TCustomMixerCtrl::CreateWnd() {
    hasWindow_ = true;
    SetMixerID(mixerId_);
    destination_ = FindDestination(mixer_component::Speakers);
    UpdateLines();
}

int TCustomMixerCtrl::DestinationCount() const {
    return MixerID() == -1 ? 0 : 1;
}

std::optional<MixerLine> TCustomMixerCtrl::destinationLine(int destination) const {
    if (!isOpen() || destination != 0)
        return std::nullopt;
    return kDestination.line;
}

std::optional<MixerLine> TCustomMixerCtrl::SourceLine(int source) const {
    if (!destinationLine(destination_) || source < 0 || source >= static_cast<int>(kSources.size()))
        return std::nullopt;
    return kSources[source].line;
}

int TCustomMixerCtrl::SourceCount() const {
    return destinationLine(destination_) ? static_cast<int>(kSources.size()) : 0;
}

int TCustomMixerCtrl::FindDestination(std::uint32_t componentType) const {
    for (int d = 0; d < DestinationCount(); ++d)
        if (DestinationComponentType(d) == componentType)
            return d;
    return -1;
}

int TCustomMixerCtrl::FindSource(std::uint32_t componentType) const {
    for (int s = 0; s < SourceCount(); ++s)
        if (SourceComponentType(s) == componentType)
            return s;
    return -1;
}

int TCustomMixerCtrl::FindSource(int, std::uint32_t componentType) const {
    return FindSource(componentType);
}

std::uint32_t TCustomMixerCtrl::GetDestinationVolume() const {
    const auto line = destinationLine(destination_);
    if (!line)
        return 0;
    return std::max(engine_->volume(*line, 0), engine_->volume(*line, 1));
}

std::uint32_t TCustomMixerCtrl::GetSourceVolume(int source) const {
    const auto line = SourceLine(source);
    if (!line)
        return 0;
    return std::max(engine_->volume(*line, 0), engine_->volume(*line, 1));
}

void TCustomMixerCtrl::SetDestinationVolume(int destination, std::uint32_t value) {
    if (const auto line = destinationLine(destination))
        engine_->setLineVolume(*line, ToVolume(value));
}

void TCustomMixerCtrl::SetSourceVolume(int source, std::uint32_t value) {
    if (const auto line = SourceLine(source))
        engine_->setLineVolume(*line, ToVolume(value));
}

bool TCustomMixerCtrl::GetDestinationMute(int destination) const {
    const auto line = destinationLine(destination);
    return line && engine_->mute(*line);
}

void TCustomMixerCtrl::SetDestinationMute(int destination, bool on) {
    if (const auto line = destinationLine(destination))
        engine_->setMute(*line, on);
}

bool TCustomMixerCtrl::GetSourceMute(int source) const {
    const auto line = SourceLine(source);
    return line && engine_->mute(*line);
}

void TCustomMixerCtrl::SetSourceMute(int source, bool on) {
    if (const auto line = SourceLine(source))
        engine_->setMute(*line, on);
}

bool TCustomMixerCtrl::HasMute(std::intptr_t lineId) const {
    // Every line of the engine has a mute.
    return isOpen() && lineId >= 0 && lineId < kMixerLineCount;
}

std::intptr_t TCustomMixerCtrl::DestinationLineID(int destination) const {
    const auto line = destinationLine(destination);
    return line ? static_cast<std::intptr_t>(*line) : -1;
}

std::intptr_t TCustomMixerCtrl::SourceLineID(int source) const {
    const auto line = SourceLine(source);
    return line ? static_cast<std::intptr_t>(*line) : -1;
}

std::string TCustomMixerCtrl::DestinationShortName(int destination) const {
    return destinationLine(destination) ? kDestination.shortName : "";
}

std::string TCustomMixerCtrl::SourceShortName(int source) const {
    return SourceLine(source) ? kSources[source].shortName : "";
}

std::uint32_t TCustomMixerCtrl::DestinationComponentType(int destination) const {
    return destinationLine(destination) ? kDestination.componentType : 0;
}

std::uint32_t TCustomMixerCtrl::SourceComponentType(int source) const {
    return SourceLine(source) ? kSources[source].componentType : 0;
}

std::intptr_t TCustomMixerCtrl::ControlID(MixerLine line, MixerChange control) {
    // Two controls per line: volume, then mute.
    return static_cast<std::intptr_t>(line) * 2 + (control == MixerChange::Mute ? 1 : 0);
}

void TCustomMixerCtrl::MixerLineChange(std::intptr_t lineId) {
    if (OnLineChange)
        OnLineChange(*this, MixerHandle(), lineId);
}

void TCustomMixerCtrl::MixerControlChange(std::intptr_t controlId) {
    if (OnControlChange)
        OnControlChange(*this, MixerHandle(), controlId);
}

} // namespace tobira
