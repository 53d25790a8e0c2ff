// SPDX-License-Identifier: GPL-3.0-or-later
// The player state the strip's colours hold, and the blinks of the strip. The colours are read
// and written here only.
#include "player/form_main.h"

#include "media/media_device.h"

namespace tobira {

bool TFormMain::IsCdPlaying() const {
    return DiscInfoRead && Devices.CD.mode() == DeviceMode::Playing && !IsPlayIdle();
}

bool TFormMain::IsCdPaused() const {
    // A paused CD reports stopped: only the pause lamp tells it from a stopped one.
    return DiscInfoRead && Devices.CD.mode() == DeviceMode::Stopped && IsPauseLampOn();
}

bool TFormMain::IsRepeatOn() const {
    return LabelPLAY.Font == colors::Yellow;
}

bool TFormMain::IsMidiPlaying() const {
    return Devices.MIDI.mode() == DeviceMode::Playing && !IsPlayIdle();
}

bool TFormMain::IsMidiPaused() const {
    return Devices.MIDI.mode() == DeviceMode::Paused && IsPauseLampOn();
}

bool TFormMain::EndlessPlay() const {
    return PanelPOW.Font == colors::Yellow;
}

bool TFormMain::IsPlayIdle() const {
    return LabelPLAY.Font == colors::Teal;
}

bool TFormMain::IsPlayingOnce() const {
    return LabelPLAY.Font == colors::Aqua;
}

bool TFormMain::PlayLampLit() const {
    return IsPlayingOnce() || IsRepeatOn();
}

bool TFormMain::IsPauseLampOn() const {
    return LabelPAUSE.Font == colors::Yellow;
}

bool TFormMain::IsVolumeActive() const {
    return LabelVol.Font == colors::Aqua;
}

bool TFormMain::IsMuted() const {
    return LabelVol.Font == colors::Yellow;
}

void TFormMain::SetPlayIdle() {
    LabelPLAY.Font = colors::Teal;
}

void TFormMain::SetPlaying() {
    LabelPLAY.Font = colors::Aqua;
}

void TFormMain::ToggleRepeat() {
    LabelPLAY.Font = IsPlayingOnce() ? colors::Yellow : colors::Aqua;
}

void TFormMain::SetPauseLamp(bool on) {
    LabelPAUSE.Font = on ? colors::Yellow : colors::Teal;
}

void TFormMain::SetMuted(bool muted) {
    LabelVol.Font = muted ? colors::Yellow : colors::Aqua;
}

void TFormMain::SetEndless(bool endless) {
    PanelPOW.Font = endless ? colors::Yellow : colors::Lime;
}

void TFormMain::ShowReadingLamp() {
    LabelPLAY.Font = colors::Yellow;
}

void TFormMain::ShowNoDiscLamps() {
    LabelPLAY.Font = colors::Lime;
    LabelSTOP.Font = colors::Lime;
}

void TFormMain::BlinkNoDiscLamps() {
    const Color blink = IsPlayIdle() ? colors::Lime : colors::Teal;
    LabelPLAY.Font = blink;
    LabelSTOP.Font = blink;
}

void TFormMain::Blink(LabelState& label) {
    label.Font = label.Font == colors::Aqua ? colors::Teal : colors::Aqua;
}

bool TFormMain::IsCurrentMark(const LabelState& mark) {
    return mark.Font == colors::Yellow;
}

void TFormMain::SetCurrentMark(LabelState& mark) {
    mark.Font = colors::Yellow;
}

bool TFormMain::IsMidiTitleLit() const {
    return LabelMidiTitle.Font == colors::Aqua;
}

bool TFormMain::IsMidiTitleBlanked() const {
    return LabelMidiTitle.Font == colors::Black;
}

void TFormMain::SetMidiTitleLit(bool lit) {
    LabelMidiTitle.Font = lit ? colors::Aqua : colors::Black;
}

} // namespace tobira
