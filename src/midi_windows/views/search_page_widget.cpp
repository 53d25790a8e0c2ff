// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/views/search_page_widget.h"

#include "forms/views/list_box.h"
#include "forms/views/view_state.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

namespace tobira {

SearchPageWidget::SearchPageWidget(SearchPage& page, PageDispatch dispatch, QWidget* parent)
    : QWidget(parent), page_(page), dispatch_(std::move(dispatch)),
      ComboBoxKeyWord(new QComboBox(this)), ListBoxSearch(new ListBox(this)),
      PanelMode(new QLabel(this)), PanelMsg(new QLabel(this)), EditList0(new QLineEdit(this)),
      EditList1(new QLineEdit(this)) {
    ComboBoxKeyWord->setObjectName(QStringLiteral("ComboBoxKeyWord"));
    ComboBoxKeyWord->setAccessibleName(QStringLiteral("検索語"));
    ListBoxSearch->setAccessibleName(QStringLiteral("検索結果"));
    EditList0->setAccessibleName(QStringLiteral("リスト０の自動追加で最初に開くフォルダ"));
    EditList1->setAccessibleName(QStringLiteral("リスト１の自動追加で最初に開くフォルダ"));
    ComboBoxKeyWord->setEditable(true);
    ComboBoxKeyWord->lineEdit()->installEventFilter(this);
    ListBoxSearch->setObjectName(QStringLiteral("ListBoxSearch"));
    ListBoxSearch->setSelectionMode(QAbstractItemView::ExtendedSelection);
    PanelMode->setObjectName(QStringLiteral("PanelMode"));
    PanelMode->setAlignment(Qt::AlignCenter);
    PanelMode->setAutoFillBackground(true);
    PanelMsg->setObjectName(QStringLiteral("PanelMsg"));
    PanelMsg->setAlignment(Qt::AlignCenter);
    PanelMsg->setFrameShape(QFrame::Panel);
    for (QLineEdit* edit : {EditList0, EditList1}) {
        edit->installEventFilter(this);
        edit->setReadOnly(true);
    }
    EditList0->setObjectName(QStringLiteral("EditList0"));
    EditList1->setObjectName(QStringLiteral("EditList1"));
    PanelMode->installEventFilter(this);
    PanelMsg->installEventFilter(this);

    auto button = [this](const char* name, void (SearchPage::*click)()) {
        return MakePageButton(this, name, dispatch_, [&page = page_, click] { (page.*click)(); });
    };
    ButtonSearch = button("ButtonSearch", &SearchPage::ButtonSearchClick);
    ButtonClear = button("ButtonClear", &SearchPage::ButtonClearClick);
    ButtonAll = button("ButtonAll", &SearchPage::ButtonAllClick);
    ButtonMon = button("ButtonMon", &SearchPage::ButtonMonClick);
    ButtonJump = button("ButtonJump", &SearchPage::ButtonJumpClick);
    BitBtnCheck = button("BitBtnCheck", &SearchPage::BitBtnCheckClick);
    BitBtnAddA = button("BitBtnAddA", &SearchPage::BitBtnAddAClick);
    ButtonRef = button("ButtonRef", &SearchPage::ButtonRefClick);

    connect(ComboBoxKeyWord, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { page_.ComboBoxKeyWord = ToCp932(text); });
    connect(ComboBoxKeyWord, &QComboBox::activated, this,
            [this] { dispatch_([this] { page_.ComboBoxKeyWordClick(); }); });
    connect(ListBoxSearch, &QListWidget::itemSelectionChanged, this, [this] {
        std::vector<bool> selected(static_cast<std::size_t>(ListBoxSearch->count()), false);
        for (QListWidgetItem* item : ListBoxSearch->selectedItems())
            selected[static_cast<std::size_t>(ListBoxSearch->row(item))] = true;
        if (selected != page_.ListBoxSearchSelected)
            dispatch_([this, selected] { page_.ListBoxSearchClick(selected); });
    });
    // A click counts also on a row that stays selected (after a new search, say).
    connect(ListBoxSearch, &QListWidget::itemClicked, this, [this] {
        std::vector<bool> selected(static_cast<std::size_t>(ListBoxSearch->count()), false);
        for (QListWidgetItem* item : ListBoxSearch->selectedItems())
            selected[static_cast<std::size_t>(ListBoxSearch->row(item))] = true;
        dispatch_([this, selected] { page_.ListBoxSearchClick(selected); });
    });
    connect(ListBoxSearch, &QListWidget::itemDoubleClicked, this,
            [this] { dispatch_([this] { page_.ButtonMonClick(); }); });
    ListBoxSearch->onEnter = [this](int) { dispatch_([this] { page_.ButtonMonClick(); }); };
}

bool SearchPageWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == PanelMode)
            dispatch_([this] { page_.PanelModeClick(); });
        else if (watched == PanelMsg)
            dispatch_([this] { page_.PanelMsgClick(); });
        else if (watched == EditList0)
            dispatch_([this] { page_.EditList0Click(); });
        else if (watched == EditList1)
            dispatch_([this] { page_.EditList1Click(); });
        else if (watched == ComboBoxKeyWord->lineEdit())
            dispatch_([this] { page_.ComboBoxKeyWordClick(); });
    }
    return QWidget::eventFilter(watched, event);
}

void SearchPageWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void SearchPageWidget::layOut() {
    const int w = width();
    const int h = height();
    const int row = 20;
    ComboBoxKeyWord->setGeometry(2, 2, w - 4 - 100, row + 2);
    PanelMode->setGeometry(w - 100, 2, 98, row + 2);
    int x = 2;
    const int bw = (w - 4) / 5;
    for (QToolButton* b : {ButtonSearch, ButtonClear, ButtonAll, ButtonMon, ButtonJump}) {
        b->setGeometry(x, row + 6, bw - 1, row);
        x += bw;
    }
    const int bottom = h - 3 * (row + 2);
    ListBoxSearch->setGeometry(2, 2 * row + 8, w - 4, std::max(30, bottom - 2 * row - 10));
    int y = bottom;
    BitBtnCheck->setGeometry(2, y, 50, row);
    BitBtnAddA->setGeometry(54, y, 50, row);
    PanelMsg->setGeometry(w - 70, y, 68, row);
    y += row + 2;
    EditList0->setGeometry(2, y, w - 56, row);
    ButtonRef->setGeometry(w - 52, y, 50, 2 * row + 2);
    y += row + 2;
    EditList1->setGeometry(2, y, w - 56, row);
}

void SearchPageWidget::render(const FontChoice& font, bool hints) {
    const QFont listFont = ListQFont(font);
    for (QWidget* w :
         {static_cast<QWidget*>(ListBoxSearch), static_cast<QWidget*>(ComboBoxKeyWord)})
        if (w->font() != listFont)
            w->setFont(listFont);
    if (ComboBoxKeyWord->currentText() != FromCp932(page_.ComboBoxKeyWord)) {
        QSignalBlocker block(ComboBoxKeyWord);
        ComboBoxKeyWord->setEditText(FromCp932(page_.ComboBoxKeyWord));
    }
    QStringList items;
    for (const std::string& item : page_.ComboBoxKeyWordItems)
        items.push_back(FromCp932(item));
    QStringList shown;
    for (int i = 0; i < ComboBoxKeyWord->count(); ++i)
        shown.push_back(ComboBoxKeyWord->itemText(i));
    if (shown != items) {
        QSignalBlocker block(ComboBoxKeyWord);
        const QString text = ComboBoxKeyWord->currentText();
        ComboBoxKeyWord->clear();
        ComboBoxKeyWord->addItems(items);
        ComboBoxKeyWord->setEditText(text);
    }
    {
        QSignalBlocker block(ListBoxSearch);
        ShowList(ListBoxSearch, page_.ListBoxSearch);
        for (int i = 0; i < ListBoxSearch->count(); ++i) {
            const auto index = static_cast<std::size_t>(i);
            const bool selected =
                index < page_.ListBoxSearchSelected.size() && page_.ListBoxSearchSelected[index];
            if (ListBoxSearch->item(i)->isSelected() != selected)
                ListBoxSearch->item(i)->setSelected(selected);
        }
    }
    const QColor base =
        page_.ListBoxSearchColor == SearchPage::ResultColor::Yellow
            ? QColor(Qt::yellow)
            : palette().color(page_.ListBoxSearchColor == SearchPage::ResultColor::Window
                                  ? QPalette::Base
                                  : QPalette::Button);
    ShowBase(ListBoxSearch, base);
    ShowHint(ListBoxSearch, QStringLiteral("複数の選択が可（ダブルクリックで指定曲を再生）"),
             hints);
    for (QLineEdit* edit : {EditList0, EditList1})
        ShowHint(edit, QStringLiteral("「自動追加」時、最初に開くフォルダを設定します"), hints);
    PanelMode->setText(FromCp932(page_.PanelMode.Caption));
    PanelMode->setToolTip(hints ? FromCp932(page_.PanelMode.Hint) : QString());
    QPalette p = PanelMode->palette();
    const Color c = page_.PanelMode.Font;
    p.setColor(QPalette::Window, QColor(c.r, c.g, c.b));
    p.setColor(QPalette::WindowText, Qt::white);
    PanelMode->setPalette(p);
    PanelMsg->setText(FromCp932(page_.PanelMsg.Caption));
    PanelMsg->setToolTip(hints ? FromCp932(page_.PanelMsg.Hint) : QString());
    ShowRequests(ComboBoxKeyWord->lineEdit(), ComboBoxKeyWord, page_.ComboBoxKeyWordRequests,
                 keyWordDone_);
    ShowEdit(EditList0, page_.EditList0);
    ShowEdit(EditList1, page_.EditList1);
    ShowRequests(EditList0, EditList0, page_.EditList0Requests, editList0Done_);
    ShowRequests(EditList1, EditList1, page_.EditList1Requests, editList1Done_);
    const std::pair<QToolButton*, const ButtonState*> buttons[] = {
        {ButtonSearch, &page_.ButtonSearch}, {ButtonClear, &page_.ButtonClear},
        {ButtonAll, &page_.ButtonAll},       {ButtonMon, &page_.ButtonMon},
        {ButtonJump, &page_.ButtonJump},     {BitBtnCheck, &page_.BitBtnCheck},
        {BitBtnAddA, &page_.BitBtnAddA},     {ButtonRef, &page_.ButtonRef}};
    for (auto [button, state] : buttons)
        ShowButton(button, *state, hints);
}

} // namespace tobira
