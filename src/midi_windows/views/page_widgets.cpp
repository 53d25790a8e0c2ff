// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/views/page_widgets.h"

#include "forms/views/view_state.h"
#include "text/cp932_convert.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QToolButton>

namespace tobira {

namespace {

// A list item as shown: the fields of a raw list line apart, where a TAB would show as nothing.
QString ItemText(const std::string& cp932) {
    return FromCp932(cp932).replace(QLatin1Char('\t'), QStringLiteral("    "));
}

} // namespace

void ShowList(QListWidget* list, const std::vector<std::string>& items) {
    bool same = list->count() == static_cast<int>(items.size());
    for (int i = 0; same && i < list->count(); ++i)
        same = list->item(i)->text() == ItemText(items[static_cast<std::size_t>(i)]);
    if (same)
        return;
    list->clear();
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& item : items)
        texts.push_back(ItemText(item));
    list->addItems(texts);
}

void ShowRow(QListWidget* list, int row) {
    if (list->currentRow() != row)
        list->setCurrentRow(row);
}

void ShowEdit(QLineEdit* edit, const std::string& cp932) {
    const QString text = FromCp932(cp932);
    if (edit->text() != text) {
        edit->setText(text);
        edit->home(false); // a long text shows its beginning, as typed text does
    }
}

void ShowRequests(QLineEdit* edit, QWidget* focus, const EditRequests& requests,
                  EditRequests& done) {
    if (done.Focus != requests.Focus) {
        done.Focus = requests.Focus;
        focus->setFocus(Qt::OtherFocusReason);
    }
    if (done.SelectAll != requests.SelectAll) {
        done.SelectAll = requests.SelectAll;
        // A request comes from a click, and the edit box's own handling of that click would
        // place the cursor afterwards: select once it is done.
        QTimer::singleShot(0, edit, &QLineEdit::selectAll);
    }
}

void ShowBase(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    if (p.color(QPalette::Base) == colour)
        return;
    p.setColor(QPalette::Base, colour);
    widget->setPalette(p);
}

QFont ListQFont(const FontChoice& font) {
    return QFont(FromCp932(font.name), font.size);
}

QToolButton* MakePageButton(QWidget* parent, const char* name, const PageDispatch& dispatch,
                            std::function<void()> click) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(false);
    QObject::connect(button, &QToolButton::clicked, button,
                     [dispatch, click = std::move(click)] { dispatch(click); });
    return button;
}

void ShowHint(QWidget* widget, const QString& hint, bool hints) {
    const QString tip = hints ? hint : QString();
    if (widget->toolTip() != tip)
        widget->setToolTip(tip);
}

std::string ToCp932(const QString& text) {
    return Utf8ToCp932(text.toStdString());
}

} // namespace tobira
