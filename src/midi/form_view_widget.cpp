#include "midi/form_view_widget.h"

#include "app/view_state.h"

#include "text/cp932_convert.h"

#include <QLabel>
#include <QListWidget>
#include <QTabBar>
#include <QToolButton>

namespace tobira {
namespace {

constexpr int kRow = 22;

void ShowPanel(QLabel* label, const LabelState& state) {
    const QString caption = FromCp932(state.Caption);
    if (label->text() != caption)
        label->setText(caption);
    const QString tip = FromCp932(state.Hint);
    if (label->toolTip() != tip)
        label->setToolTip(tip);
}

} // namespace

FormViewWidget::FormViewWidget(TFormView& model, ViewHub& hub)
    : FormWidget(model, hub), view_(model), PageControl1(new QTabBar(this)),
      ListBoxTitle(new QListWidget(this)), PanelNumber(new QLabel(this)),
      PanelNumberAll(new QLabel(this)) {
    for (const char* page : {"  Play  ", " List 0", " List 1", " Search ", "Album"})
        PageControl1->addTab(QString::fromLatin1(page));
    PageControl1->setShape(QTabBar::RoundedSouth);
    PageControl1->setObjectName("PageControl1");
    ListBoxTitle->setObjectName("ListBoxTitle");
    PanelNumber->setObjectName("PanelNumber");
    PanelNumberAll->setObjectName("PanelNumberAll");
    for (QLabel* panel : {PanelNumber, PanelNumberAll}) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setAlignment(Qt::AlignCenter);
    }

    SpeedButtonTxt = makeButton("SpeedButtonTxt", {4, 2, 36, kRow}, nullptr);
    SpeedButtonDoc = makeButton("SpeedButtonDoc", {42, 2, 36, kRow}, nullptr);
    SpeedButtonHed = makeButton("SpeedButtonHed", {80, 2, 36, kRow}, nullptr);
    SpeedButtonJump = makeButton("SpeedButtonJump", {118, 2, 36, kRow}, nullptr);
    SpeedButtonBak = makeButton("SpeedButtonBak", {}, &TFormView::SpeedButtonBakClick);
    SpeedButtonNxt = makeButton("SpeedButtonNxt", {}, &TFormView::SpeedButtonNxtClick);
    SpeedButtonSelect = makeButton("SpeedButtonSelect", {}, &TFormView::SpeedButtonSelectClick);
    SpeedButtonClose = makeButton("SpeedButtonClose", {}, &TFormView::SpeedButtonCloseClick);
    auto source = [this](MidiListSource s) { return [this, s] { view_.ChooseSource(s); }; };
    auto order = [this](MidiOrder o) { return [this, o] { view_.ChooseOrder(o); }; };
    SpeedButtonLst0 = makeToggle("SpeedButtonLst0", {}, source(MidiListSource::List0));
    SpeedButtonLst1 = makeToggle("SpeedButtonLst1", {}, source(MidiListSource::List1));
    SpeedButtonLst2 = makeToggle("SpeedButtonLst2", {}, source(MidiListSource::BothLists));
    SpeedButtonNor = makeToggle("SpeedButtonNor", {}, order(MidiOrder::Nor));
    SpeedButtonNew = makeToggle("SpeedButtonNew", {}, order(MidiOrder::New));
    SpeedButtonRnd = makeToggle("SpeedButtonRnd", {}, order(MidiOrder::Rnd));

    connect(ListBoxTitle, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = ListBoxTitle->row(item);
        dispatch([this, row] { view_.ListBoxTitleClick(row); });
    });
    connect(ListBoxTitle, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = ListBoxTitle->row(item);
        dispatch([this, row] {
            view_.ListBoxTitleClick(row);
            view_.SpeedButtonSelectClick();
        });
    });
    connect(PageControl1, &QTabBar::tabBarClicked, this,
            [this](int page) { dispatch([this, page] { view_.PageIndex = page; }); });
    layOut();
}

QToolButton* FormViewWidget::makeButton(const char* name, QRect geometry,
                                        void (TFormView::*click)()) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setGeometry(geometry);
    if (click)
        connect(button, &QToolButton::clicked, this,
                [this, click] { dispatch([this, click] { (view_.*click)(); }); });
    return button;
}

QToolButton* FormViewWidget::makeToggle(const char* name, QRect geometry,
                                        std::function<void()> click) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setGeometry(geometry);
    connect(button, &QToolButton::clicked, this,
            [this, click = std::move(click)] { dispatch(click); });
    return button;
}

// The play page fills the window above the two bottom rows and the tabs.
void FormViewWidget::layOut() {
    const int w = view_.Width;
    const int h = view_.Height;
    const int tabs = PageControl1->sizeHint().height();
    const int bottom = h - tabs;
    PageControl1->setGeometry(0, bottom, w, tabs);
    ListBoxTitle->setGeometry(2, kRow + 4, w - 4, bottom - 3 * kRow - 10);
    const int row1 = bottom - 2 * kRow - 4;
    const int row2 = bottom - kRow - 2;
    int x = 2;
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
    layOut();
    const PlayList& list = view_.ListBoxTitle;
    bool same = ListBoxTitle->count() == static_cast<int>(list.size());
    for (int i = 0; same && i < ListBoxTitle->count(); ++i)
        same =
            ListBoxTitle->item(i)->text() == FromCp932(list.entryText(static_cast<std::size_t>(i)));
    if (!same) {
        ListBoxTitle->clear();
        for (const std::string& text : list.entryTexts())
            ListBoxTitle->addItem(FromCp932(text));
    }
    if (!view_.ListFont.name.empty()) {
        const QFont font(FromCp932(view_.ListFont.name), view_.ListFont.size);
        if (ListBoxTitle->font() != font)
            ListBoxTitle->setFont(font);
    }
    if (ListBoxTitle->currentRow() != view_.ListBoxTitleItemIndex)
        ListBoxTitle->setCurrentRow(view_.ListBoxTitleItemIndex);
    // The window colour while a play list is loaded, the button face otherwise.
    const QPalette::ColorRole role =
        view_.ListBoxTitleWindowColor ? QPalette::Base : QPalette::Button;
    QPalette p = ListBoxTitle->palette();
    const QColor colour = palette().color(role);
    if (p.color(QPalette::Base) != colour) {
        p.setColor(QPalette::Base, colour);
        ListBoxTitle->setPalette(p);
    }
    const bool onPlayPage = view_.PageIndex == TFormView::kPlayPage;
    if (PageControl1->currentIndex() != view_.PageIndex)
        PageControl1->setCurrentIndex(view_.PageIndex);
    ListBoxTitle->setVisible(onPlayPage);
    // The document buttons belong to the play page: shown only while it is up.
    const std::pair<QToolButton*, const ButtonState*> documents[] = {
        {SpeedButtonTxt, &view_.SpeedButtonTxt},
        {SpeedButtonDoc, &view_.SpeedButtonDoc},
        {SpeedButtonHed, &view_.SpeedButtonHed},
        {SpeedButtonJump, &view_.SpeedButtonJump}};
    for (auto [button, model] : documents) {
        ButtonState state = *model;
        state.Visible = state.Visible && onPlayPage;
        ShowButton(button, state, true);
    }
    ShowButton(SpeedButtonLst0, view_.SpeedButtonLst0, true);
    ShowButton(SpeedButtonLst1, view_.SpeedButtonLst1, true);
    ShowButton(SpeedButtonLst2, view_.SpeedButtonLst2, true);
    ShowButton(SpeedButtonNor, view_.SpeedButtonNor, true);
    ShowButton(SpeedButtonNew, view_.SpeedButtonNew, true);
    ShowButton(SpeedButtonRnd, view_.SpeedButtonRnd, true);
    ShowButton(SpeedButtonBak, view_.SpeedButtonBak, true);
    ShowButton(SpeedButtonNxt, view_.SpeedButtonNxt, true);
    ShowButton(SpeedButtonSelect, view_.SpeedButtonSelect, true);
    ShowButton(SpeedButtonClose, view_.SpeedButtonClose, true);
    ShowPanel(PanelNumber, view_.PanelNumber);
    ShowPanel(PanelNumberAll, view_.PanelNumberAll);
}

} // namespace tobira
