// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/views/form_widget.h"
#include "cd_windows/form_pattern.h"

#include <array>

class QToolButton;

namespace tobira {

// The view of TFormPattern, the CD program selector: ten numbered rows with the patterns'
// titles, "＋Random ", "＋Reverse " and "Close". Hints follow the main window's hint setting.
// The keys work it as a list: the arrows move between the rows and buttons, Enter or Space
// chooses, Escape closes.
class FormPatternWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormPatternWidget(TFormPattern& model, const bool& showHints, ViewHub& hub);

    void render() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    TFormPattern& pattern_;
    const bool& showHints_; // the main window's hint switch, read at every render
    std::array<QToolButton*, kPatternSlots> SpeedButton{};
    QToolButton *SpeedButtonRandom, *SpeedButtonReverse, *SpeedButtonClose;
};

} // namespace tobira
