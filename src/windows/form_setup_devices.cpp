// SPDX-License-Identifier: GPL-3.0-or-later
// The setup window's rows for the synthesizer's SoundFont, the MIDI output and the CD device.
#include "windows/form_setup.h"

#include "midi_windows/form_view.h"
#include "player/form_main.h"
#include "windows/form_msg.h"
#include "windows/form_reader.h"
#include "media/media_device.h"
#include "text/cp932_convert.h"
#include "player/cd_device_choice.h"
#include "windows/setup_devices.h"

#include <algorithm>

namespace tobira {
namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

int TFormSetUp::LoopRepeats() const {
    return CheckBoxLoop.Down ? ComboBoxLoopCountIndex + 1 : 0;
}

void TFormSetUp::UseLoopSetting() {
    ComboBoxLoopEnabled = CheckBoxLoop.Down;
    if (devices_)
        devices_->useLoopSetting(LoopRepeats(), ComboBoxLoopFadeIndex);
}

void TFormSetUp::CheckBoxLoopClick() {
    UseLoopSetting();
}

void TFormSetUp::ComboBoxLoopCountChange(int index) {
    if (index < 0 || index >= kLoopRepeatsMax)
        return;
    ComboBoxLoopCountIndex = index;
    UseLoopSetting();
}

void TFormSetUp::ComboBoxLoopFadeChange(int index) {
    if (index < 0 || index > kLoopFadeMax)
        return;
    ComboBoxLoopFadeIndex = index;
    UseLoopSetting();
}

void TFormSetUp::ButtonSoundFontClick() {
    if (!devices_)
        return;
    // DLS collections are offered when the synthesizer reads them; otherwise the caption says
    // why not.
    const std::string dls = devices_->dlsProblem();
    auto file = ports_.choosers.chooseOpenFile(
        Utf8ToCp932(dls.empty()
                        ? "ＭＩＤＩの音色ファイル（サウンドフォント、DLS）を選択してください"
                        : "ＭＩＤＩの音色ファイル（サウンドフォント）を選択してください（DLS "
                          "は読めません：") +
            (dls.empty() ? "" : dls + Utf8ToCp932("）")),
        folderOf(PanelSoundFont),
        Utf8ToCp932(dls.empty() ? "サウンドフォント (*.sf2 *.SF2 *.sf3 *.SF3 *.dls *.DLS)"
                                : "サウンドフォント (*.sf2 *.SF2 *.sf3 *.SF3)"));
    if (!file)
        return;
    std::optional<std::string> problem;
    {
        BusyCursor busy(ports_.busy);
        problem = devices_->soundFontProblem(*file);
    }
    if (problem) {
        ports_.messages.showMessage(*problem +
                                    Utf8ToCp932("\n今までのサウンドフォントをそのまま使います"));
        return;
    }
    PanelSoundFont = *file;
    devices_->useSoundFont(*file);
}

void TFormSetUp::ButtonSoundFontStandardClick() {
    if (!devices_)
        return;
    PanelSoundFont.clear();
    devices_->useSoundFont(PanelSoundFont);
}

void TFormSetUp::FillCdDeviceItems() {
    ComboBoxCdDeviceItems.clear();
    cdDeviceValues_.clear();
    ComboBoxCdDeviceEnabled = devices_ != nullptr;
    const auto add = [this](std::string text, std::string value) {
        ComboBoxCdDeviceItems.push_back(std::move(text));
        cdDeviceValues_.push_back(std::move(value));
    };
    add(Utf8ToCp932("最初に見つかったドライブ"), "");
    if (devices_)
        for (std::string& drive : devices_->cdDrives())
            add(drive, drive);
    for (const std::string& device : {CdDevice, CdDeviceInUse})
        if (std::find(cdDeviceValues_.begin(), cdDeviceValues_.end(), device) ==
            cdDeviceValues_.end())
            add(device, device);
    add(Utf8ToCp932("ディスクイメージ…"), "");
    const auto at = std::find(cdDeviceValues_.begin(), cdDeviceValues_.end() - 1, CdDeviceInUse);
    ComboBoxCdDeviceIndex = static_cast<int>(at - cdDeviceValues_.begin());
}

void TFormSetUp::ComboBoxCdDeviceChange(int index) {
    const int last = static_cast<int>(ComboBoxCdDeviceItems.size()) - 1;
    if (index < 0 || index > last)
        return;
    if (index < last) {
        ChooseCdDevice(cdDeviceValues_[static_cast<std::size_t>(index)]);
        return;
    }
    auto image = ports_.choosers.chooseOpenFile(
        Utf8ToCp932("ＣＤのディスクイメージ（ＣＵＥシート）を選択してください"), folderOf(CdDevice),
        Utf8ToCp932("ＣＵＥシート (*.cue *.CUE)"));
    if (image)
        ChooseCdDevice(*image);
    else
        FillCdDeviceItems(); // the list shows the device still in use
}

void TFormSetUp::ChooseCdDevice(std::string name) {
    if (name != CdDeviceInUse) {
        try {
            UseCdDevice(peers().Main, name);
            CdDevice = name;
            CdDeviceInUse = std::move(name);
        } catch (const DeviceError& error) {
            ports_.messages.showMessage(error.what());
        }
    }
    FillCdDeviceItems();
}

void TFormSetUp::FillMidiOutItems() {
    ComboBoxMidiOutItems.clear();
    midiOutValues_.clear();
    ComboBoxMidiOutEnabled = devices_ != nullptr;
    const auto add = [this](std::string text, std::string value) {
        ComboBoxMidiOutItems.push_back(std::move(text));
        midiOutValues_.push_back(std::move(value));
    };
    add(Utf8ToCp932("内蔵シンセサイザー"), "");
    if (devices_)
        for (std::string& port : devices_->midiOutputs())
            add(port, port);
    const auto at = std::find(midiOutValues_.begin(), midiOutValues_.end(), MidiOut);
    if (at == midiOutValues_.end())
        add(MidiOut + Utf8ToCp932("（見つかりません）"), MidiOut);
    ComboBoxMidiOutIndex = static_cast<int>(
        std::find(midiOutValues_.begin(), midiOutValues_.end(), MidiOut) - midiOutValues_.begin());
}

void TFormSetUp::ComboBoxMidiOutChange(int index) {
    if (!devices_ || index < 0 || index >= static_cast<int>(midiOutValues_.size()))
        return;
    MidiOut = midiOutValues_[static_cast<std::size_t>(index)];
    devices_->useMidiOutput(MidiOut);
    FillMidiOutItems();
}

} // namespace tobira
