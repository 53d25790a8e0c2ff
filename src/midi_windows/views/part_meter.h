// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace tobira {

// A part's level as a row of segments, green to red; redrawn only when the lit count changes.
class PartMeter final : public QWidget {
  public:
    PartMeter(int segments, QWidget* parent);
    void setLit(int lit);
    int lit() const { return lit_; }
    QSize sizeHint() const override { return {6 * segments_, 12}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int segments_;
    int lit_ = 0;
};

} // namespace tobira
