// SPDX-License-Identifier: GPL-3.0-or-later
// The setup window's save, change test, close question and the immediate effects of its
// controls.
#include "windows/form_setup.h"

#include "midi_windows/form_view.h"
#include "player/form_main.h"
#include "windows/form_msg.h"
#include "windows/form_reader.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"
#include "player/cd_device_choice.h"
#include "windows/program_version.h"
#include "windows/setup_devices.h"

#include <algorithm>

namespace tobira {
namespace {

// The first pressed button of a group, or 0 when none is.
template <std::size_t N> int pressedButton(const std::array<ButtonState, N>& group) {
    for (std::size_t i = 1; i < N; ++i)
        if (group[i].Down)
            return static_cast<int>(i);
    return 0;
}

template <std::size_t N> void pressOnly(std::array<ButtonState, N>& group, int number) {
    if (number < 1 || number >= static_cast<int>(N))
        return;
    for (std::size_t i = 1; i < N; ++i)
        group[i].Down = static_cast<int>(i) == number;
}

} // namespace

void TFormSetUp::SetUpCaptions() {
    ButtonSave = MakeButton("設定保存");
    ButtonClose = MakeButton("閉じる");
    ButtonTool = MakeButton("参照");
    ButtonFont = MakeButton("参照");
    ButtonMixer = MakeButton("ミキサー", "拍手、ＣＤ、ＭＩＤＩの音量バランスを調整します");
    ButtonSoundFont = MakeButton(
        "参照", "ＭＩＤＩの音色ファイル（*.sf2、*.sf3、FluidSynth が読めれば *.dls）を選びます");
    ButtonSoundFont.Enabled = false;
    ButtonSoundFontStandard = MakeButton("標準", "標準のサウンドフォントに戻します");
    ButtonSoundFontStandard.Enabled = false;
    SpeedButton1 = MakeButton("", "作者のメッセージ");
    LabelProduct.Caption = "TOBIRA";
    LabelProduct.Hint = Utf8ToCp932("コンパクトでスタイリッシュなＣＤ／ＭＩＤＩプレーヤ");
    LabelVersion.Caption = std::string("Version ") + kProgramVersion + " (" + kProgramDate + ")";
    LabelVersion.Hint = Utf8ToCp932("４番目のバージョンです");
    PanelClose = std::to_string(ScrollBarClose);
}

void TFormSetUp::SetDevices(SetupDevices& devices) {
    devices_ = &devices;
    ButtonSoundFont.Enabled = true;
    ButtonSoundFontStandard.Enabled = true;
    FillCdDeviceItems();
    FillMidiOutItems();
}

void TFormSetUp::SaveSetupSettings() {
    IniBatch file(settingsPath_);
    WriteSetting(file, keys::SHOWHINTS, CheckBoxHint.Down);
    WriteSetting(file, keys::REMAINTIM, CheckBoxTime.Down);
    WriteSetting(file, keys::WITHPLAYS, CheckBoxWithOpen.Down);
    WriteSetting(file, keys::AUTOPLAYS, CheckBoxAutoPlay.Down);
    WriteSetting(file, keys::VOLUMCONT, CheckBoxVolCont.Down);
    WriteSetting(file, keys::VOLUMMIDI, CheckBoxMidiVolCont.Down);
    WriteSetting(file, keys::AUTOCLOSE, CheckBoxClose.Down);
    WriteSetting(file, keys::MIDISTART, CheckBoxMidi.Down);
    WriteSetting(file, keys::VIEWERTOL, EditTool);
    WriteSetting(file, keys::FONTNAME, PanelFontName);
    WriteSetting(file, keys::FONTSIZE, PanelFontSize);
    WriteSetting(file, keys::CLOSETIME, ScrollBarClose);
    WriteSetting(file, keys::MIDIRESET, RadioGroupReset);
    if (int n = pressedButton(SpeedButtonRatio))
        WriteSetting(file, keys::VOLUMRATO, n);
    if (int n = pressedButton(SpeedButtonM))
        WriteSetting(file, keys::VOLUMRATI, n);
    if (int n = pressedButton(SpeedButtonLive))
        WriteSetting(file, keys::LIVERATIO, n);
    WriteSetting(file, keys::SOUNDFONT, PanelSoundFont);
    WriteSetting(file, keys::CDDEVICE, CdDevice);
    WriteSetting(file, keys::MIDIOUT, MidiOut);
    WriteSetting(file, keys::LYRICLINE, CheckBoxLyricLine.Down);
    WriteSetting(file, keys::LOOPCOUNT, LoopRepeats());
    WriteSetting(file, keys::LOOPFADES, ComboBoxLoopFadeIndex);
    file.commit();
}

bool TFormSetUp::SettingsChanged() const {
    // A key the file lacks is compared as its built-in value, as the reader would give it. Taking
    // the control's own value instead would make every change unseen while the file does not
    // exist yet, and the change would be lost at the next start without a question.
    try {
        const IniSnapshot file(settingsPath_);
        return ReadSetting(file, keys::SHOWHINTS) != CheckBoxHint.Down ||
               ReadSetting(file, keys::REMAINTIM) != CheckBoxTime.Down ||
               ReadSetting(file, keys::WITHPLAYS) != CheckBoxWithOpen.Down ||
               ReadSetting(file, keys::AUTOPLAYS) != CheckBoxAutoPlay.Down ||
               ReadSetting(file, keys::VOLUMCONT) != CheckBoxVolCont.Down ||
               ReadSetting(file, keys::VOLUMMIDI) != CheckBoxMidiVolCont.Down ||
               ReadSetting(file, keys::AUTOCLOSE) != CheckBoxClose.Down ||
               ReadSetting(file, keys::MIDISTART) != CheckBoxMidi.Down ||
               ReadSetting(file, keys::VIEWERTOL) != EditTool ||
               ReadSetting(file, keys::FONTNAME) != PanelFontName ||
               ReadSetting(file, keys::FONTSIZE) != PanelFontSize ||
               ReadSetting(file, keys::CLOSETIME) != ScrollBarClose ||
               ReadSetting(file, keys::MIDIRESET) != RadioGroupReset ||
               ReadSetting(file, keys::VOLUMRATO) != CdVolumeRange() ||
               ReadSetting(file, keys::VOLUMRATI) != MidiVolumeRange() ||
               ReadSetting(file, keys::LIVERATIO) != LiveRatio() ||
               ReadSetting(file, keys::SOUNDFONT) != PanelSoundFont ||
               ReadSetting(file, keys::CDDEVICE) != CdDevice ||
               ReadSetting(file, keys::MIDIOUT) != MidiOut ||
               ReadSetting(file, keys::LYRICLINE) != CheckBoxLyricLine.Down ||
               ReadSetting(file, keys::LOOPCOUNT) != LoopRepeats() ||
               ReadSetting(file, keys::LOOPFADES) != ComboBoxLoopFadeIndex;
    } catch (const std::exception&) {
        return true;
    }
}

bool TFormSetUp::FormCloseQuery() {
    if (!SettingsChanged())
        return true;
    switch (
        ports_.messages.askYesNoCancel(Utf8ToCp932("データは更新されています。保存しますか？"))) {
    case Answer::Yes:
        try {
            SaveSetupSettings();
        } catch (const SettingsWriteError& error) {
            ports_.messages.showMessage(error.what());
            return false;
        }
        return true;
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

void TFormSetUp::FormShow() {
    ShowHint = peers().Main.ShowHints;
    PanelClose = std::to_string(ScrollBarClose);
    // A module plugged in since the last look shows up.
    FillMidiOutItems();
}

void TFormSetUp::ButtonSaveClick() {
    try {
        SaveSetupSettings();
    } catch (const SettingsWriteError& error) {
        ports_.messages.showMessage(error.what());
    }
}

void TFormSetUp::ButtonCloseClick() {
    if (FormCloseQuery()) {
        Hide();
        MixerPanelVisible = false;
    }
}

void TFormSetUp::CheckBoxHintClick() {
    // One switch for every window: those open now follow it at once, not at their next showing.
    peers().Main.ShowHints = CheckBoxHint.Down;
    peers().View.ShowHint = CheckBoxHint.Down;
    ShowHint = CheckBoxHint.Down;
}

void TFormSetUp::CheckBoxMidiClick() {
    CheckBoxHintClick();
}

void TFormSetUp::PaintVolumeText() {
    peers().Main.LabelVol.Font =
        CheckBoxVolCont.Down || CheckBoxMidiVolCont.Down ? colors::Aqua : colors::Teal;
}

void TFormSetUp::CheckBoxVolContClick() {
    PaintVolumeText();
}

void TFormSetUp::CheckBoxMidiVolContClick() {
    PaintVolumeText();
}

void TFormSetUp::CheckBoxCloseClick() {
    PaintVolumeText();
}

void TFormSetUp::SpeedButtonRatio1Click(int number) {
    pressOnly(SpeedButtonRatio, number);
    TFormMain& main = peers().Main;
    // Also while muted: the range applies to the level the bar shows.
    if (CheckBoxVolCont.Down && main.PlayerMode == PlayerModeKind::CD)
        main.SetCdVolume(main.VolumeLevel() * 10);
}

void TFormSetUp::SpeedButtonM1Click(int number) {
    pressOnly(SpeedButtonM, number);
    TFormMain& main = peers().Main;
    if (CheckBoxMidiVolCont.Down && main.PlayerMode == PlayerModeKind::MIDI)
        main.SetMidiVolume(main.VolumeLevel() * 10);
}

void TFormSetUp::SpeedButtonLive1Click(int number) {
    pressOnly(SpeedButtonLive, number);
}

void TFormSetUp::RadioGroupResetClick(int index) {
    if (index >= 0 && index < kResetItems)
        RadioGroupReset = index;
}

void TFormSetUp::ScrollBarCloseChange(int value) {
    ScrollBarClose = std::clamp(value, kCloseTimeMin, kCloseTimeMax);
    PanelClose = std::to_string(ScrollBarClose);
}

void TFormSetUp::EditToolChange(std::string text) {
    EditTool = std::move(text);
}

void TFormSetUp::ButtonToolClick() {
    // Programs on this system carry no extension, so every file is offered.
    if (auto file = ports_.choosers.chooseOpenFile(
            Utf8ToCp932("ドキュメント閲覧用ツール（エディタ、ビューアなど）を選択してください"), "",
            Utf8ToCp932("すべてのファイル (*)")))
        EditTool = *file;
}

void TFormSetUp::ButtonFontClick() {
    auto font = ports_.choosers.chooseFont(FontDialog1);
    if (!font)
        return;
    FontDialog1 = *font;
    PanelFontName = font->name;
    PanelFontSize = std::to_string(font->size);
    peers().Reader.MemoReaderFont = *font;
    peers().View.ListFont = *font;
}

void TFormSetUp::SpeedButton1Click() {
    peers().Msg.Show();
}

void TFormSetUp::ButtonMixerClick() {
    MixerPanelVisible = true;
}

void TFormSetUp::MixerPanelClose() {
    MixerPanelVisible = false;
}

} // namespace tobira
