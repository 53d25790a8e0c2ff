// SPDX-License-Identifier: GPL-3.0-or-later
// The volume bar, mute and the applause level, turned into mixer line volumes.
#include "player/form_main.h"

#include "controls/custom_mixer_ctrl.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <string>

namespace tobira {
namespace {

constexpr int kMaxLevel = 10;
constexpr int kMaxApplauseLevel = 9;
constexpr std::uint32_t kFullUnits = 65535;

std::string marks(int level) {
    return std::string(static_cast<std::size_t>(std::clamp(level, 0, kMaxLevel)), 'I');
}

// Percent (0..100, steps of ten) over a range divisor to mixer units, in integers throughout
// as the volume examples of the settings window expect: 100 over 3 is 33 %, 21626 units.
std::uint32_t units(int percent, int range) {
    const int value = std::clamp(percent, 0, 100) / std::max(range, 1);
    return static_cast<std::uint32_t>(value) * kFullUnits / 100;
}

} // namespace

void TFormMain::FindMixerLines() {
    SpeakersLine = MixerCtrl1.FindDestination(mixer_component::Speakers);
    // A machine without a CD line gets its CD volume nowhere rather than on whatever line
    // happens to come first (that would be the applause).
    CdLine = -1;
    for (std::uint32_t type :
         {mixer_component::CompactDisc, mixer_component::Digital, mixer_component::Auxiliary}) {
        CdLine = MixerCtrl1.FindSource(SpeakersLine, type);
        if (CdLine >= 0)
            break;
    }
    WaveLine = MixerCtrl1.FindSource(SpeakersLine, mixer_component::WaveOut);
    SynthLine = MixerCtrl1.FindSource(SpeakersLine, mixer_component::Synthesizer);
}

void TFormMain::SetCdVolume(int value) {
    if (CdLine >= 0)
        MixerCtrl1.SetSourceVolume(CdLine, units(value, options().CdVolumeRange));
}

void TFormMain::SetMidiVolume(int value) {
    if (SynthLine >= 0)
        MixerCtrl1.SetSourceVolume(SynthLine, units(value, options().MidiVolumeRange));
    const std::string hint =
        Utf8ToCp932("実際の音量値は " + std::to_string(std::clamp(value, 0, 100) / 10) + " です");
    LabelVol.Hint = hint;
    LabelVolBak.Hint = hint;
}

void TFormMain::SetWaveVolume(int value) {
    if (WaveLine >= 0)
        MixerCtrl1.SetSourceVolume(WaveLine, units(value, 1));
}

int TFormMain::VolumeLevel() const {
    return std::min(static_cast<int>(LabelVol.Caption.size()), kMaxLevel);
}

void TFormMain::ApplyVolumeLevel(int level) {
    const SetupOptions setup = options();
    if (PlayerMode == PlayerModeKind::CD) {
        if (setup.CdVolumeControl)
            SetCdVolume(level * 10);
    } else if (setup.MidiVolumeControl) {
        SetMidiVolume(level * 10);
    }
}

void TFormMain::SpeedButtonVolDownClick() {
    if (!IsVolumeActive())
        return;
    int level = VolumeLevel();
    if (level == 0)
        return;
    --level;
    if (level == 0)
        LabelVol.Visible = false;
    LabelVol.Caption = marks(level);
    ApplyVolumeLevel(level);
}

void TFormMain::SpeedButtonVolUpClick() {
    if (!IsVolumeActive())
        return;
    int level = VolumeLevel();
    if (level == 0)
        LabelVol.Visible = true;
    if (level >= kMaxLevel)
        return;
    ++level;
    LabelVol.Caption = marks(level);
    ApplyVolumeLevel(level);
}

void TFormMain::SpeedButtonVolDownMouseDown(MouseButton button) {
    if (button != MouseButton::Right || !ImageLIVE)
        return;
    if (ProgressBarWave > 0)
        --ProgressBarWave;
    SetWaveVolume(ProgressBarWave * 10);
}

void TFormMain::SpeedButtonVolUpMouseDown(MouseButton button) {
    if (button != MouseButton::Right || !ImageLIVE)
        return;
    if (ProgressBarWave < kMaxApplauseLevel)
        ++ProgressBarWave;
    SetWaveVolume(ProgressBarWave * 10);
}

void TFormMain::SpeedButtonSTOPMouseDown(MouseButton button) {
    if (button != MouseButton::Right)
        return;
    if (IsVolumeActive()) {
        ApplyVolumeLevel(0);
        SetMuted(true);
        return;
    }
    // Muted, or switched off in the settings: back to active, but only with marks to apply.
    const int level = VolumeLevel();
    if (level < 1)
        return;
    SetMuted(false);
    ApplyVolumeLevel(level);
}

} // namespace tobira
