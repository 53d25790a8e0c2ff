// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "midi_windows/album_page.h"
#include "midi_windows/views/page_widgets.h"

#include <QWidget>

class QLineEdit;
class QTabWidget;
class QToolButton;

namespace tobira {

class ListBox;

// The view of the album page: the management tab and the create-and-edit tab.
class AlbumPageWidget final : public QWidget {
    Q_OBJECT
  public:
    AlbumPageWidget(AlbumPage& page, PageDispatch dispatch, QWidget* parent);
    void render(bool hints);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void layOut();

    AlbumPage& page_;
    PageDispatch dispatch_;
    QTabWidget* tabs_;
    QWidget *manage_, *edit_;
    ListBox *ListBoxATitles, *ListBoxAContents;
    QLineEdit *EditATitles, *EditAContents, *EditATitle;
    QToolButton *SpeedButtonATitleAll, *SpeedButtonATitleDel, *SpeedButtonATitleEdit,
        *SpeedButtonATitleLoad, *SpeedButtonClear, *SpeedButtonADel, *SpeedButtonAEdit,
        *SpeedButtonACUp, *SpeedButtonACDown, *SpeedButtonASave;
};

} // namespace tobira
