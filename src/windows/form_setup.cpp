// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/form_setup.h"

#include "player/form_main.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace tobira {
namespace {

ButtonState checkBox(const char* utf8Caption, bool checked, const char* utf8Hint = "") {
    ButtonState box;
    box.Caption = Utf8ToCp932(utf8Caption);
    box.Hint = Utf8ToCp932(utf8Hint);
    box.Down = checked;
    return box;
}

// Presses button `number` of a group held at [1] .. [n] and releases the others. A number
// outside the group leaves the group as it is, so a hand-edited value keeps the built-in choice.
template <std::size_t N> void press(std::array<ButtonState, N>& group, int number) {
    if (number < 1 || number >= static_cast<int>(N))
        return;
    for (std::size_t i = 1; i < N; ++i)
        group[i].Down = static_cast<int>(i) == number;
}

template <std::size_t N> int groupValue(const std::array<ButtonState, N>& group, int none) {
    for (std::size_t i = 1; i < N; ++i)
        if (group[i].Down)
            return static_cast<int>(i);
    return none;
}

bool isWholeNumber(const std::string& text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value > 0;
}

} // namespace

TFormSetUp::TFormSetUp(Ports ports, std::string settingsPath)
    : FormModel("TOBIRAの設定", 640, 470), settingsPath_(std::move(settingsPath)), ports_(ports) {
    CheckBoxHint = checkBox("チップヘルプでヒントを表示します", true);
    CheckBoxTime = checkBox("再生時間を残り時間方式で表示します", false);
    CheckBoxWithOpen = checkBox("再生開始でコントロールウィンドウを開く", true);
    CheckBoxAutoPlay = checkBox("ＣＤの挿入で自動的に再生開始します", false);
    CheckBoxVolCont = checkBox("ＣＤの音量調整を有効にします", true);
    CheckBoxMidiVolCont =
        checkBox("ＭＩＤＩの音量調整を有効にします", true, "外部音源には無効です");
    CheckBoxClose = checkBox("ＣＤ、ＭＩＤＩウィンドウのオートクローズ", false);
    CheckBoxMidi = checkBox("ＭＩＤＩ（KANADE）モードで起動します", false);
    CheckBoxLyricLine = checkBox("カラオケの歌詞をタイトル行に表示します", false,
                                 "歌詞のある曲では歌っている行をタイトルの代わりに流します");
    CheckBoxLoop = checkBox("ゲーム音楽のループを繰り返します", false,
                            "ループのある曲はループを指定の回数だけ繰り返し、フェードアウトします");
    for (int i = 1; i <= kLoopRepeatsMax; ++i)
        ComboBoxLoopCountItems.push_back(std::to_string(i) + Utf8ToCp932("回"));
    for (int i = 0; i <= kLoopFadeMax; ++i)
        ComboBoxLoopFadeItems.push_back(std::to_string(i) + Utf8ToCp932("秒"));
    for (int i = 1; i <= kRangeButtons; ++i) {
        SpeedButtonRatio[i].Caption = std::to_string(i);
        SpeedButtonM[i].Caption = std::to_string(i);
    }
    SpeedButtonRatio[3].Down = true;
    SpeedButtonM[3].Down = true;
    const char* liveCaptions[] = {"100%", "70%", "50%"};
    for (int i = 1; i <= kLiveButtons; ++i)
        SpeedButtonLive[i].Caption = liveCaptions[i - 1];
    SpeedButtonLive[1].Down = true;
    PanelLiveHint = Utf8ToCp932("拍手の割合を設定する");
    RadioGroupResetHint = Utf8ToCp932("８８_１はＳＣ－８８のＭｏｄｅ１の意味");
    PanelFontName = std::string(keys::FONTNAME.fallback);
    PanelFontSize = std::string(keys::FONTSIZE.fallback);
    SetUpCaptions();
}

int TFormSetUp::CdVolumeRange() const {
    return groupValue(SpeedButtonRatio, 3);
}

int TFormSetUp::MidiVolumeRange() const {
    return groupValue(SpeedButtonM, 3);
}

int TFormSetUp::LiveRatio() const {
    return groupValue(SpeedButtonLive, 1);
}

SetupOptions TFormSetUp::CurrentOptions() const {
    SetupOptions options;
    options.ShowHints = CheckBoxHint.Down;
    options.RemainingTime = CheckBoxTime.Down;
    options.OpenWithPlay = CheckBoxWithOpen.Down;
    options.AutoPlay = CheckBoxAutoPlay.Down;
    options.CdVolumeControl = CheckBoxVolCont.Down;
    options.CdVolumeRange = CdVolumeRange();
    options.MidiVolumeControl = CheckBoxMidiVolCont.Down;
    options.MidiVolumeRange = MidiVolumeRange();
    options.AutoClose = CheckBoxClose.Down;
    options.CloseSeconds = ScrollBarClose;
    options.LiveRatio = LiveRatio();
    options.ResetType = RadioGroupReset;
    options.MidiStart = CheckBoxMidi.Down;
    options.LyricLine = CheckBoxLyricLine.Down;
    options.LoopRepeats = LoopRepeats();
    options.LoopFadeSeconds = ComboBoxLoopFadeIndex;
    options.ViewerTool = EditTool;
    options.ListFontName = PanelFontName;
    options.ListFontSize = PanelFontSize;
    return options;
}

void TFormSetUp::FormCreate() {
    LoadSetupSettings();
}

void TFormSetUp::FormCreate(const IniSnapshot& settings) {
    LoadSetupSettings(settings);
}

void TFormSetUp::LoadSetupSettings() {
    LoadSetupSettings(IniSnapshot(settingsPath_));
}

void TFormSetUp::LoadSetupSettings(const IniSnapshot& file) {
    CheckBoxHint.Down = ReadSetting(file, keys::SHOWHINTS);
    CheckBoxTime.Down = ReadSetting(file, keys::REMAINTIM);
    CheckBoxWithOpen.Down = ReadSetting(file, keys::WITHPLAYS);
    CheckBoxAutoPlay.Down = ReadSetting(file, keys::AUTOPLAYS);
    CheckBoxVolCont.Down = ReadSetting(file, keys::VOLUMCONT);
    CheckBoxMidiVolCont.Down = ReadSetting(file, keys::VOLUMMIDI);
    CheckBoxClose.Down = ReadSetting(file, keys::AUTOCLOSE);
    CheckBoxMidi.Down = ReadSetting(file, keys::MIDISTART);
    CheckBoxLyricLine.Down = ReadSetting(file, keys::LYRICLINE);
    const int repeats = ReadSetting(file, keys::LOOPCOUNT);
    CheckBoxLoop.Down = repeats > 0;
    ComboBoxLoopCountIndex = std::clamp(repeats, 1, kLoopRepeatsMax) - 1;
    ComboBoxLoopFadeIndex = std::clamp(ReadSetting(file, keys::LOOPFADES), 0, kLoopFadeMax);
    ComboBoxLoopEnabled = CheckBoxLoop.Down;
    EditTool = ReadSetting(file, keys::VIEWERTOL);
    // A scroll bar holds only values of its range; a hand-edited time outside it is pulled in
    // rather than refused, since refusing would stop the program from starting.
    ScrollBarClose = std::clamp(ReadSetting(file, keys::CLOSETIME), kCloseTimeMin, kCloseTimeMax);
    PanelFontName = ReadSetting(file, keys::FONTNAME);
    PanelFontSize = ReadSetting(file, keys::FONTSIZE);
    if (!isWholeNumber(PanelFontSize))
        PanelFontSize = std::string(keys::FONTSIZE.fallback);
    press(SpeedButtonRatio, ReadSetting(file, keys::VOLUMRATO));
    press(SpeedButtonM, ReadSetting(file, keys::VOLUMRATI));
    press(SpeedButtonLive, ReadSetting(file, keys::LIVERATIO));
    const int reset = ReadSetting(file, keys::MIDIRESET);
    RadioGroupReset = reset >= 0 && reset < kResetItems ? reset : keys::MIDIRESET.fallback;
    PanelSoundFont = ReadSetting(file, keys::SOUNDFONT);
    CdDevice = ReadSetting(file, keys::CDDEVICE);
    CdDeviceInUse = peers_ ? peers().Main.Devices.CD.fileName() : CdDevice;
    MidiOut = ReadSetting(file, keys::MIDIOUT);
    PanelClose = std::to_string(ScrollBarClose);
    FillCdDeviceItems();
    FillMidiOutItems();
}

} // namespace tobira
