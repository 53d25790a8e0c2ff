// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/views/form_pattern_widget.h"

#include "forms/views/view_state.h"

#include "text/cp932_convert.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

namespace tobira {
namespace {

constexpr int kRowTop = 6;
constexpr int kRowPitch = 15;
constexpr int kNumberWidth = 18;
constexpr int kRowLeft = 6 + kNumberWidth + 2;
constexpr int kRowWidth = 282 - kRowLeft - 6;

QToolButton* MakeButton(QWidget* parent, const QString& name, QRect geometry) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    return button;
}

} // namespace

FormPatternWidget::FormPatternWidget(TFormPattern& model, const bool& showHints, ViewHub& hub)
    : FormWidget(model, hub), pattern_(model), showHints_(showHints) {
    setObjectName("FormPattern");
    for (int slot = 0; slot < kPatternSlots; ++slot) {
        const int top = kRowTop + slot * kRowPitch;
        // The fixed row numbers, white on grey.
        auto* number = new QLabel(QString::number(slot), this);
        number->setObjectName(QStringLiteral("Label%1").arg(slot + 1));
        number->setGeometry(6, top, kNumberWidth, kRowPitch - 1);
        number->setAlignment(Qt::AlignCenter);
        number->setAutoFillBackground(true);
        QPalette grey = number->palette();
        grey.setColor(QPalette::Window, Qt::gray);
        grey.setColor(QPalette::WindowText, Qt::white);
        number->setPalette(grey);

        QToolButton* row = MakeButton(this, QStringLiteral("SpeedButton%1").arg(slot),
                                      {kRowLeft, top, kRowWidth, kRowPitch - 1});
        connect(row, &QToolButton::clicked, this,
                [this, slot] { dispatch([this, slot] { pattern_.SpeedButtonClick(slot); }); });
        SpeedButton[static_cast<std::size_t>(slot)] = row;
    }
    const int bottom = kRowTop + kPatternSlots * kRowPitch + 8;
    SpeedButtonRandom = MakeButton(this, QStringLiteral("SpeedButtonRandom"), {6, bottom, 90, 24});
    SpeedButtonReverse =
        MakeButton(this, QStringLiteral("SpeedButtonReverse"), {100, bottom, 90, 24});
    SpeedButtonClose = MakeButton(this, QStringLiteral("SpeedButtonClose"), {206, bottom, 70, 24});
    for (QToolButton* button : {SpeedButtonRandom, SpeedButtonReverse, SpeedButtonClose})
        button->setAutoRaise(false);
    connect(SpeedButtonRandom, &QToolButton::clicked, this,
            [this] { dispatch([this] { pattern_.SpeedButtonRandomClick(); }); });
    connect(SpeedButtonReverse, &QToolButton::clicked, this,
            [this] { dispatch([this] { pattern_.SpeedButtonReverseClick(); }); });
    connect(SpeedButtonClose, &QToolButton::clicked, this,
            [this] { dispatch([this] { pattern_.SpeedButtonCloseClick(); }); });
}

void FormPatternWidget::render() {
    FormWidget::render();
    const bool hints = showHints_;
    for (int slot = 0; slot < kPatternSlots; ++slot)
        ShowButton(SpeedButton[static_cast<std::size_t>(slot)],
                   pattern_.SpeedButton[static_cast<std::size_t>(slot)], hints);
    ShowButton(SpeedButtonRandom, pattern_.SpeedButtonRandom, hints);
    ShowButton(SpeedButtonReverse, pattern_.SpeedButtonReverse, hints);
    ShowButton(SpeedButtonClose, pattern_.SpeedButtonClose, hints);
}

void FormPatternWidget::showEvent(QShowEvent* event) {
    FormWidget::showEvent(event);
    // The keys start on the first row that can be chosen.
    for (QToolButton* row : SpeedButton)
        if (row->isEnabled()) {
            row->setFocus(Qt::ActiveWindowFocusReason);
            return;
        }
    SpeedButtonClose->setFocus(Qt::ActiveWindowFocusReason);
}

void FormPatternWidget::keyPressEvent(QKeyEvent* event) {
    // The rows are a list: the arrows go from one to the next, Enter chooses.
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        focusNextPrevChild(false);
        return;
    case Qt::Key_Down:
    case Qt::Key_Right:
        focusNextPrevChild(true);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* button = qobject_cast<QToolButton*>(focusWidget()); button && button->isEnabled())
            button->click();
        return;
    default:
        FormWidget::keyPressEvent(event);
    }
}

void FormPatternWidget::closeEvent(QCloseEvent* event) {
    if (pattern_.Visible)
        dispatch([this] { pattern_.FormClose(); });
    FormWidget::closeEvent(event);
}

} // namespace tobira
