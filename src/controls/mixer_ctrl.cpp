// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/mixer_ctrl.h"

#include <algorithm>

namespace tobira {

std::uint32_t ComponentTypeOf(TMixerCtrlLine line) {
    namespace mc = mixer_component;
    switch (line) {
    case TMixerCtrlLine::mclWave:
        return mc::WaveOut;
    case TMixerCtrlLine::mclMIDI:
        return mc::Synthesizer;
    case TMixerCtrlLine::mclCD:
        return mc::CompactDisc;
    case TMixerCtrlLine::mclDigital:
        return mc::Digital;
    case TMixerCtrlLine::mclAux:
        return mc::Auxiliary;
    case TMixerCtrlLine::mclLine:
        return mc::Line;
    case TMixerCtrlLine::mclMIC:
        return mc::Microphone;
    case TMixerCtrlLine::mclAnalog:
        return mc::Analog;
    case TMixerCtrlLine::mclPCSpeaker:
        return mc::PcSpeaker;
    case TMixerCtrlLine::mclTelephone:
        return mc::Telephone;
    case TMixerCtrlLine::mclUndefined:
        return mc::Undefined;
    }
    return mc::Undefined;
}

TMixerCtrl::TMixerCtrl(AudioEngine* engine) : TCustomMixerCtrl(engine) {}

void TMixerCtrl::SetLines(std::set<TMixerCtrlLine> lines) {
    Lines = std::move(lines);
    if (HandleAllocated())
        UpdateLines();
}

void TMixerCtrl::SetLineLabels(std::vector<std::string> labels) {
    LineLabels = std::move(labels);
    for (std::size_t i = 0; i < columns_.size() && i < LineLabels.size(); ++i)
        columns_[i].Label = LineLabels[i];
}

bool TMixerCtrl::SetTrackBarMax(int value) {
    if (value - TrackBar.Min > 32768)
        return false;
    TrackBar.Max = value;
    RefreshValues();
    return true;
}

bool TMixerCtrl::SetTrackBarMin(int value) {
    if (TrackBar.Max - value > 32768)
        return false;
    TrackBar.Min = value;
    RefreshValues();
    return true;
}

int TMixerCtrl::PositionFromValue(std::uint32_t value) const {
    const long long range = TrackBar.Max - TrackBar.Min;
    return TrackBar.Max - static_cast<int>((static_cast<long long>(value) * range + 32768) / 65535);
}

std::uint32_t TMixerCtrl::ValueFromPosition(int position) const {
    const long long range = TrackBar.Max - TrackBar.Min;
    if (range <= 0)
        return 0;
    const long long value =
        (static_cast<long long>(TrackBar.Max - position) * 65535 + range / 2) / range;
    return static_cast<std::uint32_t>(std::clamp<long long>(value, 0, 65535));
}

void TMixerCtrl::UpdateLines() {
    columns_.clear();
    const int destination = CurrentDestination();
    if (DestinationLineID(destination) >= 0) {
        MixerColumn column;
        column.Tag = destination;
        column.IsDestination = true;
        column.MuteEnabled = HasMute(DestinationLineID(destination));
        column.Label = DestinationShortName(destination);
        columns_.push_back(column);

        std::set<std::uint32_t> wanted;
        for (TMixerCtrlLine line : Lines)
            wanted.insert(ComponentTypeOf(line));
        for (int source = 0; source < SourceCount(); ++source) {
            if (SourceLineID(source) < 0 || !wanted.count(SourceComponentType(source)))
                continue;
            MixerColumn sourceColumn;
            sourceColumn.Tag = source;
            sourceColumn.MuteEnabled = HasMute(SourceLineID(source));
            sourceColumn.Label = SourceShortName(source).substr(0, 16);
            columns_.push_back(sourceColumn);
        }
    }
    LineLabels.clear();
    for (const MixerColumn& column : columns_)
        LineLabels.push_back(column.Label);
    RefreshValues();
}

void TMixerCtrl::RefreshValues() {
    refreshing_ = true;
    for (MixerColumn& column : columns_) {
        if (column.IsDestination) {
            column.Position = PositionFromValue(GetDestinationVolume());
            column.Mute = GetDestinationMute(column.Tag);
        } else {
            column.Position = PositionFromValue(GetSourceVolume(column.Tag));
            column.Mute = GetSourceMute(column.Tag);
        }
    }
    refreshing_ = false;
}

void TMixerCtrl::SliderChange(int index, int position) {
    if (refreshing_ || index < 0 || index >= static_cast<int>(columns_.size()))
        return;
    MixerColumn& column = columns_[index];
    column.Position = position;
    if (column.IsDestination)
        SetDestinationVolume(column.Tag, ValueFromPosition(position));
    else
        SetSourceVolume(column.Tag, ValueFromPosition(position));
}

void TMixerCtrl::MuteClick(int index, bool on) {
    if (refreshing_ || index < 0 || index >= static_cast<int>(columns_.size()))
        return;
    MixerColumn& column = columns_[index];
    column.Mute = on;
    if (column.IsDestination)
        SetDestinationMute(column.Tag, on);
    else
        SetSourceMute(column.Tag, on);
}

void TMixerCtrl::MixerControlChange(std::intptr_t controlId) {
    RefreshValues();
    TCustomMixerCtrl::MixerControlChange(controlId);
}

} // namespace tobira
