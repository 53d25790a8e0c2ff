// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windows/form_msg.h"
#include "forms/views/form_widget.h"

class QLabel;
class QLineEdit;

namespace tobira {

// The author message window: a picture of a door and the message (a click shows the next one),
// then what a problem report needs: versions, the SoundFont and CD device in use, the program
// folder as selectable text, and the licence.
class FormMsgWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormMsgWidget(TFormMsg& model, ViewHub& hub);
    void render() override;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    TFormMsg& msg_;
    QLabel* Image1;
    QLabel* LabelMessage;
    QLabel* LabelFacts;
    QLineEdit* EditFolder;
    QLabel* LabelLicence;
};

} // namespace tobira
