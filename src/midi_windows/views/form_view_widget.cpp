// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/views/form_view_widget.h"

#include "forms/views/list_box.h"
#include "forms/views/view_state.h"
#include "midi_windows/views/album_page_widget.h"
#include "midi_windows/views/list_page_widget.h"
#include "midi_windows/views/search_page_widget.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace tobira {
namespace {

constexpr int kRow = 22;

void ShowPanel(QLabel* label, const LabelState& state, bool hints) {
    const QString caption = FromCp932(state.Caption);
    if (label->text() != caption)
        label->setText(caption);
    const QString tip = hints ? FromCp932(state.Hint) : QString();
    if (label->toolTip() != tip)
        label->setToolTip(tip);
}

} // namespace

FormViewWidget::FormViewWidget(TFormView& model, ViewHub& hub)
    : FormWidget(model, hub), view_(model), PageControl1(new QTabBar(this)),
      pages_(new QStackedWidget(this)), playPage_(new QWidget), ListBoxTitle(nullptr),
      TimerClose(new QTimer(this)), PanelNumber(new QLabel(this)),
      PanelNumberAll(new QLabel(this)) {
    TimerClose->setInterval(1000);
    connect(TimerClose, &QTimer::timeout, this,
            [this] { dispatch([this] { view_.TimerCloseTimer(); }); });
    for (const char* page : {"  Play  ", " List 0", " List 1", " Search ", "Album"})
        PageControl1->addTab(QString::fromLatin1(page));
    PageControl1->setShape(QTabBar::RoundedSouth);
    // All five tabs in the window's narrowest width, without scroll arrows.
    PageControl1->setUsesScrollButtons(false);
    PageControl1->setExpanding(false);
    // The style centres a caption in its tab and draws over the tab's last pixels: the
    // captions ending in a letter get the room that "  Play  " can spare.
    PageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 2px 4px; }"
                                               "QTabBar::tab:first { padding: 2px 1px; }"
                                               "QTabBar::tab:last { padding: 2px 5px; }"));
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    connect(PageControl1, &QTabBar::tabBarClicked, this, [this](int page) {
        if (page != view_.PageIndex)
            dispatch([this, page] { view_.PageControl1Change(page); });
    });

    const PageDispatch pageDispatch = [this](const std::function<void()>& handler) {
        dispatch(handler);
    };
    ListBoxTitle = new ListBox(playPage_);
    ListBoxTitle->setObjectName(QStringLiteral("ListBoxTitle"));
    ListBoxTitle->setAccessibleName(QStringLiteral("プレイリスト"));
    PanelClose = new QLabel(playPage_);
    PanelClose->setObjectName(QStringLiteral("PanelClose"));
    PanelClose->setFrameShape(QFrame::Panel);
    PanelClose->setFrameShadow(QFrame::Sunken);
    PanelClose->setAutoFillBackground(true);
    PanelBarClose = new QLabel(PanelClose);
    PanelBarClose->setObjectName(QStringLiteral("PanelBarClose"));
    PanelBarClose->setAutoFillBackground(true);
    PanelClose->installEventFilter(this);
    PanelBarClose->installEventFilter(this);
    SpeedButtonTxt = makeButton(playPage_, "SpeedButtonTxt", &TFormView::SpeedButtonTxtClick);
    SpeedButtonDoc = makeButton(playPage_, "SpeedButtonDoc", &TFormView::SpeedButtonDocClick);
    SpeedButtonHed = makeButton(playPage_, "SpeedButtonHed", &TFormView::SpeedButtonHedClick);
    SpeedButtonJump = makeButton(playPage_, "SpeedButtonJump", &TFormView::SpeedButtonJumpClick);
    SpeedButtonLyrics =
        makeButton(playPage_, "SpeedButtonLyrics", &TFormView::SpeedButtonLyricsClick);
    SpeedButtonParts = makeButton(playPage_, "SpeedButtonParts", &TFormView::SpeedButtonPartsClick);
    listPage0_ = new ListPageWidget(model.Page0, pageDispatch, nullptr);
    listPage1_ = new ListPageWidget(model.Page1, pageDispatch, nullptr);
    searchPage_ = new SearchPageWidget(model.Search, pageDispatch, nullptr);
    albumPage_ = new AlbumPageWidget(model.Album, pageDispatch, nullptr);
    for (QWidget* page :
         {playPage_, static_cast<QWidget*>(listPage0_), static_cast<QWidget*>(listPage1_),
          static_cast<QWidget*>(searchPage_), static_cast<QWidget*>(albumPage_)})
        pages_->addWidget(page);

    PanelNumber->setObjectName(QStringLiteral("PanelNumber"));
    PanelNumberAll->setObjectName(QStringLiteral("PanelNumberAll"));
    for (QLabel* panel : {PanelNumber, PanelNumberAll}) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setAlignment(Qt::AlignCenter);
    }
    SpeedButtonBak = makeButton(this, "SpeedButtonBak", &TFormView::SpeedButtonBakClick);
    SpeedButtonNxt = makeButton(this, "SpeedButtonNxt", &TFormView::SpeedButtonNxtClick);
    SpeedButtonSelect = makeButton(this, "SpeedButtonSelect", &TFormView::SpeedButtonSelectClick);
    SpeedButtonClose = makeButton(this, "SpeedButtonClose", &TFormView::SpeedButtonCloseClick);
    auto source = [this](MidiListSource s) { return [this, s] { view_.ChooseSource(s); }; };
    auto order = [this](MidiOrder o) { return [this, o] { view_.ChooseOrder(o); }; };
    SpeedButtonLst0 = makeToggle("SpeedButtonLst0", source(MidiListSource::List0));
    SpeedButtonLst1 = makeToggle("SpeedButtonLst1", source(MidiListSource::List1));
    SpeedButtonLst2 = makeToggle("SpeedButtonLst2", source(MidiListSource::BothLists));
    SpeedButtonNor = makeToggle("SpeedButtonNor", order(MidiOrder::Nor));
    SpeedButtonNew = makeToggle("SpeedButtonNew", order(MidiOrder::New));
    SpeedButtonRnd = makeToggle("SpeedButtonRnd", order(MidiOrder::Rnd));

    connect(ListBoxTitle, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = ListBoxTitle->row(item);
        dispatch([this, row] { view_.ListBoxTitleClick(row); });
    });
    connect(ListBoxTitle, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = ListBoxTitle->row(item);
        dispatch([this, row] { view_.ListBoxTitleDblClick(row); });
    });
    ListBoxTitle->onKeyMove = [this](int row) {
        dispatch([this, row] { view_.ListBoxTitleClick(row); });
    };
    ListBoxTitle->onEnter = [this](int row) {
        dispatch([this, row] { view_.ListBoxTitleDblClick(row); });
    };
    layOut();
}

QToolButton* FormViewWidget::makeButton(QWidget* parent, const char* name,
                                        void (TFormView::*click)()) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this,
            [this, click] { dispatch([&model = view_, click] { (model.*click)(); }); });
    return button;
}

QToolButton* FormViewWidget::makeToggle(const char* name, std::function<void()> click) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setCheckable(true);
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this,
            [this, click = std::move(click)] { dispatch(click); });
    return button;
}

bool FormViewWidget::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == PanelClose || watched == PanelBarClose) &&
        event->type() == QEvent::MouseButtonRelease) {
        dispatch([this] { view_.PanelCloseClick(); });
        return true;
    }
    return FormWidget::eventFilter(watched, event);
}

void FormViewWidget::closeEvent(QCloseEvent* event) {
    dispatch([this] { view_.FormClose(); });
    // Refusing a close the model has carried out would also refuse the program's end, which
    // closes every window first.
    event->setAccepted(!view_.Visible);
}

void FormViewWidget::resizeEvent(QResizeEvent* event) {
    FormWidget::resizeEvent(event);
    if (isVisible() && (width() < TFormView::kMinWidth || height() < TFormView::kMinHeight))
        dispatch([this] {
            view_.Width = width();
            view_.Height = height();
            view_.FormResize();
        });
    layOut();
}

// The pages fill the window above the two bottom rows; the tabs are at the very bottom.
void FormViewWidget::layOut() {
    const int w = width();
    const int h = height();
    const int tabs = PageControl1->sizeHint().height();
    const int bottom = h - tabs;
    PageControl1->setGeometry(0, bottom, w, tabs);
    const int row1 = bottom - 2 * kRow - 4;
    const int row2 = bottom - kRow - 2;
    pages_->setGeometry(0, 0, w, row1 - 2);
    const int pageHeight = row1 - 2;
    PanelClose->setGeometry(4, 2, TFormView::kCloseIndicatorWidth, kRow - 4);
    int x = TFormView::kCloseIndicatorWidth + 8;
    // Six buttons beside the indicator still fit the narrowest window.
    for (QToolButton* b : {SpeedButtonTxt, SpeedButtonDoc, SpeedButtonHed, SpeedButtonJump,
                           SpeedButtonLyrics, SpeedButtonParts}) {
        b->setGeometry(x, 0, 28, kRow);
        x += 29;
    }
    ListBoxTitle->setGeometry(2, kRow + 2, w - 4, pageHeight - kRow - 4);
    x = 2;
    for (QToolButton* b : {SpeedButtonLst0, SpeedButtonLst1, SpeedButtonLst2}) {
        b->setGeometry(x, row1, 46, kRow);
        x += 47;
    }
    PanelNumber->setGeometry(x + 4, row1, 40, kRow);
    PanelNumberAll->setGeometry(x + 46, row1, 40, kRow);
    x = 2;
    for (QToolButton* b : {SpeedButtonNor, SpeedButtonNew, SpeedButtonRnd}) {
        b->setGeometry(x, row2, 34, kRow);
        x += 35;
    }
    for (QToolButton* b : {SpeedButtonBak, SpeedButtonNxt}) {
        b->setGeometry(x + 2, row2, 22, kRow);
        x += 23;
    }
    SpeedButtonSelect->setGeometry(x + 4, row2, 44, kRow);
    SpeedButtonClose->setGeometry(x + 50, row2, 40, kRow);
}

void FormViewWidget::render() {
    FormWidget::render();
    const bool hints = view_.ShowHint;
    const QFont listFont = ListQFont(view_.ListFont);
    if (ListBoxTitle->font() != listFont)
        ListBoxTitle->setFont(listFont);
    ShowList(ListBoxTitle, view_.ListBoxTitle.entryTexts());
    ShowRow(ListBoxTitle, view_.ListBoxTitleItemIndex);
    ShowBase(ListBoxTitle,
             palette().color(view_.ListBoxTitleWindowColor ? QPalette::Base : QPalette::Button));
    if (PageControl1->currentIndex() != view_.PageIndex)
        PageControl1->setCurrentIndex(view_.PageIndex);
    if (pages_->currentIndex() != view_.PageIndex)
        pages_->setCurrentIndex(view_.PageIndex);

    const Color running = view_.IsAutoClosePaused() ? colors::Aqua : colors::Yellow;
    QPalette p = PanelClose->palette();
    p.setColor(QPalette::Window, QColor(running.r, running.g, running.b));
    PanelClose->setPalette(p);
    PanelClose->setToolTip(hints ? FromCp932(view_.PanelClose.Hint) : QString());
    QPalette bar = PanelBarClose->palette();
    bar.setColor(QPalette::Window, QColor(Qt::blue));
    PanelBarClose->setPalette(bar);
    PanelBarClose->setGeometry(3, 3, view_.PanelBarCloseWidth, PanelClose->height() - 6);

    const std::pair<QToolButton*, const ButtonState*> buttons[] = {
        {SpeedButtonTxt, &view_.SpeedButtonTxt},       {SpeedButtonDoc, &view_.SpeedButtonDoc},
        {SpeedButtonHed, &view_.SpeedButtonHed},       {SpeedButtonJump, &view_.SpeedButtonJump},
        {SpeedButtonLst0, &view_.SpeedButtonLst0},     {SpeedButtonLst1, &view_.SpeedButtonLst1},
        {SpeedButtonLst2, &view_.SpeedButtonLst2},     {SpeedButtonNor, &view_.SpeedButtonNor},
        {SpeedButtonNew, &view_.SpeedButtonNew},       {SpeedButtonRnd, &view_.SpeedButtonRnd},
        {SpeedButtonBak, &view_.SpeedButtonBak},       {SpeedButtonNxt, &view_.SpeedButtonNxt},
        {SpeedButtonSelect, &view_.SpeedButtonSelect}, {SpeedButtonClose, &view_.SpeedButtonClose},
        {SpeedButtonLyrics, &view_.SpeedButtonLyrics}, {SpeedButtonParts, &view_.SpeedButtonParts}};
    for (auto [button, state] : buttons)
        ShowButton(button, *state, hints);
    ShowPanel(PanelNumber, view_.PanelNumber, hints);
    ShowPanel(PanelNumberAll, view_.PanelNumberAll, hints);
    keepTimersInStep();
    listPage0_->render(view_.ListFont, hints);
    listPage1_->render(view_.ListFont, hints);
    searchPage_->render(view_.ListFont, hints);
    albumPage_->render(hints);
}

void FormViewWidget::keepTimersInStep() {
    keepInStep(*TimerClose, view_.TimerCloseEnabled);
}

} // namespace tobira
