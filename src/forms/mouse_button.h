// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which mouse button pressed a control; the models' MouseDown/MouseUp handlers take it.

namespace tobira {

enum class MouseButton { Left, Right, Middle };

} // namespace tobira
