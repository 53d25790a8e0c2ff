// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/views/form_widget.h"
#include "cd_windows/form_manage.h"

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tobira {

class ListBox;

// The view of TFormManage, the pattern file management window: the file's lines, the title
// list, the edit field with its colour, the title panel, the CD number search, modify, delete
// and close.
class FormManageWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormManageWidget(TFormManage& model, ViewHub& hub);

    void render() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TFormManage& manage_;
    ListBox *ListBoxManage, *ListBoxTitle;
    QLineEdit* EditManage;
    QLabel* PanelTITLE;
    QToolButton *SpeedButtonCDID, *SpeedButtonEDIT, *SpeedButtonDEL;
    QPushButton* ButtonCLOSE;
    std::vector<std::string> shownLines_, shownTitles_;
};

} // namespace tobira
