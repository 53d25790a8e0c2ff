#pragma once

#include "windows/form_msg.h"
#include "forms/form_widget.h"

class QLabel;

namespace tobira {

// The author message window: a picture of a door, and the message; a click shows the next one.
class FormMsgWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormMsgWidget(TFormMsg& model, ViewHub& hub);
    void render() override;

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    TFormMsg& msg_;
    QLabel* Image1;
    QLabel* LabelMessage;
};

} // namespace tobira
