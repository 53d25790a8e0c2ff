// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ports.h"

#include <functional>
#include <optional>
#include <string>

namespace tobira {

// The window manager's frame around a window: title bar and borders, in pixels.
struct FrameExtents {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const FrameExtents&, const FrameExtents&) = default;
};

// What every window has: caption, visibility, geometry. A window's presentation model derives
// from it and adds its controls; the Qt view draws whatever the model holds.
class FormModel {
  public:
    FormModel(std::string caption, int width, int height);
    virtual ~FormModel() = default;
    FormModel(const FormModel&) = delete;
    FormModel& operator=(const FormModel&) = delete;

    std::string Caption; // code page 932
    bool Visible = false;
    int Left = 0;
    int Top = 0;
    int Width;
    int Height;
    bool Borderless = false; // no caption bar or frame
    // The frame as the window manager drew it once the window showed; unknown before.
    std::optional<FrameExtents> Frame;
    // No place of its own yet: the window manager chooses one as the window first shows, and
    // Left and Top follow it from then on.
    bool PlacedByPlatform = false;

    // Showing a window for the first time places it as PlaceWhenFirstShown asked.
    void Show();
    // `place` sets Left and Top just before the window first shows (beside the main window,
    // where that is by then). Used for windows without a stored position.
    void PlaceWhenFirstShown(std::function<void(FormModel&)> place) {
        placeAtShow_ = std::move(place);
    }
    void Hide() { Visible = false; }
    void CentreOn(ScreenSize screen);
    // Whether the point lies inside the window, its edges excluded (the auto-close rule).
    bool ContainsPoint(ScreenPoint p) const {
        return Left < p.x && p.x < Left + Width && Top < p.y && p.y < Top + Height;
    }

  private:
    std::function<void(FormModel&)> placeAtShow_;
};

} // namespace tobira
