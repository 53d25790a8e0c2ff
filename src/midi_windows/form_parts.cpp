// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/form_parts.h"

#include "forms/position_check.h"
#include "media/midi/melody_part.h"
#include "media/midi/midi_device.h"
#include "media/midi/module_effect_types.h"
#include "media/midi/smf_reader.h"
#include "media/midi/sound_module.h"
#include "media/midi/soundfont_presets.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tobira {
namespace {

constexpr int kDrumBank = 128;
constexpr double kMeterFloorDb = -60.0;

int Segments(float peak) {
    if (peak <= 0.0f)
        return 0;
    const double db = 20.0 * std::log10(peak);
    const double step = -kMeterFloorDb / TFormParts::kMeterSegments;
    return std::clamp(static_cast<int>(std::ceil((db - kMeterFloorDb) / step)), 0,
                      TFormParts::kMeterSegments);
}

int Packed(const std::optional<SynthPreset>& p) {
    return p ? p->bank << 8 | p->program : -1;
}

} // namespace

TFormParts::TFormParts(ScreenPort& screen, std::string settingsPath, MidiDevice* synth)
    : FormModel(Utf8ToCp932("ＭＩＤＩ パート"), kDefaultWidth, kDefaultHeight), screen_(screen),
      settingsPath_(std::move(settingsPath)), synth_(synth) {
    for (int part = 0; part < kParts; ++part) {
        PartRow& row = Parts[static_cast<std::size_t>(part)];
        row.LabelPart.Caption = std::to_string(part + 1);
        row.LabelPart.Hint = Utf8ToCp932("クリックでメロディパートに選ぶ");
        row.SpeedButtonMute = MakeButton("M", "このパートを消す");
        row.SpeedButtonSolo = MakeButton("S", "このパートだけを鳴らす");
    }
    SpeedButtonMelody = MakeButton("Melody Off", "カラオケのメロディパートを消す", false);
    shownPreset_.fill(-2);
}

void TFormParts::FormCreate() {
    FormCreate(IniSnapshot(settingsPath_));
}

void TFormParts::FormCreate(const IniSnapshot& settings) {
    const ScreenPoint stored{ReadSetting(settings, keys::PARTPOSX),
                             ReadSetting(settings, keys::PARTPOSY)};
    const ScreenSize screen = screen_.screenSize();
    if (SideWindowPositionUsable(stored, screen)) {
        Left = stored.x;
        Top = stored.y;
    } else {
        CentreOn(screen);
    }
}

void TFormParts::FormShow() {
    TimerPartsEnabled = synth_ != nullptr;
    if (synth_)
        synth_->parts().meter(true);
    TimerPartsTimer();
}

void TFormParts::FormHide() {
    TimerPartsEnabled = false;
    if (synth_)
        synth_->parts().meter(false);
}

void TFormParts::SongStarted(const std::string& cp932Path, bool karaoke) {
    SongEnded();
    if (karaoke) {
        try {
            RegularFile file = OpenSmfFile(PathFromCp932(cp932Path));
            melodyPart_ = FindMelodyPart(SmfBytesOf(ReadOpenedSmf(file)));
        } catch (const SmfError&) {
            melodyPart_ = -1; // the player tells the song's own faults
        }
    }
    showMelody();
}

void TFormParts::SongEnded() {
    for (PartRow& row : Parts)
        row.SpeedButtonMute.Down = row.SpeedButtonSolo.Down = false;
    SpeedButtonMelody.Down = false;
    melodyPart_ = -1;
    showMelody();
    applySilence();
}

void TFormParts::SpeedButtonMuteClick(int part) {
    ButtonState& b = Parts[static_cast<std::size_t>(part & 15)].SpeedButtonMute;
    b.Down = !b.Down;
    applySilence();
}

void TFormParts::SpeedButtonSoloClick(int part) {
    ButtonState& b = Parts[static_cast<std::size_t>(part & 15)].SpeedButtonSolo;
    b.Down = !b.Down;
    applySilence();
}

void TFormParts::SpeedButtonMelodyClick() {
    if (!SpeedButtonMelody.Enabled)
        return;
    SpeedButtonMelody.Down = !SpeedButtonMelody.Down;
    applySilence();
}

void TFormParts::LabelPartClick(int part) {
    melodyPart_ = part & 15;
    showMelody();
    applySilence();
}

void TFormParts::showMelody() {
    SpeedButtonMelody.Enabled = melodyPart_ >= 0;
    for (int part = 0; part < kParts; ++part)
        Parts[static_cast<std::size_t>(part)].LabelPart.Font =
            part == melodyPart_ ? colors::Yellow : colors::Teal;
}

void TFormParts::applySilence() {
    std::uint16_t muted = 0, solo = 0;
    for (int part = 0; part < kParts; ++part) {
        const PartRow& row = Parts[static_cast<std::size_t>(part)];
        muted |= static_cast<std::uint16_t>((row.SpeedButtonMute.Down ? 1u : 0u) << part);
        solo |= static_cast<std::uint16_t>((row.SpeedButtonSolo.Down ? 1u : 0u) << part);
    }
    if (SpeedButtonMelody.Down && melodyPart_ >= 0)
        muted |= static_cast<std::uint16_t>(1u << melodyPart_);
    const std::uint16_t silenced = muted | (solo ? static_cast<std::uint16_t>(~solo) : 0);
    if (synth_)
        synth_->parts().silence(silenced);
}

void TFormParts::loadPresetNames() {
    if (!synth_ || synth_->soundFontFile() == namesOf_)
        return;
    namesOf_ = synth_->soundFontFile();
    presetNames_.clear();
    for (SoundFontPreset& p : ReadSoundFontPresets(namesOf_))
        presetNames_.emplace(p.preset, std::move(p.name));
    shownPreset_.fill(-2);
}

std::string TFormParts::instrumentText(int part) const {
    const std::optional<SynthPreset> p = synth_->channelPreset(part);
    if (!p)
        return "";
    const auto name = presetNames_.find(*p);
    const std::string shown = name == presetNames_.end() ? "" : name->second;
    char head[24];
    if (p->bank == kDrumBank)
        std::snprintf(head, sizeof head, "Drum %03d ", p->program);
    else
        std::snprintf(head, sizeof head, "%03d:%03d ", p->bank, p->program);
    return head + shown;
}

bool TFormParts::TimerPartsTimer() {
    if (!synth_)
        return false;
    loadPresetNames();
    bool changed = false;
    for (int part = 0; part < kParts; ++part) {
        PartRow& row = Parts[static_cast<std::size_t>(part)];
        // A meter falls a segment a tick, so that a short peak stays in sight.
        const int level =
            std::max(Segments(synth_->parts().takeLevel(part)), std::max(row.Meter - 1, 0));
        changed = changed || level != row.Meter;
        row.Meter = level;
        const int preset = Packed(synth_->channelPreset(part));
        if (preset != shownPreset_[static_cast<std::size_t>(part)]) {
            shownPreset_[static_cast<std::size_t>(part)] = preset;
            row.LabelInstrument.Caption = instrumentText(part);
            changed = true;
        }
    }
    const ModuleStatus module = synth_->parts().module();
    if (!moduleShown_ || !(module == shownModule_)) {
        moduleShown_ = true;
        shownModule_ = module;
        LabelMode.Caption = ModuleModeName(module.mode);
        LabelMaster.Caption = std::to_string((module.masterVolume * 100 + 8191) / 16383) + "%";
        LabelReverb.Caption = ReverbTypes()[static_cast<std::size_t>(module.reverbType)].name;
        LabelChorus.Caption = ChorusTypes()[static_cast<std::size_t>(module.chorusType)].name;
        changed = true;
    }
    return changed;
}

} // namespace tobira
