// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state of the controls that carry behaviour, as plain data. Models hold these under the
// controls' own names; views draw them and never decide anything.

#include <cstdint>
#include <string>

namespace tobira {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Color, Color) = default;
};

// The display colours of the main window's lamps, and the few others the windows use.
namespace colors {
inline constexpr Color Teal{0, 128, 128}; // dim
inline constexpr Color Aqua{0, 255, 255};
inline constexpr Color Yellow{255, 255, 0};
inline constexpr Color Lime{0, 255, 0};
inline constexpr Color White{255, 255, 255};
inline constexpr Color Black{0, 0, 0};
inline constexpr Color Red{255, 0, 0};
inline constexpr Color Blue{0, 0, 255};
inline constexpr Color Navy{0, 0, 128};
} // namespace colors

// A label: caption and hint are code page 932.
struct LabelState {
    std::string Caption;
    Color Font = colors::Teal;
    std::string Hint;
    bool Visible = true;
};

// A button (speed button, toggle button, check box).
struct ButtonState {
    std::string Caption;
    Color Font = colors::Black;
    std::string Hint;
    bool Visible = true;
    bool Enabled = true;
    bool Down = false; // pressed toggle, or checked check box
};

// A button with its caption and hint given in UTF-8 (stored as code page 932).
ButtonState MakeButton(const char* utf8Caption, const char* utf8Hint = "", bool enabled = true);

} // namespace tobira
