// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/window_placement.h"

#include "forms/form_model.h"

#include <algorithm>

namespace tobira {
namespace {

constexpr int kGap = 15;
// Larger than the title bar and borders of the usual window managers.
constexpr FrameExtents kUnknownFrame{4, 32, 4, 4};

struct Rect {
    int left, top, width, height;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

// The window with its frame, at its model position (the frame's top-left corner).
Rect Outer(const FormModel& form) {
    const FrameExtents frame =
        form.Borderless ? FrameExtents{} : form.Frame.value_or(kUnknownFrame);
    return {form.Left, form.Top, frame.left + form.Width + frame.right,
            frame.top + form.Height + frame.bottom};
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

bool Inside(const Rect& r, const ScreenArea& area) {
    return r.left >= area.left && r.top >= area.top && r.right() <= area.left + area.width &&
           r.bottom() <= area.top + area.height;
}

int Clamp(int value, int low, int high) {
    return high < low ? low : std::clamp(value, low, high);
}

// Below, above, right of and left of `anchor`, in that order of preference.
std::vector<ScreenPoint> PlacesBeside(const Rect& anchor, const Rect& window, ScreenArea area) {
    const int left = Clamp(anchor.left, area.left, area.left + area.width - window.width);
    const int top = Clamp(anchor.top, area.top, area.top + area.height - window.height);
    return {
        {left, anchor.bottom() + kGap},            // below
        {left, anchor.top - kGap - window.height}, // above
        {anchor.right() + kGap, top},              // right
        {anchor.left - kGap - window.width, top},  // left
    };
}

} // namespace

ScreenPoint PlaceBeside(const FormModel& main, const FormModel& side, ScreenArea area,
                        const std::vector<const FormModel*>& open) {
    const Rect anchor = Outer(main);
    const Rect window = Outer(side);
    std::vector<Rect> taken{anchor};
    for (const FormModel* form : open)
        if (form != &side && form != &main && form->Visible)
            taken.push_back(Outer(*form));
    auto fits = [&](ScreenPoint p) {
        return Inside({p.x, p.y, window.width, window.height}, area);
    };
    auto isFree = [&](ScreenPoint p) {
        const Rect r{p.x, p.y, window.width, window.height};
        return fits(p) && std::none_of(taken.begin(), taken.end(),
                                       [&](const Rect& t) { return Overlap(r, t); });
    };
    // Beside the main window first, then beside each open window in turn.
    for (const Rect& next : taken)
        for (const ScreenPoint p : PlacesBeside(next, window, area))
            if (isFree(p))
                return p;
    for (const ScreenPoint p : PlacesBeside(anchor, window, area))
        if (fits(p))
            return p;
    // A screen too small for both: below, as far as the screen lets it.
    const int left = Clamp(anchor.left, area.left, area.left + area.width - window.width);
    return {left, Clamp(anchor.bottom() + kGap, area.top, area.top + area.height - window.height)};
}

} // namespace tobira
