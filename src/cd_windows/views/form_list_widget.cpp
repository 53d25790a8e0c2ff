// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/views/form_list_widget.h"

#include "forms/views/view_state.h"

#include "forms/views/click_label.h"
#include "forms/views/pictures.h"
#include "text/cp932_convert.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace tobira {
namespace {

// The entry rows: four rows of fifteen under the order's name.
constexpr int kEntryLeft = 8;
constexpr int kEntryTop = 40;
constexpr QSize kEntrySize{26, 22};
constexpr int kEntryPitchX = 27;
constexpr int kEntryPitchY = 23;
constexpr int kEntriesPerRow = 15;
constexpr int kControlTop = 150;
// The program panel below them: the edit list's four rows of fifteen, then the slots.
constexpr int kEditTop = 210;
constexpr QSize kEditSize{26, 19};
constexpr int kEditPitchY = 20;
constexpr int kSlotTop = 293;

// Fills a label's background with `colour`.
void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    if (p.color(QPalette::Window) == colour && widget->autoFillBackground())
        return;
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

} // namespace

FormListWidget::FormListWidget(TFormList& model, const bool& showHints, ViewHub& hub)
    : FormWidget(model, hub), list_(model), showHints_(showHints), Image1(new ClickLabel(this)),
      LabelORG(new ClickLabel(this)), LabelDST(new ClickLabel(this)),
      LabelCDID(new ClickLabel(this)), CheckBoxRandom(new QCheckBox(this)),
      CheckBoxReverse(new QCheckBox(this)),
      ButtonClose(new QPushButton(QStringLiteral("CLOSE"), this)), PanelClose(new ClickLabel(this)),
      PanelBarClose(new ClickLabel(PanelClose)), TimerClose(new QTimer(this)),
      LabelPattern(new QLabel(QStringLiteral("Pattern Title"), this)),
      EditPattern(new QLineEdit(this)) {
    setObjectName("FormList");
    EditPattern->setAccessibleName(QStringLiteral("プログラムの名前"));
    Image1->setObjectName("Image1");
    Image1->setGeometry(QRect({6, 4}, QSize(32, 32)));
    Image1->painter = [](QPainter& p) {
        p.scale(32.0 / kTrackControlLogoSize.width(), 32.0 / kTrackControlLogoSize.height());
        PaintTrackControlLogo(p, {0, 0});
    };
    Image1->onClick = [this] { dispatch([this] { list_.Image1Click(); }); };

    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(14);
    LabelORG->setObjectName("LabelORG");
    LabelORG->setGeometry(46, 12, 180, 20);
    LabelORG->setFont(bold);
    LabelDST->setObjectName("LabelDST");
    LabelDST->setGeometry(46, 188, 110, 20);
    LabelDST->setFont(bold);
    // The disc's number reads white or aqua, so it sits on a black plate.
    LabelCDID->setObjectName("LabelCDID");
    LabelCDID->setGeometry(302, 10, 110, 22);
    LabelCDID->setAlignment(Qt::AlignCenter);
    LabelCDID->setAutoFillBackground(true);
    QPalette plate = LabelCDID->palette();
    plate.setColor(QPalette::Window, Qt::black);
    LabelCDID->setPalette(plate);
    QFont mono(QStringLiteral("IPAGothic"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPixelSize(14);
    LabelCDID->setFont(mono);

    for (int k = 1; k <= TFormList::kEntries; ++k) {
        const int row = (k - 1) / kEntriesPerRow;
        const int column = (k - 1) % kEntriesPerRow;
        QToolButton* entry =
            makeToggle(QStringLiteral("SpeedButton%1").arg(k),
                       QRect({kEntryLeft + column * kEntryPitchX, kEntryTop + row * kEntryPitchY},
                             kEntrySize));
        connect(entry, &QToolButton::clicked, this,
                [this, k] { dispatch([this, k] { list_.SpeedButtonEntryClick(k); }); });
        SpeedButton[static_cast<std::size_t>(k)] = entry;
    }

    SpeedButtonSET = makeToggle("SpeedButtonSET", {8, kControlTop, 44, 24});
    SpeedButtonMON = makeToggle("SpeedButtonMON", {54, kControlTop, 44, 24});
    CheckBoxRandom->setObjectName("CheckBoxRandom");
    CheckBoxRandom->setGeometry(108, kControlTop + 3, 86, 18);
    CheckBoxReverse->setObjectName("CheckBoxReverse");
    CheckBoxReverse->setGeometry(196, kControlTop + 3, 90, 18);
    SpeedButtonBAK = makeToggle("SpeedButtonBAK", {292, kControlTop, 28, 24});
    SpeedButtonNXT = makeToggle("SpeedButtonNXT", {322, kControlTop, 28, 24});
    SpeedButtonBAK->setCheckable(false);
    SpeedButtonNXT->setCheckable(false);
    ButtonClose->setObjectName("ButtonClose");
    ButtonClose->setGeometry(356, kControlTop, 56, 24);

    const auto bind = [this](QAbstractButton* button, void (TFormList::*handler)()) {
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { dispatch([&model = list_, handler] { (model.*handler)(); }); });
    };
    bind(SpeedButtonSET, &TFormList::SpeedButtonSETClick);
    bind(SpeedButtonMON, &TFormList::SpeedButtonMONClick);
    bind(CheckBoxRandom, &TFormList::CheckBoxRandomClick);
    bind(CheckBoxReverse, &TFormList::CheckBoxReverseClick);
    bind(SpeedButtonBAK, &TFormList::SpeedButtonBAKClick);
    bind(SpeedButtonNXT, &TFormList::SpeedButtonNXTClick);
    bind(ButtonClose, &TFormList::FormClose);

    // The auto-close indicator; a click on the bar falls through to the panel.
    PanelClose->setObjectName("PanelClose");
    PanelClose->setGeometry(232, 15, TFormList::kCloseIndicatorWidth, 14);
    PanelClose->setFrameShape(QFrame::Panel);
    PanelClose->setFrameShadow(QFrame::Sunken);
    PanelClose->onClick = [this] { dispatch([this] { list_.PanelCloseClick(); }); };
    PanelBarClose->setObjectName("PanelBarClose");
    PanelBarClose->setGeometry(3, 3, TFormList::kCloseIndicatorWidth - 6, 8);
    SetBackground(PanelBarClose, QColor(0, 0, 128));
    setUpTimer(*TimerClose, "TimerClose", 1000, [this] { list_.TimerCloseTimer(); });

    makeProgramPanel();
}

void FormListWidget::makeProgramPanel() {
    for (int k = 1; k <= TFormList::kEntries; ++k) {
        const int row = (k - 1) / kEntriesPerRow;
        const int column = (k - 1) % kEntriesPerRow;
        QToolButton* entry = makeToggle(
            QStringLiteral("SpeedButton%1").arg(TFormList::kEntries + k),
            QRect({kEntryLeft + column * kEntryPitchX, kEditTop + row * kEditPitchY}, kEditSize));
        entry->setCheckable(false);
        connect(entry, &QToolButton::clicked, this,
                [this, k] { dispatch([this, k] { list_.SpeedButtonEditClick(k); }); });
        SpeedButtonEdit[static_cast<std::size_t>(k)] = entry;
    }

    LabelPattern->setObjectName("LabelPattern");
    LabelPattern->setGeometry(170, 188, 78, 20);
    EditPattern->setObjectName("EditPattern");
    EditPattern->setGeometry(250, 187, 162, 21);
    connect(EditPattern, &QLineEdit::textEdited, this, [this](const QString& text) {
        const TypedText title = TryUtf8ToCp932(text.toStdString());
        dispatch([this, &title] { list_.EditPatternChange(title); });
    });

    for (int slot = 0; slot < kPatternSlots; ++slot) {
        QToolButton* button = makeToggle(QStringLiteral("SpeedButtonCD%1").arg(slot),
                                         {kEntryLeft + slot * 24, kSlotTop, 22, 22});
        button->installEventFilter(this);
        connect(button, &QToolButton::clicked, this,
                [this, slot] { dispatch([this, slot] { list_.SpeedButtonCDClick(slot); }); });
        SpeedButtonCD[static_cast<std::size_t>(slot)] = button;
    }
    SpeedButtonSAVE = makeToggle("SpeedButtonSAVE", {258, kSlotTop, 50, 22});
    SpeedButtonMANAG = makeToggle("SpeedButtonMANAG", {312, kSlotTop, 50, 22});
    SpeedButtonSAVE->setCheckable(false);
    SpeedButtonMANAG->setCheckable(false);
    connect(SpeedButtonSAVE, &QToolButton::clicked, this,
            [this] { dispatch([this] { list_.SpeedButtonSAVEClick(); }); });
    connect(SpeedButtonMANAG, &QToolButton::clicked, this,
            [this] { dispatch([this] { list_.SpeedButtonMANAGClick(); }); });
}

bool FormListWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        for (int slot = 0; slot < kPatternSlots; ++slot) {
            if (watched != SpeedButtonCD[static_cast<std::size_t>(slot)])
                continue;
            dispatch([this, slot] { list_.SpeedButtonCDMouseDown(slot, MouseButton::Right); });
            return true;
        }
    }
    return FormWidget::eventFilter(watched, event);
}

QToolButton* FormListWidget::makeToggle(QAnyStringView name, QRect geometry) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setCheckable(true);
    return button;
}

void FormListWidget::render() {
    FormWidget::render();
    const bool hints = showHints_;
    LabelORG->display(list_.LabelORG, hints);
    LabelDST->display(list_.LabelDST, hints);
    LabelCDID->display(list_.LabelCDID, hints);
    for (int k = 1; k <= TFormList::kEntries; ++k)
        ShowButton(SpeedButton[static_cast<std::size_t>(k)],
                   list_.SpeedButton[static_cast<std::size_t>(k)], hints);
    ShowButton(SpeedButtonSET, list_.SpeedButtonSET, hints);
    ShowButton(SpeedButtonMON, list_.SpeedButtonMON, hints);
    ShowButton(CheckBoxRandom, list_.CheckBoxRandom, hints);
    ShowButton(CheckBoxReverse, list_.CheckBoxReverse, hints);
    ShowButton(SpeedButtonBAK, list_.SpeedButtonBAK, hints);
    ShowButton(SpeedButtonNXT, list_.SpeedButtonNXT, hints);

    Image1->setHint(list_.Image1Hint, hints);
    SetBackground(PanelClose, list_.IsAutoClosePaused() ? QColor(0, 255, 255)
                                                        : palette().color(QPalette::Button));
    PanelBarClose->setHint(list_.PanelBarCloseHint, hints);
    PanelClose->setHint(list_.PanelBarCloseHint, hints);
    if (PanelBarClose->width() != list_.PanelBarCloseWidth)
        PanelBarClose->resize(list_.PanelBarCloseWidth, PanelBarClose->height());
    keepTimersInStep();

    // The program panel lies below the entry row: the shorter window of the other modes cuts
    // it off.
    for (int k = 1; k <= TFormList::kEntries; ++k)
        ShowButton(SpeedButtonEdit[static_cast<std::size_t>(k)],
                   list_.SpeedButtonEdit[static_cast<std::size_t>(k)], hints);
    for (int slot = 0; slot < kPatternSlots; ++slot)
        ShowButton(SpeedButtonCD[static_cast<std::size_t>(slot)],
                   list_.SpeedButtonCD[static_cast<std::size_t>(slot)], hints);
    ShowButton(SpeedButtonSAVE, list_.SpeedButtonSAVE, hints);
    ShowButton(SpeedButtonMANAG, list_.SpeedButtonMANAG, hints);
    const QString title = FromCp932(list_.EditPattern);
    if (EditPattern->text() != title)
        EditPattern->setText(title);
    const QString titleHint = hints ? FromCp932(list_.EditPatternHint) : QString();
    if (EditPattern->toolTip() != titleHint)
        EditPattern->setToolTip(titleHint);
}

void FormListWidget::closeEvent(QCloseEvent* event) {
    if (list_.Visible)
        dispatch([this] { list_.FormClose(); });
    FormWidget::closeEvent(event);
}

void FormListWidget::keepTimersInStep() {
    keepInStep(*TimerClose, list_.TimerCloseEnabled);
}

} // namespace tobira
