// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/mouse_button.h"

#include <Qt>

#include <optional>

namespace tobira {

// The model's name for a Qt mouse button; none for the extra buttons.
inline std::optional<MouseButton> ToMouseButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return std::nullopt;
    }
}

} // namespace tobira
