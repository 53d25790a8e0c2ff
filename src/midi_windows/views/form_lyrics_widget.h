// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/views/form_widget.h"
#include "midi_windows/form_lyrics.h"

class QLabel;
class QTimer;

namespace tobira {

// The view of TFormLyrics: the line being sung, its sung part lit, and the next line below,
// on black in the list font.
class FormLyricsWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormLyricsWidget(TFormLyrics& model, ViewHub& hub);
    void render() override;
    void keepTimersInStep() override;

  private:
    TFormLyrics& lyrics_;
    QTimer* TimerLyrics;
    QLabel* LabelLine;
    QLabel* LabelNext;
};

} // namespace tobira
