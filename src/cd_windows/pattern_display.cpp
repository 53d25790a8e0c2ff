// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/pattern_display.h"

#include "cd_windows/pattern_file.h"
#include "files/whole_file.h"
#include "text/cp932_convert.h"
#include "text/trim.h"

#include <exception>

namespace tobira {
namespace {

const std::string& readHintPrefix() {
    static const std::string text = Utf8ToCp932("トラック順＝");
    return text;
}

const std::string& savedHintPrefix() {
    static const std::string text = Utf8ToCp932("トラック順= ");
    return text;
}

const std::string& rowHintPrefix() {
    static const std::string text = Utf8ToCp932("トラック順 ");
    return text;
}

const std::string& noTitle() {
    static const std::string text = Utf8ToCp932("－ パターン名なし －");
    return text;
}

const std::string& unreadableMessage() {
    static const std::string text =
        Utf8ToCp932("パターンファイル（ＴＯＢＩＲＡ．ＤＡＴ）が読み込めないか、または空です");
    return text;
}

} // namespace

void ShowSlotButton(ButtonState& button, const std::string& patternText) {
    if (patternText.empty()) {
        button.Font = colors::Black;
        button.Hint.clear();
        return;
    }
    button.Font = colors::Red;
    button.Hint = readHintPrefix() + patternText;
}

bool SlotHoldsPattern(const ButtonState& button) {
    return button.Font == colors::Red;
}

void ShowSavedSlotButton(ButtonState& button, const std::string& patternText) {
    button.Font = colors::Red;
    button.Hint = savedHintPrefix() + patternText;
}

void ShowSelectorRow(ButtonState& row, const std::string& patternText) {
    if (patternText.empty()) {
        row.Caption.clear();
        row.Hint.clear();
        return;
    }
    auto parts = SplitPatternText(patternText);
    // A text without a full stop has no order to show, and the whole of it stands as title.
    std::string_view title = parts.hasFullStop ? parts.title : std::string_view(patternText);
    std::string_view order = parts.hasFullStop ? parts.order : std::string_view();
    title = CutText(title, kPatternTextLimit);
    row.Caption = TrimSpaces(title).empty() ? noTitle() : std::string(title);
    row.Hint = rowHintPrefix();
    row.Hint.append(order);
}

Color CdIdColour(const PatternTable& table) {
    for (const auto& text : table) {
        if (!text.empty())
            return colors::Aqua;
    }
    return colors::White;
}

void ShowPatternTable(const PatternTable& table, const PatternControls& controls) {
    for (int slot = 0; slot < kPatternSlots; ++slot) {
        ShowSlotButton(controls.slotButtons[slot], table[slot]);
        ShowSelectorRow(controls.selectorRows[slot], table[slot]);
    }
    controls.labelCdId.Font = CdIdColour(table);
}

PatternReadResult ReadPatternFile(const std::string& path, PatternTable& table,
                                  const PatternControls& controls, MessagePort& messages) {
    PatternReadResult result = PatternReadResult::Read;
    try {
        auto bytes = ReadWholeFile(PathFromCp932(path), read_limit::Pattern);
        if (!bytes)
            return PatternReadResult::Missing;
        table = PatternTable{};
        auto lines = SplitPatternLines(*bytes);
        if (lines.empty()) {
            result = PatternReadResult::Unreadable;
        } else {
            table = BuildPatternTable(lines, controls.labelCdId.Caption);
        }
    } catch (const std::exception&) {
        table = PatternTable{};
        result = PatternReadResult::Unreadable;
    }
    if (result == PatternReadResult::Unreadable)
        messages.showMessage(unreadableMessage());
    ShowPatternTable(table, controls);
    return result;
}

} // namespace tobira
