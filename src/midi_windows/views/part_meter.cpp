// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/views/part_meter.h"

#include <QPainter>

namespace tobira {

PartMeter::PartMeter(int segments, QWidget* parent) : QWidget(parent), segments_(segments) {
    setMinimumSize(sizeHint());
}

void PartMeter::setLit(int lit) {
    if (lit == lit_)
        return;
    lit_ = lit;
    update();
}

void PartMeter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const int w = width() / segments_;
    for (int i = 0; i < segments_; ++i) {
        // The top quarter warns in red, the next in yellow.
        QColor on = i >= segments_ * 3 / 4 ? Qt::red : i >= segments_ / 2 ? Qt::yellow : Qt::green;
        painter.fillRect(i * w + 1, 2, w - 2, height() - 4, i < lit_ ? on : on.darker(400));
    }
}

} // namespace tobira
