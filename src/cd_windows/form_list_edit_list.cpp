// SPDX-License-Identifier: GPL-3.0-or-later
// The edit list of the track control window: the program being composed, SpeedButton61 ..
// SpeedButton120.
#include "cd_windows/form_list.h"

#include <charconv>
#include <vector>

namespace tobira {
namespace {

// The number a caption holds; 0 for an empty caption or one that is not a whole number.
int captionNumber(const std::string& caption) {
    int value = 0;
    auto [end, error] = std::from_chars(caption.data(), caption.data() + caption.size(), value);
    if (caption.empty() || error != std::errc() || end != caption.data() + caption.size())
        return 0;
    return value;
}

} // namespace

void TFormList::ClearTrackLists() {
    for (ButtonState& entry : SpeedButton) {
        entry.Caption.clear();
        entry.Down = false;
        entry.Font = colors::Black;
    }
    for (ButtonState& entry : SpeedButtonEdit) {
        entry.Caption.clear();
        entry.Down = false;
    }
}

int TFormList::FirstFreeEditPlace() const {
    for (int k = 1; k <= kEntries; ++k)
        if (SpeedButtonEdit[static_cast<std::size_t>(k)].Caption.empty())
            return k;
    return 0;
}

std::string TFormList::BuildTrackOrder() const {
    std::vector<int> tracks;
    for (int k = 1; k <= kEntries; ++k)
        tracks.push_back(captionNumber(SpeedButtonEdit[static_cast<std::size_t>(k)].Caption));
    return FormatTrackOrder(tracks);
}

void TFormList::SpeedButtonEditClick(int k) {
    if (k < 1 || k > kEntries)
        return;
    SpeedButtonEdit[static_cast<std::size_t>(k)].Down = false;
    if (SpeedButtonEdit[static_cast<std::size_t>(k)].Caption.empty())
        return;
    // Each later entry moves up one place, as far as the first empty one.
    int i = k;
    for (; i < kEntries; ++i) {
        std::string& here = SpeedButtonEdit[static_cast<std::size_t>(i)].Caption;
        here = SpeedButtonEdit[static_cast<std::size_t>(i + 1)].Caption;
        if (here.empty())
            return;
    }
    SpeedButtonEdit[static_cast<std::size_t>(kEntries)].Caption.clear();
}

} // namespace tobira
