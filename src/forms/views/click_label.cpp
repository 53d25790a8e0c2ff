// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/views/click_label.h"

#include "forms/views/mouse_buttons.h"
#include "text/cp932_convert.h"

#include <QMouseEvent>
#include <QPainter>

namespace tobira {

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {
    setAutoFillBackground(false);
}

void ClickLabel::display(const LabelState& state, bool hints) {
    if (state.Caption != caption_) {
        caption_ = state.Caption;
        setText(QString::fromStdString(Cp932ToUtf8(caption_)));
    }
    setFontColor(state.Font);
    setHint(state.Hint, hints);
    if (isVisibleTo(parentWidget()) != state.Visible)
        setVisible(state.Visible);
}

void ClickLabel::setHint(const std::string& hint, bool hints) {
    if (hint == hint_ && hints == hints_)
        return;
    hint_ = hint;
    hints_ = hints;
    const QString text = QString::fromStdString(Cp932ToUtf8(hint));
    setToolTip(hints ? text : QString());
    // A lamp drawn as a picture has no text to be read out: its hint names it.
    if (painter && !text.isEmpty())
        setAccessibleName(text);
}

void ClickLabel::setFontColor(Color colour) {
    const QColor wanted(colour.r, colour.g, colour.b);
    if (palette().color(QPalette::WindowText) == wanted)
        return;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, wanted);
    setPalette(p);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    const auto button = ToMouseButton(event->button());
    if (!button || (!onPress && !onClick && !onRelease)) {
        event->ignore();
        return;
    }
    if (*button == MouseButton::Left)
        leftDown_ = true;
    if (onPress)
        onPress(*button);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const auto button = ToMouseButton(event->button());
    if (!button || (!onPress && !onClick && !onRelease)) {
        event->ignore();
        return;
    }
    const bool click = *button == MouseButton::Left && leftDown_ && rect().contains(event->pos());
    if (*button == MouseButton::Left)
        leftDown_ = false;
    if (click && onClick)
        onClick();
    if (onRelease)
        onRelease(*button);
}

void ClickLabel::paintEvent(QPaintEvent* event) {
    if (!painter) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    painter(p);
}

} // namespace tobira
