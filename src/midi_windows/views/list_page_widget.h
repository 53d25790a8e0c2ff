// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "midi_windows/list_page.h"
#include "midi_windows/views/page_widgets.h"

#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class QToolButton;

namespace tobira {

class ListBox;

// The view of one list page: titles, the selected song's details and the page's buttons.
class ListPageWidget final : public QWidget {
    Q_OBJECT
  public:
    ListPageWidget(ListPage& page, PageDispatch dispatch, QWidget* parent);
    void render(const FontChoice& font, bool hints);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void layOut();

    ListPage& page_;
    PageDispatch dispatch_;
    ListBox* ListBoxTitle;
    QLineEdit *EditTitle, *EditPath;
    QButtonGroup* RadioGroupFeel;
    QGroupBox* feelBox_;
    QScrollBar* ScrollBarVol;
    QLabel *PanelVol, *labelVol_, *PanelAll, *labelAll_;
    QToolButton *SpeedButtonAuto, *SpeedButtonManual, *SpeedButtonDel, *SpeedButtonEdit,
        *SpeedButtonCtrl, *SpeedButtonMon, *SpeedButtonTxt, *SpeedButtonDoc, *SpeedButtonHed,
        *SpeedButtonAddA;
    EditRequests editTitleDone_;
};

} // namespace tobira
