#include "forms/views/picture_button.h"

#include "text/cp932_convert.h"

#include <QMouseEvent>
#include <QPainter>

namespace tobira {

PictureButton::PictureButton(ButtonFace face, QWidget* parent)
    : QAbstractButton(parent), face_(face) {
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::display(const ButtonState& state, bool hints) {
    if (state.Hint != hint_ || hints != hints_) {
        hint_ = state.Hint;
        hints_ = hints;
        setToolTip(hints ? QString::fromStdString(Cp932ToUtf8(hint_)) : QString());
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
