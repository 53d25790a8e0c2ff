// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the views of the control window's pages share: drawing lists and texts of a model, and
// handing a click to the window, which runs the handler and redraws every view.

#include "forms/controls_state.h"
#include "ports/ports.h"
#include "midi_windows/edit_requests.h"

#include <QFont>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QToolButton;
class QWidget;

namespace tobira {

using PageDispatch = std::function<void(const std::function<void()>&)>;

// Rebuilds the list only when its texts changed (code page 932 in the model).
void ShowList(QListWidget* list, const std::vector<std::string>& items);
// Selects `row` (-1: none) in a single-selection list.
void ShowRow(QListWidget* list, int row);
// The text of an edit box. What the user types goes into the model as typed.
void ShowEdit(QLineEdit* edit, const std::string& cp932);
// Carries out the model's new requests to an edit box; `done` is the view's count of those it
// has carried out. `focus` takes the focus (an edit box or the combo box around it).
void ShowRequests(QLineEdit* edit, QWidget* focus, const EditRequests& requests,
                  EditRequests& done);
// The list's base colour.
void ShowBase(QWidget* widget, const QColor& colour);
QFont ListQFont(const FontChoice& font);
// A flat button whose click runs `click` through `dispatch`.
QToolButton* MakePageButton(QWidget* parent, const char* name, const PageDispatch& dispatch,
                            std::function<void()> click);
// A hint of the view's own (code page 932 needs no conversion here): shown only with `hints`.
void ShowHint(QWidget* widget, const QString& hint, bool hints);
// A model text typed by the user, for the model (code page 932).
std::string ToCp932(const QString& text);

} // namespace tobira
