// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/views/form_widget.h"
#include "windows/form_midi.h"

#include <array>

class QLabel;
class QToolButton;

namespace tobira {

class ListBox;

// The MIDI selector: source and order buttons with Start, the folder and album list, and
// Add / Del / ▲ / Close under it. Resizable down to 280 pixels wide.
class FormMidiWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormMidiWidget(TFormMidi& model, ViewHub& hub);
    void render() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QToolButton* makeButton(const char* name, void (TFormMidi::*click)());

    TFormMidi& midi_;
    std::array<QToolButton*, 3> sources_{};
    std::array<QToolButton*, 3> orders_{};
    QToolButton *BitBtnStart, *SpeedButtonAdd, *SpeedButtonDel, *SpeedButtonStart,
        *SpeedButtonClose;
    ListBox* ListBoxFolder;
    QLabel* Image1;
};

} // namespace tobira
