// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/controls_state.h"

#include "text/cp932_convert.h"

namespace tobira {

ButtonState MakeButton(const char* utf8Caption, const char* utf8Hint, bool enabled) {
    ButtonState state;
    state.Caption = Utf8ToCp932(utf8Caption);
    state.Hint = Utf8ToCp932(utf8Hint);
    state.Enabled = enabled;
    return state;
}

} // namespace tobira
