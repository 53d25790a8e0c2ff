// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/views/form_widget.h"
#include "midi_windows/form_view.h"

class QLabel;
class QStackedWidget;
class QTabBar;
class QTimer;
class QToolButton;

namespace tobira {

class ListBox;
class AlbumPageWidget;
class ListPageWidget;
class SearchPageWidget;

// The view of TFormView: five pages under tabs at the bottom, and the bottom bar with the
// source and order buttons, the number panels, ▲ ▼ Select Close. The pages other than the
// play page are views of their own.
class FormViewWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormViewWidget(TFormView& model, ViewHub& hub);

    void render() override;
    void keepTimersInStep() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QToolButton* makeButton(QWidget* parent, const char* name, void (TFormView::*click)());
    QToolButton* makeToggle(const char* name, std::function<void()> click);
    void layOut();

    TFormView& view_;
    QTabBar* PageControl1;
    QStackedWidget* pages_;
    QWidget* playPage_;
    ListPageWidget *listPage0_, *listPage1_;
    SearchPageWidget* searchPage_;
    AlbumPageWidget* albumPage_;
    ListBox* ListBoxTitle;
    QLabel *PanelClose, *PanelBarClose;
    QTimer* TimerClose;
    QToolButton *SpeedButtonTxt, *SpeedButtonDoc, *SpeedButtonHed, *SpeedButtonJump;
    QToolButton* SpeedButtonLyrics;
    QToolButton* SpeedButtonParts;
    QToolButton *SpeedButtonLst0, *SpeedButtonLst1, *SpeedButtonLst2;
    QToolButton *SpeedButtonNor, *SpeedButtonNew, *SpeedButtonRnd;
    QLabel *PanelNumber, *PanelNumberAll;
    QToolButton *SpeedButtonBak, *SpeedButtonNxt, *SpeedButtonSelect, *SpeedButtonClose;
};

} // namespace tobira
