#pragma once

#include "ports/ports.h"

#include <optional>
#include <string>

namespace tobira {

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

    void Show() { Visible = true; }
    void Hide() { Visible = false; }
    void CentreOn(ScreenSize screen);
    // Whether the point lies inside the window, its edges excluded (the auto-close rule).
    bool ContainsPoint(ScreenPoint p) const {
        return Left < p.x && p.x < Left + Width && Top < p.y && p.y < Top + Height;
    }
};

} // namespace tobira
