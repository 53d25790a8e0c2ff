// SPDX-License-Identifier: GPL-3.0-or-later
// The ten pattern slots of the track control window: choosing, applying, SAVE and release.
#include "cd_windows/form_list.h"

#include "cd_windows/form_manage.h"
#include "player/form_main.h"
#include "cd_windows/pattern_display.h"
#include "cd_windows/pattern_file.h"
#include "text/cp932_convert.h"

#include <stdexcept>
#include <system_error>

namespace tobira {
namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < kPatternSlots;
}

} // namespace

void TFormList::EditPatternChange(const TypedText& text) {
    TakeTypedText(EditPattern, text, ports().messages);
}

void TFormList::SpeedButtonCDClick(int slot) {
    if (!validSlot(slot))
        return;
    // One exclusive group in which every button may be up.
    const bool down = !SpeedButtonCD[static_cast<std::size_t>(slot)].Down;
    for (ButtonState& other : SpeedButtonCD)
        other.Down = false;
    SpeedButtonCD[static_cast<std::size_t>(slot)].Down = down;
    // A free slot pressed down is only chosen for the next SAVE.
    if (!down || !SlotHoldsPattern(SpeedButtonCD[static_cast<std::size_t>(slot)]))
        return;
    if (!ApplyPattern(slot))
        return;
    ports().repaint.repaintNow();
    LabelORG.Caption = "Program Mode";
    StartProgramPlay();
}

void TFormList::SpeedButtonCDMouseDown(int slot, MouseButton button) {
    if (button != MouseButton::Right || !validSlot(slot))
        return;
    ButtonState& slotButton = SpeedButtonCD[static_cast<std::size_t>(slot)];
    if (!SlotHoldsPattern(slotButton))
        return;
    TFormMain& main = peers().Main;
    bool removed = false;
    try {
        removed = DeletePatternRecord(main.Paths.PatternPath, PatternKey(LabelCDID.Caption, slot));
    } catch (const std::exception&) {
        removed = false;
    }
    if (!removed) {
        ports().messages.showMessage(Utf8ToCp932("このボタンの再生パターン解除ができませんでした"));
        return;
    }
    main.Patterns[static_cast<std::size_t>(slot)].clear();
    ShowSlotButton(slotButton, {});
    ports().messages.showMessage(Utf8ToCp932("このボタンの再生パターン解除をおこないました"));
}

void TFormList::SpeedButtonSAVEClick() {
    int slot = -1;
    for (int s = 0; s < kPatternSlots && slot < 0; ++s)
        if (SpeedButtonCD[static_cast<std::size_t>(s)].Down)
            slot = s;
    MessagePort& messages = ports().messages;
    if (slot < 0) {
        messages.showMessage(Utf8ToCp932("Ｐａｔｔｅｒｎ ＳＥＬボタンを指定してください"));
        return;
    }
    ButtonState& slotButton = SpeedButtonCD[static_cast<std::size_t>(slot)];
    if (SlotHoldsPattern(slotButton)) {
        messages.showMessage(
            Utf8ToCp932("このボタンは既に設定澄みです．パターン選択ボタンの右クリッ"
                        "クで［設定解除］してください．"));
        ClearPatternSelection();
        return;
    }
    const std::string order = BuildTrackOrder();
    if (order.empty()) {
        messages.showMessage(Utf8ToCp932("再生パターンが設定されていません"));
        return;
    }
    TFormMain& main = peers().Main;
    const std::string text = order + "." + EditPattern;
    try {
        AppendPatternRecord(main.Paths.PatternPath, PatternKey(LabelCDID.Caption, slot), text);
    } catch (const std::exception&) {
        // Also a title that would break the line, or no disc read to key the record with.
        messages.showMessage(Utf8ToCp932("再生パターンの保存ができませんでした"));
        ClearPatternSelection();
        return;
    }
    main.Patterns[static_cast<std::size_t>(slot)] = text;
    ShowSavedSlotButton(slotButton, text);
    messages.showMessage(Utf8ToCp932("あなたの設定した再生パターンを保存しました"));
    ClearPatternSelection();
}

void TFormList::SpeedButtonMANAGClick() {
    ports().repaint.repaintNow();
    peers().Manage.Show();
}

} // namespace tobira
