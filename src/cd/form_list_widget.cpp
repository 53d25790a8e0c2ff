#include "cd/form_list_widget.h"

#include "app/click_label.h"
#include "app/pictures.h"
#include "text/cp932_convert.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
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

QString FromCp932(const std::string& text) {
    return QString::fromStdString(Cp932ToUtf8(text));
}

// Caption, font colour, pressed state, enabled state, visibility and hint of a model button.
void ShowButton(QAbstractButton* button, const ButtonState& state, bool hints) {
    const QString caption = FromCp932(state.Caption);
    if (button->text() != caption)
        button->setText(caption);
    const QColor colour(state.Font.r, state.Font.g, state.Font.b);
    // A disabled button keeps the style's grey.
    if (button->palette().color(QPalette::Active, QPalette::ButtonText) != colour) {
        QPalette p = button->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            p.setColor(group, QPalette::ButtonText, colour);
            p.setColor(group, QPalette::WindowText, colour);
        }
        button->setPalette(p);
    }
    if (button->isCheckable() && button->isChecked() != state.Down)
        button->setChecked(state.Down);
    if (button->isEnabled() != state.Enabled)
        button->setEnabled(state.Enabled);
    if (button->isVisibleTo(button->parentWidget()) != state.Visible)
        button->setVisible(state.Visible);
    const QString tip = hints ? FromCp932(state.Hint) : QString();
    if (button->toolTip() != tip)
        button->setToolTip(tip);
}

} // namespace

FormListWidget::FormListWidget(TFormList& model, const TFormMain& main, ViewHub& hub)
    : FormWidget(model, hub), list_(model), main_(main), Image1(new ClickLabel(this)),
      LabelORG(new ClickLabel(this)), LabelDST(new ClickLabel(this)),
      LabelCDID(new ClickLabel(this)), CheckBoxRandom(new QCheckBox(this)),
      CheckBoxReverse(new QCheckBox(this)), ButtonClose(new QPushButton("CLOSE", this)) {
    setObjectName("FormList");
    Image1->setObjectName("Image1");
    Image1->setGeometry(QRect({6, 4}, QSize(32, 32)));
    Image1->painter = [](QPainter& p) {
        p.scale(32.0 / kTrackControlLogoSize.width(), 32.0 / kTrackControlLogoSize.height());
        PaintTrackControlLogo(p, {0, 0});
    };

    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(14);
    LabelORG->setObjectName("LabelORG");
    LabelORG->setGeometry(46, 12, 220, 20);
    LabelORG->setFont(bold);
    LabelDST->setObjectName("LabelDST");
    LabelDST->setGeometry(46, 192, 220, 20);
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
                [this, handler] { dispatch([this, handler] { (list_.*handler)(); }); });
    };
    bind(SpeedButtonSET, &TFormList::SpeedButtonSETClick);
    bind(SpeedButtonMON, &TFormList::SpeedButtonMONClick);
    bind(CheckBoxRandom, &TFormList::CheckBoxRandomClick);
    bind(CheckBoxReverse, &TFormList::CheckBoxReverseClick);
    bind(SpeedButtonBAK, &TFormList::SpeedButtonBAKClick);
    bind(SpeedButtonNXT, &TFormList::SpeedButtonNXTClick);
    bind(ButtonClose, &TFormList::FormClose);
}

QToolButton* FormListWidget::makeToggle(const QString& name, QRect geometry) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void FormListWidget::render() {
    FormWidget::render();
    const bool hints = main_.ShowHints;
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
}

void FormListWidget::closeEvent(QCloseEvent* event) {
    if (list_.Visible)
        dispatch([this] { list_.FormClose(); });
    FormWidget::closeEvent(event);
}

} // namespace tobira
