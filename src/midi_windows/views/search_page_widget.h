// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "midi_windows/views/page_widgets.h"
#include "midi_windows/search_page.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace tobira {

class ListBox;

// The view of the search page: keyword, mode, results and their buttons, the start folders.
class SearchPageWidget final : public QWidget {
    Q_OBJECT
  public:
    SearchPageWidget(SearchPage& page, PageDispatch dispatch, QWidget* parent);
    void render(const FontChoice& font, bool hints);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void layOut();

    SearchPage& page_;
    PageDispatch dispatch_;
    QComboBox* ComboBoxKeyWord;
    ListBox* ListBoxSearch;
    QLabel *PanelMode, *PanelMsg;
    QToolButton *ButtonSearch, *ButtonClear, *ButtonAll, *ButtonMon, *ButtonJump, *BitBtnCheck,
        *BitBtnAddA, *ButtonRef;
    QLineEdit *EditList0, *EditList1;
    EditRequests keyWordDone_, editList0Done_, editList1Done_;
};

} // namespace tobira
