// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/views/list_page_widget.h"

#include "forms/views/list_box.h"
#include "forms/views/view_state.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>

namespace tobira {

ListPageWidget::ListPageWidget(ListPage& page, PageDispatch dispatch, QWidget* parent)
    : QWidget(parent), page_(page), dispatch_(std::move(dispatch)), ListBoxTitle(new ListBox(this)),
      EditTitle(new QLineEdit(this)), EditPath(new QLineEdit(this)),
      RadioGroupFeel(new QButtonGroup(this)),
      feelBox_(new QGroupBox(QStringLiteral(" 好感度 "), this)),
      ScrollBarVol(new QScrollBar(Qt::Horizontal, this)), PanelVol(new QLabel(this)),
      labelVol_(new QLabel(this)), PanelAll(new QLabel(this)), labelAll_(new QLabel(this)) {
    ListBoxTitle->setAccessibleName(QStringLiteral("リスト%1の曲").arg(page.List()));
    EditTitle->setAccessibleName(QStringLiteral("曲名"));
    EditPath->setAccessibleName(QStringLiteral("ＭＩＤＩファイル"));
    const QString digit = QString::number(page.List());
    ListBoxTitle->setObjectName(QStringLiteral("ListBoxTitle") + digit);
    EditTitle->setObjectName(QStringLiteral("EditTitle") + digit);
    EditTitle->installEventFilter(this);
    EditPath->setObjectName(QStringLiteral("EditPath") + digit);
    EditPath->setReadOnly(true);
    // A value the keys can set too (a scroll bar takes no focus of its own).
    ScrollBarVol->setFocusPolicy(Qt::StrongFocus);
    ScrollBarVol->setAccessibleName(QStringLiteral("音量値"));
    ScrollBarVol->setRange(-5, 5);
    ScrollBarVol->setPageStep(1);
    labelVol_->setText(QStringLiteral(" -5 音量値 +5"));
    labelAll_->setText(QStringLiteral("総曲数"));
    for (QLabel* panel : {PanelVol, PanelAll}) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setAlignment(Qt::AlignCenter);
    }
    const char* feels[] = {"大好き", "普通", "まあまあ", "お休み"};
    for (int i = 0; i < 4; ++i)
        RadioGroupFeel->addButton(new QRadioButton(QString::fromUtf8(feels[i]), feelBox_), i);
    // Named as the window names them: SpeedButtonDel0 on page 0, SpeedButtonDel1 on page 1.
    auto button = [this, digit](const char* name, void (ListPage::*click)()) {
        QToolButton* b =
            MakePageButton(this, name, dispatch_, [&page = page_, click] { (page.*click)(); });
        b->setObjectName(b->objectName() + digit);
        return b;
    };
    SpeedButtonAuto = button("SpeedButtonAuto", &ListPage::SpeedButtonAutoClick);
    SpeedButtonManual = button("SpeedButtonManual", &ListPage::SpeedButtonManualClick);
    SpeedButtonDel = button("SpeedButtonDel", &ListPage::SpeedButtonDelClick);
    SpeedButtonEdit = button("SpeedButtonEdit", &ListPage::SpeedButtonEditClick);
    SpeedButtonCtrl = button("SpeedButtonCtrl", &ListPage::SpeedButtonCtrlClick);
    SpeedButtonMon = button("SpeedButtonMon", &ListPage::SpeedButtonMonClick);
    SpeedButtonTxt = button("SpeedButtonTxt", &ListPage::SpeedButtonTxtClick);
    SpeedButtonDoc = button("SpeedButtonDoc", &ListPage::SpeedButtonDocClick);
    SpeedButtonHed = button("SpeedButtonHed", &ListPage::SpeedButtonHedClick);
    SpeedButtonAddA = button("SpeedButtonAddA", &ListPage::SpeedButtonAddAClick);

    connect(ListBoxTitle, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = ListBoxTitle->row(item);
        dispatch_([this, row] { page_.ListBoxTitleClick(row); });
    });
    connect(ListBoxTitle, &QListWidget::itemDoubleClicked, this,
            [this] { dispatch_([this] { page_.SpeedButtonMonClick(); }); });
    ListBoxTitle->onKeyMove = [this](int row) {
        dispatch_([this, row] { page_.ListBoxTitleClick(row); });
    };
    ListBoxTitle->onEnter = [this](int) { dispatch_([this] { page_.SpeedButtonMonClick(); }); };
    connect(EditTitle, &QLineEdit::textEdited, this,
            [this](const QString& text) { page_.EditTitle = ToCp932(text); });
    connect(RadioGroupFeel, &QButtonGroup::idClicked, this,
            [this](int id) { page_.RadioGroupFeel = id; });
    connect(ScrollBarVol, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != page_.ScrollBarVol)
            dispatch_([this, value] { page_.ScrollBarVolChange(value); });
    });
}

bool ListPageWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditTitle && event->type() == QEvent::MouseButtonRelease)
        dispatch_([this] { page_.EditTitleClick(); });
    return QWidget::eventFilter(watched, event);
}

void ListPageWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

// Titles on top; below them the song's details and two rows of buttons.
void ListPageWidget::layOut() {
    const int w = width();
    const int h = height();
    const int row = 20;
    const int caption = feelBox_->fontMetrics().height();
    // Everything below the titles: the two fields, the liking group, three rows of buttons.
    const int details = 5 * row + 56 + caption;
    ListBoxTitle->setGeometry(2, 2, w - 4, std::max(40, h - details));
    int y = ListBoxTitle->geometry().bottom() + 3;
    EditTitle->setGeometry(2, y, w - 4, row);
    y += row + 1;
    EditPath->setGeometry(2, y, w - 4, row);
    y += row + 2;
    // Two columns of liking choices, each as wide as its longer caption needs.
    int columns[2] = {0, 0};
    for (int i = 0; i < 4; ++i)
        columns[i % 2] = std::max(columns[i % 2], RadioGroupFeel->button(i)->sizeHint().width());
    for (int i = 0; i < 4; ++i)
        RadioGroupFeel->button(i)->setGeometry(4 + (i % 2 ? columns[0] : 0), caption + (i / 2) * 18,
                                               columns[i % 2], 18);
    // The group's caption " 好感度 " above its four choices.
    feelBox_->setGeometry(
        2, y,
        std::max(columns[0] + columns[1] + 8,
                 feelBox_->fontMetrics().horizontalAdvance(feelBox_->title()) + 16),
        caption + 40);
    const int volX = feelBox_->geometry().right() + 4;
    labelVol_->setGeometry(volX, y, w - volX - 2, 16);
    ScrollBarVol->setGeometry(volX, y + 18, std::max(24, w - volX - 2 - 34), 16);
    PanelVol->setGeometry(w - 34, y + 18, 32, 18);
    y += caption + 42;
    labelAll_->setGeometry(2, y, 40, row);
    PanelAll->setGeometry(44, y, 50, row);
    int x = 98;
    for (QToolButton* b : {SpeedButtonCtrl, SpeedButtonAddA}) {
        b->setGeometry(x, y, 44, row);
        x += 46;
    }
    y += row + 2;
    x = 2;
    const int bw = (w - 4) / 4;
    for (QToolButton* b : {SpeedButtonAuto, SpeedButtonManual, SpeedButtonDel, SpeedButtonEdit}) {
        b->setGeometry(x, y, bw - 1, row);
        x += bw;
    }
    y += row + 2;
    SpeedButtonMon->setGeometry(2, y, bw - 1, row);
    x = 2 + bw;
    for (QToolButton* b : {SpeedButtonTxt, SpeedButtonDoc, SpeedButtonHed}) {
        b->setGeometry(x, y, 24, row);
        x += 25;
    }
}

void ListPageWidget::render(const FontChoice& font, bool hints) {
    const QFont listFont = ListQFont(font);
    for (QWidget* w : {static_cast<QWidget*>(ListBoxTitle), static_cast<QWidget*>(EditTitle)})
        if (w->font() != listFont)
            w->setFont(listFont);
    ShowHint(ListBoxTitle, QStringLiteral("ダブルクリックで試聴"), hints);
    ShowHint(labelVol_, QStringLiteral("この設定はサウンドカードに対して有効です"), hints);
    ShowHint(feelBox_, QStringLiteral("再生確率＝２００，１００，５０，０％"), hints);
    ShowList(ListBoxTitle, page_.ListBoxTitle);
    ShowRow(ListBoxTitle, page_.ItemIndex);
    ShowEdit(EditTitle, page_.EditTitle);
    ShowRequests(EditTitle, EditTitle, page_.EditTitleRequests, editTitleDone_);
    ShowEdit(EditPath, page_.EditPath);
    if (page_.RadioGroupFeel >= 0 && page_.RadioGroupFeel < 4) {
        RadioGroupFeel->button(page_.RadioGroupFeel)->setChecked(true);
    } else if (QAbstractButton* checked = RadioGroupFeel->checkedButton()) {
        RadioGroupFeel->setExclusive(false);
        checked->setChecked(false);
        RadioGroupFeel->setExclusive(true);
    }
    if (ScrollBarVol->value() != page_.ScrollBarVol) {
        QSignalBlocker block(ScrollBarVol);
        ScrollBarVol->setValue(page_.ScrollBarVol);
    }
    PanelVol->setText(FromCp932(page_.PanelVol));
    PanelAll->setText(FromCp932(page_.PanelAll));
    const std::pair<QToolButton*, const ButtonState*> buttons[] = {
        {SpeedButtonAuto, &page_.SpeedButtonAuto}, {SpeedButtonManual, &page_.SpeedButtonManual},
        {SpeedButtonDel, &page_.SpeedButtonDel},   {SpeedButtonEdit, &page_.SpeedButtonEdit},
        {SpeedButtonCtrl, &page_.SpeedButtonCtrl}, {SpeedButtonMon, &page_.SpeedButtonMon},
        {SpeedButtonTxt, &page_.SpeedButtonTxt},   {SpeedButtonDoc, &page_.SpeedButtonDoc},
        {SpeedButtonHed, &page_.SpeedButtonHed},   {SpeedButtonAddA, &page_.SpeedButtonAddA}};
    for (auto [button, state] : buttons)
        ShowButton(button, *state, hints);
}

} // namespace tobira
