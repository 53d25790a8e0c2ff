#pragma once

#include "app/form_main.h"
#include "app/form_widget.h"
#include "cd/form_list.h"

#include <array>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace tobira {

class ClickLabel;

// The view of TFormList, the CD track control window: the logo, the play order's 60 entry
// buttons under the mode's name, SET/MON, "+ Random"/"+ Reverse", "<" ">" and CLOSE. Hints
// follow the main window's hint setting.
class FormListWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormListWidget(TFormList& model, const TFormMain& main, ViewHub& hub);

    void render() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QToolButton* makeToggle(const QString& name, QRect geometry);

    TFormList& list_;
    const TFormMain& main_;
    ClickLabel *Image1, *LabelORG, *LabelDST, *LabelCDID;
    std::array<QToolButton*, TFormList::kEntries + 1> SpeedButton{}; // [1] .. [60]
    QToolButton *SpeedButtonSET, *SpeedButtonMON, *SpeedButtonBAK, *SpeedButtonNXT;
    QCheckBox *CheckBoxRandom, *CheckBoxReverse;
    QPushButton* ButtonClose;
};

} // namespace tobira
