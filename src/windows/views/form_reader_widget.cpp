#include "windows/views/form_reader_widget.h"

#include "forms/views/view_state.h"

#include <QEvent>
#include <QPlainTextEdit>

namespace tobira {

FormReaderWidget::FormReaderWidget(TFormReader& model, ViewHub& hub)
    : FormWidget(model, hub), reader_(model), MemoReader(new QPlainTextEdit(this)) {
    MemoReader->setObjectName(QStringLiteral("MemoReader"));
    MemoReader->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoReader->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoReader->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette p = MemoReader->palette();
    p.setColor(QPalette::Base, p.color(QPalette::ToolTipBase));
    p.setColor(QPalette::Text, p.color(QPalette::ToolTipText));
    MemoReader->setPalette(p);
}

bool FormReaderWidget::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        dispatch([this] { reader_.FormActivate(); });
    return FormWidget::event(event);
}

void FormReaderWidget::resizeEvent(QResizeEvent* event) {
    FormWidget::resizeEvent(event);
    MemoReader->setGeometry(0, 0, width(), height());
}

void FormReaderWidget::render() {
    FormWidget::render();
    MemoReader->setGeometry(0, 0, width(), height());
    const QFont font(FromCp932(reader_.MemoReaderFont.name), reader_.MemoReaderFont.size);
    if (MemoReader->font() != font)
        MemoReader->setFont(font);
    // Each load replaces the text, whatever the user typed into it.
    if (shownLoads_ != reader_.Loads) {
        shownLoads_ = reader_.Loads;
        QString text = reader_.MemoReaderEncoding == TextEncoding::Utf8
                           ? QString::fromStdString(reader_.MemoReader)
                           : FromCp932(reader_.MemoReader);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        MemoReader->setPlainText(text);
    }
}

} // namespace tobira
