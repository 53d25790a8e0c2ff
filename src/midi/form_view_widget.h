#pragma once

#include "forms/form_widget.h"
#include "midi/form_view.h"

class QLabel;
class QListWidget;
class QTabBar;
class QToolButton;

namespace tobira {

// The view of TFormView's play page: the play list, the number panels, the document buttons,
// ▲ ▼ Select Close, and the source and order buttons. The other pages' tabs are shown; their
// contents come with the list pages, search and albums.
class FormViewWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormViewWidget(TFormView& model, ViewHub& hub);

    void render() override;

  private:
    QToolButton* makeButton(const char* name, QRect geometry, void (TFormView::*click)());
    QToolButton* makeToggle(const char* name, QRect geometry, std::function<void()> click);
    void layOut();

    TFormView& view_;
    QTabBar* PageControl1;
    QListWidget* ListBoxTitle;
    QToolButton *SpeedButtonTxt, *SpeedButtonDoc, *SpeedButtonHed, *SpeedButtonJump;
    QToolButton *SpeedButtonLst0, *SpeedButtonLst1, *SpeedButtonLst2;
    QToolButton *SpeedButtonNor, *SpeedButtonNew, *SpeedButtonRnd;
    QLabel *PanelNumber, *PanelNumberAll;
    QToolButton *SpeedButtonBak, *SpeedButtonNxt, *SpeedButtonSelect, *SpeedButtonClose;
};

} // namespace tobira
