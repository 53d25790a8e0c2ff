#pragma once
// Drawing the model's control state onto Qt widgets, shared by the window views.

#include "forms/controls_state.h"

#include <QString>

#include <string>

class QAbstractButton;

namespace tobira {

// A model text (code page 932) for Qt.
QString FromCp932(const std::string& text);

// Caption, font colour, pressed state (checkable buttons), enabled state, visibility and hint
// (as tool tip, only with `hints`) of a model button. Only what differs is set.
void ShowButton(QAbstractButton* button, const ButtonState& state, bool hints);

} // namespace tobira
