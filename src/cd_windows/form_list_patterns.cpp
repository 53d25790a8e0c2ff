// SPDX-License-Identifier: GPL-3.0-or-later
// Applying a stored pattern to the play order, and playing the program that results.
#include "cd_windows/form_list.h"

#include "player/form_main.h"
#include "player/play_modes.h"
#include "media/media_device.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tobira {
namespace {

// The captions of the entries before the first empty one.
std::vector<std::string> takeOrder(std::array<ButtonState, TFormList::kEntries + 1>& entries) {
    std::vector<std::string> order;
    for (int k = 1; k <= TFormList::kEntries; ++k) {
        const std::string& caption = entries[static_cast<std::size_t>(k)].Caption;
        if (caption.empty())
            break;
        order.push_back(caption);
    }
    return order;
}

void putOrder(std::array<ButtonState, TFormList::kEntries + 1>& entries,
              const std::vector<std::string>& order) {
    for (std::size_t i = 0; i < order.size(); ++i)
        entries[i + 1].Caption = order[i];
}

} // namespace

bool TFormList::ApplyPattern(int slot) {
    if (slot < 0 || slot >= kPatternSlots)
        return false;
    TFormMain& main = peers().Main;
    ClearTrackLists();
    const std::string text = main.Patterns[static_cast<std::size_t>(slot)];
    const PatternTextParts parts = SplitPatternText(text);
    if (parts.hasFullStop)
        EditPattern = std::string(CutText(parts.title, kTitleLimit));

    // A number that is no track of this disc leaves its entry empty, and the next number still
    // goes to the next entry.
    const TrackOrder order = ReadTrackOrder(parts.order);
    const int tracks = std::min(main.TrackCount, static_cast<int>(TFormMain::kMaxTracks));
    for (std::size_t i = 0; i < order.tracks.size() && i < kEntries; ++i) {
        const int track = order.tracks[i];
        if (track >= 1 && track <= tracks)
            SpeedButton[i + 1].Caption = std::to_string(track);
    }

    // The options are used up by this application, whether it worked or not.
    if (CheckBoxRandom.Down) {
        ShufflePlayOrder();
        CheckBoxRandom.Down = false;
    }
    if (CheckBoxReverse.Down) {
        ReversePlayOrder();
        CheckBoxReverse.Down = false;
    }
    return order.complete;
}

void TFormList::StartProgramPlay() {
    // A pattern whose first track is not on this disc leaves nothing to start with.
    if (EntryEmpty(1))
        return;
    TFormMain& main = peers().Main;
    const int track = EntryTrack(1);
    main.OrderPosition = 1;
    main.Devices.CD.playFrom(PackTmsf(static_cast<unsigned>(track), 0, 0, 0));
    main.SetPlaying();
    main.SpeedButtonPLAYShowHint = true;
    // A pause lamp left lit would make the next PAUSE resume a CD that already plays.
    main.SetPauseLamp(false);
    main.LabelTIME.Visible = false;
    main.LabelSTOP.Font = colors::Teal;
    main.LabelSTOP.Caption = "STOP";
    const PlayMode& program = kPlayModes[kProgramMode];
    main.LabelPlayMode.Caption = std::string(program.code);
    main.LabelPlayMode.Hint = Utf8ToCp932(program.hint);
}

void TFormList::ShufflePlayOrder() {
    std::vector<std::string> order = takeOrder(SpeedButton);
    if (order.size() < 2)
        return;
    // Entry k changes place with one of the entries before k-1 (entry 1 with entry 0), so two
    // entries always swap.
    for (int k = static_cast<int>(order.size()) - 1; k >= 1; --k) {
        const int j = std::clamp(ports().random.random(k - 1), 0, std::max(k - 2, 0));
        std::swap(order[static_cast<std::size_t>(k)], order[static_cast<std::size_t>(j)]);
    }
    putOrder(SpeedButton, order);
}

void TFormList::ReversePlayOrder() {
    std::vector<std::string> order = takeOrder(SpeedButton);
    std::reverse(order.begin(), order.end());
    putOrder(SpeedButton, order);
}

} // namespace tobira
