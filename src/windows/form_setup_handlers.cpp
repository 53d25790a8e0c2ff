// The setup window's save, change test, close question and the immediate effects of its
// controls.
#include "settings/form_setup.h"

#include "app/form_set.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"
#include "windows/cd_device_choice.h"
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

ButtonState button(const char* utf8Caption, const char* utf8Hint = "") {
    ButtonState b;
    b.Caption = Utf8ToCp932(utf8Caption);
    b.Hint = Utf8ToCp932(utf8Hint);
    return b;
}

} // namespace

void TFormSetUp::SetUpCaptions() {
    ButtonSave = button("設定保存");
    ButtonClose = button("閉じる");
    ButtonTool = button("参照");
    ButtonFont = button("参照");
    ButtonMixer = button("ミキサー", "拍手、ＣＤ、ＭＩＤＩの音量バランスを調整します");
    ButtonSoundFont = button("参照", "ＭＩＤＩの音色ファイル（*.sf2、*.sf3）を選びます");
    ButtonSoundFont.Enabled = false;
    SpeedButton1 = button("", "作者のメッセージ");
    LabelProduct.Caption = "TOBIRA";
    LabelProduct.Hint = Utf8ToCp932("コンパクトでスタイリッシュなＣＤ／ＭＩＤＩプレーヤ");
    LabelVersion.Caption = std::string("Version ") + kProgramVersion + " (" + kProgramDate + ")";
    LabelVersion.Hint = Utf8ToCp932("４番目のバージョンです");
    PanelClose = std::to_string(ScrollBarClose);
}

void TFormSetUp::SetDevices(SetupDevices& devices) {
    devices_ = &devices;
    ButtonSoundFont.Enabled = true;
    FillCdDeviceItems();
}

void TFormSetUp::SaveSetupSettings() {
    IniFile file(forms().FormMain.Paths.SettingsPath);
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
}

bool TFormSetUp::SettingsChanged() const {
    try {
        const IniFile file(forms().FormMain.Paths.SettingsPath);
        // Each key is read with the control's own value as its default, so a key the file
        // lacks never counts as a change.
        const auto boolDiffers = [&](const BoolKey& key, const ButtonState& box) {
            return ReadSetting(file, BoolKey{key.name, box.Down}) != box.Down;
        };
        const auto textDiffers = [&](const StringKey& key, const std::string& value) {
            return ReadSetting(file, StringKey{key.name, value}) != value;
        };
        const auto numberDiffers = [&](const IntegerKey& key, int value) {
            return ReadSetting(file, IntegerKey{key.name, value}) != value;
        };
        return boolDiffers(keys::SHOWHINTS, CheckBoxHint) ||
               boolDiffers(keys::REMAINTIM, CheckBoxTime) ||
               boolDiffers(keys::WITHPLAYS, CheckBoxWithOpen) ||
               boolDiffers(keys::AUTOPLAYS, CheckBoxAutoPlay) ||
               boolDiffers(keys::VOLUMCONT, CheckBoxVolCont) ||
               boolDiffers(keys::VOLUMMIDI, CheckBoxMidiVolCont) ||
               boolDiffers(keys::AUTOCLOSE, CheckBoxClose) ||
               boolDiffers(keys::MIDISTART, CheckBoxMidi) ||
               textDiffers(keys::VIEWERTOL, EditTool) ||
               textDiffers(keys::FONTNAME, PanelFontName) ||
               textDiffers(keys::FONTSIZE, PanelFontSize) ||
               numberDiffers(keys::CLOSETIME, ScrollBarClose) ||
               numberDiffers(keys::MIDIRESET, RadioGroupReset) ||
               // The groups are compared with the built-in values as defaults.
               ReadSetting(file, keys::VOLUMRATO) != CdVolumeRange() ||
               ReadSetting(file, keys::VOLUMRATI) != MidiVolumeRange() ||
               ReadSetting(file, keys::LIVERATIO) != LiveRatio() ||
               textDiffers(keys::SOUNDFONT, PanelSoundFont) ||
               textDiffers(keys::CDDEVICE, CdDevice);
    } catch (const std::exception&) {
        return true;
    }
}

bool TFormSetUp::FormCloseQuery() {
    if (!SettingsChanged())
        return true;
    switch (ports_.messages.askYesNoCancel(
        Utf8ToCp932("データは更新されています。保存しますか？"))) {
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
    ShowHint = forms().FormMain.ShowHints;
    PanelClose = std::to_string(ScrollBarClose);
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
    forms().FormMain.ShowHints = CheckBoxHint.Down;
    ShowHint = CheckBoxHint.Down;
}

void TFormSetUp::CheckBoxMidiClick() {
    CheckBoxHintClick();
}

void TFormSetUp::PaintVolumeText() {
    forms().FormMain.LabelVol.Font =
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
    TFormMain& main = forms().FormMain;
    // Also while muted: the range applies to the level the bar shows.
    if (CheckBoxVolCont.Down && main.PlayerMode == PlayerModeKind::CD)
        main.SetCdVolume(main.VolumeLevel() * 10);
}

void TFormSetUp::SpeedButtonM1Click(int number) {
    pressOnly(SpeedButtonM, number);
    TFormMain& main = forms().FormMain;
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
            Utf8ToCp932("ドキュメント閲覧用ツール（エディタ、ビューアなど）を選択してください"),
            "", Utf8ToCp932("すべてのファイル (*)")))
        EditTool = *file;
}

void TFormSetUp::ButtonFontClick() {
    auto font = ports_.choosers.chooseFont(FontDialog1);
    if (!font)
        return;
    FontDialog1 = *font;
    PanelFontName = font->name;
    PanelFontSize = std::to_string(font->size);
    forms().FormReader.MemoFont = *font;
    forms().FormView.ListFont = *font;
}

void TFormSetUp::SpeedButton1Click() {
    forms().FormMsg.Show();
}

void TFormSetUp::ButtonMixerClick() {
    MixerPanelVisible = true;
}

void TFormSetUp::MixerPanelClose() {
    MixerPanelVisible = false;
}

} // namespace tobira
