// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/form_list.h"

#include "player/form_main.h"
#include "player/play_modes.h"
#include "settings/ini_file.h"
#include "forms/position_check.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace tobira {
namespace {

ButtonState button(const char* caption, const char* utf8Hint, bool visible = true) {
    ButtonState b;
    b.Caption = caption;
    b.Hint = Utf8ToCp932(utf8Hint);
    b.Visible = visible;
    return b;
}

bool inRange(int k) {
    return k >= 1 && k <= TFormList::kEntries;
}

} // namespace

TFormList::TFormList()
    : FormModel("ＣＤ トラックコントロール", 420, kNormalHeight),
      AutoCloseIndicator(kCloseIndicatorWidth, kCloseIndicatorWidth - 6) {
    LabelCDID.Hint = Utf8ToCp932("ＣＤの識別番号（青文字なら登録データあり）");
    LabelCDID.Font = colors::White;
    LabelORG.Font = colors::Black;
    LabelDST.Font = colors::Black;
    SpeedButtonSET = button("SET", "指定トラックをＥｄｉｔＴｒａｃｋに設定");
    SpeedButtonMON = button("MON", "指定トラックから再生");
    CheckBoxRandom = button("+ Random", "パターン再生をランダム順にする");
    CheckBoxReverse = button("+ Reverse", "パターン再生を逆順にする");
    SpeedButtonBAK = button("<", "前のトラックに戻る");
    SpeedButtonNXT = button(">", "次のトラックに移る");
    for (int slot = 0; slot < kPatternSlots; ++slot)
        SpeedButtonCD[static_cast<std::size_t>(slot)] =
            button(std::to_string(slot).c_str(), "パターン登録ボタン（赤は登録済み）");
    EditPatternHint = Utf8ToCp932("パターンの名前入力欄");
    SpeedButtonSAVE = button("SAVE", "再生パターンの保存");
    SpeedButtonMANAG = button("CTRL", "パターンファイルの編集と削除");
    Image1Hint = Utf8ToCp932("クリックで作者のメッセージ");
    PanelBarCloseHint = Utf8ToCp932("オートクローズインジケータ（クリックで一時停止）");
    ShowModeDisplay(kNormalMode);
}

void TFormList::FormCreate() {
    FormCreate(IniSnapshot(peers().Main.Paths.SettingsPath));
}

void TFormList::FormCreate(const IniSnapshot& file) {
    const ScreenPoint stored{ReadSetting(file, keys::HPOSITION),
                             ReadSetting(file, keys::VPOSITION)};
    const ScreenSize screen = ports().screen.screenSize();
    if (TrackControlPositionUsable(stored, screen)) {
        Left = stored.x;
        Top = stored.y;
    } else {
        CentreOn(screen);
    }
}

void TFormList::Show() {
    if (Visible)
        return;
    FormModel::Show();
    FormShow();
}

void TFormList::Image1Click() {
    peers().Msg.Show();
}

bool TFormList::EntryEmpty(int k) const {
    return !inRange(k) || SpeedButton[static_cast<std::size_t>(k)].Caption.empty();
}

int TFormList::EntryTrack(int k) const {
    if (EntryEmpty(k))
        throw std::invalid_argument("play order entry " + std::to_string(k) + " is empty");
    const std::string& text = SpeedButton[static_cast<std::size_t>(k)].Caption;
    int track = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), track);
    if (error != std::errc() || end != text.data() + text.size())
        throw std::invalid_argument("play order entry " + std::to_string(k) +
                                    " holds no track number");
    return track;
}

int TFormList::FindEntryOfTrack(int track) const {
    const std::string caption = std::to_string(track);
    for (int k = 1; k <= kEntries; ++k)
        if (SpeedButton[static_cast<std::size_t>(k)].Caption == caption)
            return k;
    return 0;
}

int TFormList::FirstDownEntry() const {
    for (int k = 1; k <= kEntries; ++k)
        if (SpeedButton[static_cast<std::size_t>(k)].Down)
            return k;
    return 0;
}

void TFormList::ClearPlayOrder() {
    for (ButtonState& entry : SpeedButton) {
        entry.Caption.clear();
        entry.Font = colors::Black;
    }
}

void TFormList::ClearHighlights() {
    for (ButtonState& entry : SpeedButton) {
        entry.Font = colors::Black;
        entry.Down = false;
    }
}

void TFormList::HighlightEntry(int k) {
    ClearHighlights();
    if (inRange(k))
        SpeedButton[static_cast<std::size_t>(k)].Font = colors::Red;
}

bool TFormList::IsEntryHighlighted(int k) const {
    return inRange(k) && SpeedButton[static_cast<std::size_t>(k)].Font == colors::Red;
}

void TFormList::ClearPatternSelection() {
    for (ButtonState& slot : SpeedButtonCD)
        slot.Down = false;
    EditPattern.clear();
}

void TFormList::ShowModeDisplay(int modeIndex) {
    if (modeIndex < 0 || modeIndex >= static_cast<int>(kPlayModes.size()))
        modeIndex = kNormalMode;
    LabelORG.Caption = std::string(kPlayModes[static_cast<std::size_t>(modeIndex)].listName);
    const bool program = modeIndex == kProgramMode;
    SpeedButtonSET.Enabled = program;
    SpeedButtonMON.Enabled = program;
    if (program) {
        // SET and MON are one exclusive pair; MON's red font means MON is the choice.
        SpeedButtonSET.Down = true;
        SpeedButtonMON.Down = false;
        SpeedButtonMON.Font = colors::Black;
    }
    CheckBoxRandom.Visible = program;
    CheckBoxReverse.Visible = program;
    SpeedButtonBAK.Visible = program;
    SpeedButtonNXT.Visible = program;
    LabelDST.Caption = program ? "Edit Track" : "";
    Height = program ? kProgramHeight : kNormalHeight;
    KeepOnScreen();
}

void TFormList::KeepOnScreen() {
    // The program layout grows the window downwards: near the bottom edge it moves up so that
    // the slot buttons, SAVE and CTRL stay reachable.
    if (!ports_)
        return;
    const ScreenArea area = ports().screen.workArea();
    if (area.height <= 0)
        return;
    const int bottom = area.top + area.height;
    if (Top + Height > bottom)
        Top = std::max(area.top, bottom - Height);
}

} // namespace tobira
