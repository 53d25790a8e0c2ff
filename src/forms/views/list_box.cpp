// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/views/list_box.h"

#include <QKeyEvent>

namespace tobira {

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && onEnter) {
        if (currentRow() >= 0)
            onEnter(currentRow());
        event->accept();
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (onKeyMove && currentRow() >= 0 && currentRow() != before)
        onKeyMove(currentRow());
}

} // namespace tobira
