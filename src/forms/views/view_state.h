// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drawing the model's control state onto Qt widgets, shared by the window views.

#include "forms/controls_state.h"

#include <QString>

#include <string>

class QAbstractButton;
class QObject;

namespace tobira {

// A model text (code page 932) for Qt.
QString FromCp932(const std::string& text);

// The model state a widget draws, kept on the widget so that test and accessibility tools can
// tell which control of the model it is.
void NoteModelState(QObject* widget, const ButtonState& state);
const ButtonState* ModelStateOf(const QObject* widget);

// Caption, font colour, pressed state (checkable buttons), enabled state, visibility and hint
// (as tool tip, only with `hints`) of a model button. Only what differs is set.
void ShowButton(QAbstractButton* button, const ButtonState& state, bool hints);

} // namespace tobira
