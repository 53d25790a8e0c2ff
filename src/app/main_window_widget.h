#pragma once

#include "app/form_main.h"
#include "app/form_widget.h"

namespace tobira {

// The body of the main window: a press with the left button drags the whole window.
class DragPanel final : public QWidget {
    Q_OBJECT
  public:
    explicit DragPanel(QWidget* parent);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool manualDrag_ = false;
    QPoint grabOffset_;
};

// The view of TFormMain: the borderless black 282 x 68 strip.
class MainWindowWidget final : public FormWidget {
    Q_OBJECT
  public:
    MainWindowWidget(TFormMain& model, ViewHub& hub);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    TFormMain& main_;
    DragPanel* PanelMainBtm;
};

} // namespace tobira
