// SPDX-License-Identifier: GPL-3.0-or-later
// The CD play order: the six modes, building the order, the ten marks that follow the playing
// track, and choosing a mode or a track with the marks.
#include "player/form_main.h"

#include "cd_windows/form_list.h"
#include "player/play_modes.h"
#include "forms/two_digits.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

namespace tobira {
namespace {

constexpr int kModeMarks = 6;
constexpr const char* kDot = "\x81\x45"; // "・"

std::optional<int> numberOn(const LabelState& mark) {
    const std::string& text = mark.Caption;
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::vector<int> orderFor(int mode, int n, RandomPort& random) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(n));
    switch (mode) {
    case kRandomMode: {
        // Each draw picks one of the tracks not used yet: every permutation is as likely as
        // with drawing again until an unused track comes up, and the number of draws is fixed.
        std::vector<int> unused;
        for (int t = 1; t <= n; ++t)
            unused.push_back(t);
        while (!unused.empty()) {
            const int pick = random.random(static_cast<int>(unused.size()));
            const auto at =
                unused.begin() + std::clamp(pick, 0, static_cast<int>(unused.size()) - 1);
            order.push_back(*at);
            unused.erase(at);
        }
        break;
    }
    case kOddEvenMode:
    case kEvenOddMode: {
        const int firstStart = mode == kOddEvenMode ? 1 : 2;
        for (int start : {firstStart, 3 - firstStart})
            for (int t = start; t <= n; t += 2)
                order.push_back(t);
        break;
    }
    case kReverseMode:
        for (int t = n; t >= 1; --t)
            order.push_back(t);
        break;
    default: // normal, and program mode's starting point
        for (int t = 1; t <= n; ++t)
            order.push_back(t);
        break;
    }
    return order;
}

} // namespace

int TFormMain::PlayModeIndex() const {
    return PlayModeIndexOf(LabelPlayMode.Caption);
}

void TFormMain::BuildPlayOrder() {
    TFormList& list = peers().List;
    list.ClearPlayOrder();
    const std::vector<int> order = orderFor(PlayModeIndex(), PlayableTracks(), ports_.random);
    for (std::size_t i = 0; i < order.size(); ++i)
        list.SpeedButton[i + 1].Caption = std::to_string(order[i]);
}

void TFormMain::ShowModeMarks(bool full) {
    for (int i = 0; i < kModeMarks; ++i)
        LabelMarks[static_cast<std::size_t>(i)].Caption =
            std::string(kPlayModes[static_cast<std::size_t>(i)].code);
    if (full) {
        LabelPlayMode.Caption = std::string(kPlayModes[kNormalMode].code);
        LabelPlayMode.Hint = Utf8ToCp932(kPlayModes[kNormalMode].hint);
    }
    LabelPlayMode.Font = colors::Aqua;
    for (LabelState& mark : LabelMarks) {
        mark.Font = colors::Aqua;
        mark.Hint.clear();
    }
    for (std::size_t i = kModeMarks; i < LabelMarks.size(); ++i) {
        LabelMarks[i].Caption = kDot;
        LabelMarks[i].Font = colors::Teal;
    }
    LabelTIME.Visible = true;
    peers().List.ShowModeDisplay(PlayModeIndex());
}

void TFormMain::RefreshTrackMarks() {
    TFormList& list = peers().List;
    int shown = 0;
    for (const LabelState& mark : LabelMarks) {
        if (IsCurrentMark(mark)) {
            shown = numberOn(mark).value_or(0);
            break;
        }
    }
    if (CurrentTrack == shown) {
        // A program may hold the same track in successive entries: follow the entry anyway.
        if (PlayModeIndex() == kProgramMode && !list.EntryEmpty(OrderPosition) &&
            !list.IsEntryHighlighted(OrderPosition))
            list.HighlightEntry(OrderPosition);
        return;
    }

    if (OrderPosition == 1) {
        SetOrderHints();
        PlayApplause();
    }
    if (CurrentTrack >= 1) {
        const int n = TrackCount;
        const int current = CurrentTrack;
        const int base = (current - 1) / 10 * 10;
        const bool fullBlock = current <= n / 10 * 10;
        for (int i = 0; i < 10; ++i) {
            LabelState& mark = LabelMarks[static_cast<std::size_t>(i)];
            mark.Caption = TwoDigits(base + i + 1);
            const CdText& text = DiscTexts.track(base + i + 1);
            mark.Hint = text.performer.empty() || text.title.empty()
                            ? text.title
                            : text.title + Utf8ToCp932("／") + text.performer;
            mark.Font = fullBlock || i < n % 10 ? colors::Aqua : colors::Teal;
        }
        SetCurrentMark(LabelMarks[static_cast<std::size_t>((current - 1) % 10)]);
    }
    list.HighlightEntry(OrderPosition);
}

// ---- The marks -------------------------------------------------------------------------------

void TFormMain::LabelMarkMouseDown(int index, MouseButton) {
    if (index < 0 || index >= kModeMarks)
        return;
    // A mode is chosen only while the CD is stopped (and not paused).
    if (Devices.CD.mode() != DeviceMode::Stopped || IsCdPaused())
        return;
    LabelState& mark = LabelMarks[static_cast<std::size_t>(index)];
    mark.Font = colors::White;
    LabelPlayMode.Font = colors::White;
    LabelPlayMode.Caption = mark.Caption;
    LabelPlayMode.Hint = Utf8ToCp932(kPlayModes[static_cast<std::size_t>(PlayModeIndex())].hint);
}

void TFormMain::LabelMarkMouseUp(int index, MouseButton) {
    if (index < 0 || index >= kModeMarks)
        return;
    if (Devices.CD.mode() != DeviceMode::Stopped || IsCdPaused())
        return;
    LabelMarks[static_cast<std::size_t>(index)].Font = colors::Aqua;
    LabelPlayMode.Font = colors::Aqua;
}

void TFormMain::LabelMarkClick(int index) {
    if (index < 0 || index >= static_cast<int>(LabelMarks.size()))
        return;
    if (PlayModeIndex() == kProgramMode || Devices.CD.mode() != DeviceMode::Playing)
        return;
    const std::optional<int> track = numberOn(LabelMarks[static_cast<std::size_t>(index)]);
    if (!track || *track < 1 || *track > TrackCount)
        return;
    TFormList& list = peers().List;
    const int entry = list.FindEntryOfTrack(*track);
    if (entry == 0)
        return;
    // As a press of that entry button in the track control window: it plays from there.
    list.ClearHighlights();
    list.SpeedButton[static_cast<std::size_t>(entry)].Down = true;
    StartFromEntry();
    list.SpeedButton[static_cast<std::size_t>(entry)].Down = false;
    ports_.repaint.repaintNow();
    list.HighlightEntry(entry);
}

} // namespace tobira
