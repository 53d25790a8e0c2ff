// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/views/album_page_widget.h"

#include "forms/views/list_box.h"
#include "forms/views/view_state.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace tobira {

AlbumPageWidget::AlbumPageWidget(AlbumPage& page, PageDispatch dispatch, QWidget* parent)
    : QWidget(parent), page_(page), dispatch_(std::move(dispatch)), tabs_(new QTabWidget(this)),
      manage_(new QWidget), edit_(new QWidget), ListBoxATitles(new ListBox(manage_)),
      ListBoxAContents(new ListBox(edit_)), EditATitles(new QLineEdit(manage_)),
      EditAContents(new QLineEdit(edit_)), EditATitle(new QLineEdit(edit_)) {
    tabs_->addTab(manage_, QStringLiteral(" アルバムの管理 "));
    tabs_->addTab(edit_, QStringLiteral(" 新規作成と編集 "));
    ListBoxATitles->setObjectName(QStringLiteral("ListBoxATitles"));
    ListBoxATitles->setAccessibleName(QStringLiteral("アルバム"));
    ListBoxAContents->setAccessibleName(QStringLiteral("アルバムの曲"));
    EditATitles->setAccessibleName(QStringLiteral("選んだアルバム"));
    EditAContents->setAccessibleName(QStringLiteral("選んだ曲"));
    EditATitle->setAccessibleName(QStringLiteral("アルバム名"));
    ListBoxAContents->setObjectName(QStringLiteral("ListBoxAContents"));
    ShowBase(ListBoxATitles, QColor(Qt::yellow));
    ShowBase(ListBoxAContents, QColor(Qt::cyan));
    EditATitles->setObjectName(QStringLiteral("EditATitles"));
    EditATitle->setObjectName(QStringLiteral("EditATitle"));
    EditAContents->setObjectName(QStringLiteral("EditAContents"));
    auto* group = new QLabel(QStringLiteral(" タイトル入力とリスト保存 "), edit_);
    group->setObjectName(QStringLiteral("GroupTitle"));
    auto button = [this](QWidget* owner, const char* name, void (AlbumPage::*click)()) {
        return MakePageButton(owner, name, dispatch_, [&page = page_, click] { (page.*click)(); });
    };
    SpeedButtonATitleAll =
        button(manage_, "SpeedButtonATitleAll", &AlbumPage::SpeedButtonATitleAllClick);
    SpeedButtonATitleDel =
        button(manage_, "SpeedButtonATitleDel", &AlbumPage::SpeedButtonATitleDelClick);
    SpeedButtonATitleEdit =
        button(manage_, "SpeedButtonATitleEdit", &AlbumPage::SpeedButtonATitleEditClick);
    SpeedButtonATitleLoad =
        button(edit_, "SpeedButtonATitleLoad", &AlbumPage::SpeedButtonATitleLoadClick);
    SpeedButtonClear = button(edit_, "SpeedButtonClear", &AlbumPage::SpeedButtonClearClick);
    SpeedButtonADel = button(edit_, "SpeedButtonADel", &AlbumPage::SpeedButtonADelClick);
    SpeedButtonAEdit = button(edit_, "SpeedButtonAEdit", &AlbumPage::SpeedButtonAEditClick);
    SpeedButtonACUp = button(edit_, "SpeedButtonACUp", &AlbumPage::SpeedButtonACUpClick);
    SpeedButtonACDown = button(edit_, "SpeedButtonACDown", &AlbumPage::SpeedButtonACDownClick);
    SpeedButtonASave = button(edit_, "SpeedButtonASave", &AlbumPage::SpeedButtonASaveClick);

    connect(ListBoxATitles, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = ListBoxATitles->row(item);
        dispatch_([this, row] { page_.ListBoxATitlesClick(row); });
    });
    connect(ListBoxATitles, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = ListBoxATitles->row(item);
        dispatch_([this, row] { page_.ListBoxATitlesDblClick(row); });
    });
    connect(ListBoxAContents, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = ListBoxAContents->row(item);
        dispatch_([this, row] { page_.ListBoxAContentsClick(row); });
    });
    ListBoxATitles->onKeyMove = [this](int row) {
        dispatch_([this, row] { page_.ListBoxATitlesClick(row); });
    };
    ListBoxATitles->onEnter = [this](int row) {
        dispatch_([this, row] { page_.ListBoxATitlesDblClick(row); });
    };
    ListBoxAContents->onKeyMove = [this](int row) {
        dispatch_([this, row] { page_.ListBoxAContentsClick(row); });
    };
    connect(tabs_, &QTabWidget::tabBarClicked, this,
            [this](int tab) { dispatch_([this, tab] { page_.InnerPage = tab; }); });
    connect(EditATitles, &QLineEdit::textEdited, this,
            [this](const QString& text) { page_.EditATitles = ToCp932(text); });
    connect(EditATitle, &QLineEdit::textEdited, this,
            [this](const QString& text) { page_.EditATitle = ToCp932(text); });
    connect(EditAContents, &QLineEdit::textEdited, this,
            [this](const QString& text) { page_.EditAContents = ToCp932(text); });
}

void AlbumPageWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void AlbumPageWidget::layOut() {
    tabs_->setGeometry(0, 0, width(), height());
    // The inner pages' size, before the tab widget has laid them out.
    const int w = width() - 6;
    const int h = height() - tabs_->tabBar()->sizeHint().height() - 8;
    const int row = 20;
    ListBoxATitles->setGeometry(2, 2, w - 4, h - 2 * row - 10);
    EditATitles->setGeometry(2, h - 2 * row - 6, w - 4, row);
    int x = 2;
    for (QToolButton* b : {SpeedButtonATitleAll, SpeedButtonATitleDel, SpeedButtonATitleEdit}) {
        const int bw = b == SpeedButtonATitleAll ? 88 : 44;
        b->setGeometry(x, h - row - 2, bw, row);
        x += bw + 2;
    }
    ListBoxAContents->setGeometry(2, 2, w - 4, h - 4 * row - 14);
    int y = h - 4 * row - 10;
    EditAContents->setGeometry(2, y, w - 4, row);
    y += row + 2;
    x = 2;
    for (QToolButton* b : {SpeedButtonATitleLoad, SpeedButtonClear, SpeedButtonADel,
                           SpeedButtonAEdit, SpeedButtonACUp, SpeedButtonACDown}) {
        const int bw = b == SpeedButtonACUp || b == SpeedButtonACDown ? 24 : 40;
        b->setGeometry(x, y, bw, row);
        x += bw + 1;
    }
    y += row + 4;
    if (auto* label = edit_->findChild<QLabel*>(QStringLiteral("GroupTitle")))
        label->setGeometry(2, y, w - 4, 16);
    y += 17;
    EditATitle->setGeometry(2, y, w - 52, row);
    SpeedButtonASave->setGeometry(w - 48, y, 46, row);
}

void AlbumPageWidget::render(bool hints) {
    if (tabs_->currentIndex() != page_.InnerPage)
        tabs_->setCurrentIndex(page_.InnerPage);
    for (QLineEdit* name : {EditATitles, EditATitle})
        ShowHint(name, QStringLiteral("アルバム名"), hints);
    ShowList(ListBoxATitles, page_.ListBoxATitles);
    ShowRow(ListBoxATitles, page_.ATitlesIndex);
    ShowList(ListBoxAContents, page_.ListBoxAContents);
    ShowRow(ListBoxAContents, page_.AContentsIndex);
    ShowEdit(EditATitles, page_.EditATitles);
    ShowEdit(EditATitle, page_.EditATitle);
    ShowEdit(EditAContents, page_.EditAContents);
    const std::pair<QToolButton*, const ButtonState*> buttons[] = {
        {SpeedButtonATitleAll, &page_.SpeedButtonATitleAll},
        {SpeedButtonATitleDel, &page_.SpeedButtonATitleDel},
        {SpeedButtonATitleEdit, &page_.SpeedButtonATitleEdit},
        {SpeedButtonATitleLoad, &page_.SpeedButtonATitleLoad},
        {SpeedButtonClear, &page_.SpeedButtonClear},
        {SpeedButtonADel, &page_.SpeedButtonADel},
        {SpeedButtonAEdit, &page_.SpeedButtonAEdit},
        {SpeedButtonACUp, &page_.SpeedButtonACUp},
        {SpeedButtonACDown, &page_.SpeedButtonACDown},
        {SpeedButtonASave, &page_.SpeedButtonASave}};
    for (auto [button, state] : buttons)
        ShowButton(button, *state, hints);
}

} // namespace tobira
