// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/views/form_widget.h"
#include "windows/form_reader.h"

class QPlainTextEdit;
class QTextDocument;

namespace tobira {

// The view of TFormReader: one text area over the whole window, no wrapping.
class FormReaderWidget final : public FormWidget {
    Q_OBJECT
  public:
    FormReaderWidget(TFormReader& model, ViewHub& hub);
    void render() override;

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showDocument();

    TFormReader& reader_;
    QPlainTextEdit* MemoReader;
    QTextDocument* shownDocument_ = nullptr; // a child of MemoReader
    int shownLoads_ = -1;
};

} // namespace tobira
