// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/views/picture_button.h"

#include "forms/views/view_state.h"
#include "text/cp932_convert.h"

#include <QMouseEvent>
#include <QPainter>

namespace tobira {

PictureButton::PictureButton(ButtonFace face, QWidget* parent)
    : QAbstractButton(parent), face_(face) {
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(faceName());
}

QString PictureButton::faceName() const {
    switch (face_) {
    case ButtonFace::Back:
        return QStringLiteral("BAK");
    case ButtonFace::Next:
        return QStringLiteral("NXT");
    case ButtonFace::Play:
        return QStringLiteral("PLAY");
    case ButtonFace::Pause:
        return QStringLiteral("PAUSE");
    case ButtonFace::Stop:
        return QStringLiteral("STOP");
    case ButtonFace::Power:
        return QStringLiteral("POW");
    case ButtonFace::VolumeDown:
        return QStringLiteral("VOL -");
    case ButtonFace::VolumeUp:
        return QStringLiteral("VOL +");
    }
    return {};
}

void PictureButton::display(const ButtonState& state, bool hints) {
    NoteModelState(this, state);
    if (state.Hint != hint_ || hints != hints_) {
        hint_ = state.Hint;
        hints_ = hints;
        const QString hint = QString::fromStdString(Cp932ToUtf8(hint_));
        setToolTip(hints ? hint : QString());
        // The picture is the caption: a screen reader says the hint, or the button's name.
        setAccessibleName(hint.isEmpty() ? faceName() : hint);
    }
    if (isEnabled() != state.Enabled)
        setEnabled(state.Enabled);
    if (isVisibleTo(parentWidget()) != state.Visible)
        setVisible(state.Visible);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintButtonFace(p, QRectF(rect()), face_, isDown(), isEnabled());
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        if (onRightPress)
            onRightPress();
        event->accept();
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

} // namespace tobira
