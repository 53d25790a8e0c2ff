// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/views/view_state.h"

#include "text/cp932_convert.h"

#include <QAbstractButton>
#include <QVariant>

namespace tobira {

QString FromCp932(const std::string& text) {
    return QString::fromStdString(Cp932ToUtf8(text));
}

namespace {
constexpr const char* kModelState = "tobiraModelState";
} // namespace

void NoteModelState(QObject* widget, const ButtonState& state) {
    void* address = const_cast<ButtonState*>(&state);
    if (widget->property(kModelState).value<void*>() != address)
        widget->setProperty(kModelState, QVariant::fromValue(address));
}

const ButtonState* ModelStateOf(const QObject* widget) {
    return static_cast<const ButtonState*>(widget->property(kModelState).value<void*>());
}

void ShowButton(QAbstractButton* button, const ButtonState& state, bool hints) {
    NoteModelState(button, state);
    const QString caption = FromCp932(state.Caption);
    if (button->text() != caption)
        button->setText(caption);
    const QColor colour(state.Font.r, state.Font.g, state.Font.b);
    // Only the active and inactive groups: a disabled button keeps the style's grey.
    if (button->palette().color(QPalette::Active, QPalette::ButtonText) != colour) {
        QPalette p = button->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            p.setColor(group, QPalette::ButtonText, colour);
            p.setColor(group, QPalette::WindowText, colour);
        }
        button->setPalette(p);
    }
    if (button->isCheckable() && button->isChecked() != state.Down)
        button->setChecked(state.Down);
    if (button->isEnabled() != state.Enabled)
        button->setEnabled(state.Enabled);
    if (button->isVisibleTo(button->parentWidget()) != state.Visible)
        button->setVisible(state.Visible);
    // A button without a caption is named by its hint, whether hints show or not, else by the
    // control's own name (an empty entry of a row).
    const QString hint = FromCp932(state.Hint);
    const QString name = !caption.isEmpty() ? QString()
                         : !hint.isEmpty()  ? hint
                                            : button->objectName();
    if (button->accessibleName() != name)
        button->setAccessibleName(name);
    const QString tip = hints ? hint : QString();
    if (button->toolTip() != tip)
        button->setToolTip(tip);
}

} // namespace tobira
