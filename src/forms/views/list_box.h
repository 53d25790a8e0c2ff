// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

#include <functional>

namespace tobira {

// A list box that the keyboard works as the mouse does: a row reached with the arrows, Home,
// End or the page keys is a click on that row, and Enter on the current row is a double click.
// So the model hears of the move, the fields follow it, and the next repaint keeps the row.
class ListBox final : public QListWidget {
    Q_OBJECT
  public:
    explicit ListBox(QWidget* parent);

    // Not set: the keyboard moves only the highlight (a list whose selection is reported by
    // itself, such as one of several selected rows).
    std::function<void(int row)> onKeyMove;
    std::function<void(int row)> onEnter;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace tobira
