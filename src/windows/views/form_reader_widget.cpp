// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/views/form_reader_widget.h"

#include "forms/views/view_hub.h"
#include "forms/views/view_state.h"
#include "forms/views/worker_wait.h"

#include <QEvent>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QThread>

#include <algorithm>
#include <memory>

namespace tobira {
namespace {

// Laying out one line costs time in its length, on opening and on every resize: a document of
// one 16 MB line froze the window for seconds each time. Lines beyond this length (far beyond
// anything written to be read) are broken for the layout; the text stays as it was.
constexpr qsizetype kLayoutLine = 8192;

void BreakLongLines(QString& text) {
    qsizetype longest = 0;
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        longest = std::max(longest, (end < 0 ? text.size() : end) - start);
        if (end < 0)
            break;
        start = end + 1;
    }
    if (longest <= kLayoutLine)
        return;
    QString broken;
    broken.reserve(text.size() + text.size() / kLayoutLine + 1);
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // Never between the two halves of a character beyond the basic plane.
        if (run >= kLayoutLine && c != QLatin1Char('\n') && !c.isLowSurrogate()) {
            broken += QLatin1Char('\n');
            run = 0;
        }
        broken += c;
        run = c == QLatin1Char('\n') ? 0 : run + 1;
    }
    text = std::move(broken);
}

} // namespace

FormReaderWidget::FormReaderWidget(TFormReader& model, ViewHub& hub)
    : FormWidget(model, hub), reader_(model), MemoReader(new QPlainTextEdit(this)) {
    MemoReader->setObjectName(QStringLiteral("MemoReader"));
    MemoReader->setAccessibleName(QStringLiteral("ドキュメント"));
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
        showDocument();
    }
}

void FormReaderWidget::showDocument() {
    // A document of a million lines takes seconds to lay out: it is made on a worker under the
    // busy cursor, then handed to the text area.
    const std::string& bytes = reader_.MemoReader;
    const bool utf8 = reader_.MemoReaderEncoding == TextEncoding::Utf8;
    const QFont font = MemoReader->font();
    QThread* const uiThread = thread();
    std::unique_ptr<QTextDocument> document;
    hub_.workerWait().run([&] {
        QString text = utf8 ? QString::fromStdString(bytes) : FromCp932(bytes);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        BreakLongLines(text);
        document = std::make_unique<QTextDocument>();
        document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
        document->setDefaultFont(font);
        document->setPlainText(text);
        document->moveToThread(uiThread);
    });
    document->setParent(MemoReader);
    MemoReader->setDocument(document.get());
    // The text area keeps the documents it is given; the one shown before goes.
    delete shownDocument_;
    shownDocument_ = document.release();
}

} // namespace tobira
