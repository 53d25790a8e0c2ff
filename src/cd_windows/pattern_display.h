// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the windows show of the disc's pattern table, and ReadPatternFile, which reloads the
// table and everything that follows it: the track control window's slot buttons and LabelCDID,
// and the pattern selector's rows.

#include "forms/controls_state.h"
#include "ports/ports.h"
#include "cd_windows/pattern_record.h"

#include <array>
#include <string>

namespace tobira {

// The controls that follow the pattern table, owned by their windows.
struct PatternControls {
    std::array<ButtonState, kPatternSlots>& slotButtons;  // SpeedButtonCD0..9 (track control)
    std::array<ButtonState, kPatternSlots>& selectorRows; // SpeedButton0..9 (pattern selector)
    LabelState& labelCdId; // LabelCDID (track control); its caption is the DiscId
};

// Slot button after a read of the file: registered = red font and hint "トラック順＝" + text;
// free (empty text) = black font, no hint.
void ShowSlotButton(ButtonState& button, const std::string& patternText);
// Whether a slot button shows a registered pattern (its caption red).
bool SlotHoldsPattern(const ButtonState& button);

// Slot button after a successful SAVE: red font, hint "トラック順= " + text (the SAVE's own
// wording).
void ShowSavedSlotButton(ButtonState& button, const std::string& patternText);

// Selector row: caption = the title (the whole text when it has no full stop), cut to 999
// bytes, or "－ パターン名なし －" when that is empty or blank; hint = "トラック順 " + the track
// order (empty without a full stop). A free slot gets empty caption and hint.
void ShowSelectorRow(ButtonState& row, const std::string& patternText);

// LabelCDID's font: aqua when any slot is registered, white otherwise.
Color CdIdColour(const PatternTable& table);

// Slot buttons, selector rows and LabelCDID's colour, all from `table`.
void ShowPatternTable(const PatternTable& table, const PatternControls& controls);

enum class PatternReadResult {
    Missing,    // no file: nothing was changed
    Read,       // table rebuilt from the file
    Unreadable, // the message was shown; every slot shows as free
};

// Rebuilds `table` for the DiscId in LabelCDID's caption from the file at `path` (code page
// 932), then shows it. A missing file changes nothing at all. A file that cannot be read or
// holds no line shows "パターンファイル（ＴＯＢＩＲＡ．ＤＡＴ）が読み込めないか、または空です"
// through `messages` and leaves every slot free; the display is refreshed after the message
// either way. With an empty LabelCDID (no disc read yet) no record matches. Files of any
// length are read.
PatternReadResult ReadPatternFile(const std::string& path, PatternTable& table,
                                  const PatternControls& controls, MessagePort& messages);

} // namespace tobira
