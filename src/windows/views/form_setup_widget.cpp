// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/views/form_setup_widget.h"

#include "forms/views/pictures.h"
#include "forms/views/view_state.h"
#include "controls/views/mixer_ctrl_widget.h"
#include "text/cp932_convert.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace tobira {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QLabel* sunkenPanel(QWidget* parent) {
    auto* panel = new QLabel(parent);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    return panel;
}

void setTip(QWidget* widget, const std::string& hint, bool hints) {
    const QString tip = hints ? FromCp932(hint) : QString();
    if (widget->toolTip() != tip)
        widget->setToolTip(tip);
}

// The mixer panel's window: closing it tells the model.
class MixerWindow final : public QWidget {
  public:
    explicit MixerWindow(std::function<void()> closed)
        : QWidget(nullptr, Qt::Tool), closed_(std::move(closed)) {}

  protected:
    void closeEvent(QCloseEvent* event) override {
        QWidget::closeEvent(event);
        closed_();
    }

  private:
    std::function<void()> closed_;
};

// Shows a model's list in a combo box, rebuilding it only when the items change, so that an
// open list is not disturbed by a refresh.
void ShowCombo(QComboBox* combo, const std::vector<std::string>& cp932Items, int index,
               bool enabled) {
    QStringList items;
    for (const std::string& item : cp932Items)
        items.push_back(FromCp932(item));
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown.push_back(combo->itemText(i));
    if (shown != items) {
        const QSignalBlocker block(combo);
        combo->clear();
        combo->addItems(items);
    }
    if (combo->currentIndex() != index) {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(index);
    }
    combo->setEnabled(enabled);
}

} // namespace

FormSetUpWidget::FormSetUpWidget(TFormSetUp& model, TMixerCtrl& mixer, ViewHub& hub)
    : FormWidget(model, hub), setup_(model) {
    auto* checks = new QVBoxLayout;
    using Click = void (TFormSetUp::*)();
    checks->addWidget(
        makeCheckBox("CheckBoxHint", &TFormSetUp::CheckBoxHint, &TFormSetUp::CheckBoxHintClick));
    checks->addWidget(makeCheckBox("CheckBoxTime", &TFormSetUp::CheckBoxTime, Click{}));
    checks->addWidget(makeCheckBox("CheckBoxWithOpen", &TFormSetUp::CheckBoxWithOpen, Click{}));
    checks->addWidget(makeCheckBox("CheckBoxAutoPlay", &TFormSetUp::CheckBoxAutoPlay, Click{}));
    checks->addWidget(
        makeCheckBox("CheckBoxMidi", &TFormSetUp::CheckBoxMidi, &TFormSetUp::CheckBoxMidiClick));
    checks->addWidget(makeCheckBox("CheckBoxLyricLine", &TFormSetUp::CheckBoxLyricLine, Click{}));

    // The auto-close row: box, scroll bar, seconds.
    auto* closeRow = new QHBoxLayout;
    ScrollBarClose = new QScrollBar(Qt::Horizontal, this);
    ScrollBarClose->setObjectName(QStringLiteral("ScrollBarClose"));
    // A value the keys can set too (a scroll bar takes no focus of its own).
    ScrollBarClose->setFocusPolicy(Qt::StrongFocus);
    ScrollBarClose->setAccessibleName(QStringLiteral("自動で閉じるまでの秒数"));
    ScrollBarClose->setRange(TFormSetUp::kCloseTimeMin, TFormSetUp::kCloseTimeMax);
    ScrollBarClose->setPageStep(TFormSetUp::kCloseTimeLargeStep);
    PanelClose = sunkenPanel(this);
    PanelClose->setAlignment(Qt::AlignCenter);
    PanelClose->setFixedWidth(36);
    closeRow->addWidget(ScrollBarClose, 1);
    closeRow->addWidget(PanelClose);
    closeRow->addWidget(new QLabel(U("秒後"), this));
    connect(ScrollBarClose, &QScrollBar::valueChanged, this,
            [this](int value) { dispatch([this, value] { setup_.ScrollBarCloseChange(value); }); });
    checks->addWidget(
        makeCheckBox("CheckBoxClose", &TFormSetUp::CheckBoxClose, &TFormSetUp::CheckBoxCloseClick));
    checks->addLayout(closeRow);

    // The loop row: box, then how many more times and how long the fade.
    auto* loopRow = new QHBoxLayout;
    const auto loopCombo = [this, loopRow](const char* name, void (TFormSetUp::*change)(int)) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QString::fromLatin1(name));
        connect(combo, &QComboBox::activated, this, [this, change](int index) {
            dispatch([&model = setup_, change, index] { (model.*change)(index); });
        });
        loopRow->addWidget(combo);
        return combo;
    };
    loopRow->addWidget(new QLabel(U("くり返し"), this));
    ComboBoxLoopCount = loopCombo("ComboBoxLoopCount", &TFormSetUp::ComboBoxLoopCountChange);
    loopRow->addWidget(new QLabel(U("フェードアウト"), this));
    ComboBoxLoopFade = loopCombo("ComboBoxLoopFade", &TFormSetUp::ComboBoxLoopFadeChange);
    loopRow->addStretch();
    checks->addWidget(
        makeCheckBox("CheckBoxLoop", &TFormSetUp::CheckBoxLoop, &TFormSetUp::CheckBoxLoopClick));
    checks->addLayout(loopRow);

    // A row of numbered buttons between two labels, titled, as one group.
    auto buttonGroup = [this](const char* name, const QString& title, auto& buttons, int count,
                              const char* left, const char* right, void (TFormSetUp::*click)(int)) {
        auto* box = new QGroupBox(title, this);
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(6, 2, 6, 4);
        if (*left)
            row->addWidget(new QLabel(U(left), box));
        for (int n = 1; n <= count; ++n) {
            auto* b = new QToolButton(box);
            b->setObjectName(QString::fromLatin1(name) + QString::number(n));
            b->setCheckable(true);
            b->setMinimumWidth(count == 5 ? 26 : 44);
            connect(b, &QToolButton::clicked, this, [this, click, n] {
                dispatch([&model = setup_, click, n] { (model.*click)(n); });
            });
            buttons[static_cast<std::size_t>(n)] = b;
            row->addWidget(b);
        }
        if (*right)
            row->addWidget(new QLabel(U(right), box));
        row->addStretch();
        return box;
    };
    auto* ranges = new QVBoxLayout;
    ranges->addWidget(makeCheckBox("CheckBoxVolCont", &TFormSetUp::CheckBoxVolCont,
                                   &TFormSetUp::CheckBoxVolContClick));
    ranges->addWidget(buttonGroup("SpeedButtonRatio", U("ＣＤ音量範囲"), SpeedButtonRatio, 5, "大",
                                  "小", &TFormSetUp::SpeedButtonRatio1Click));
    ranges->addWidget(makeCheckBox("CheckBoxMidiVolCont", &TFormSetUp::CheckBoxMidiVolCont,
                                   &TFormSetUp::CheckBoxMidiVolContClick));
    ranges->addWidget(buttonGroup("SpeedButtonM", U("ＭＩＤ音量範囲"), SpeedButtonM, 5, "大", "小",
                                  &TFormSetUp::SpeedButtonM1Click));
    PanelLive = buttonGroup("SpeedButtonLive", U("拍手の確率"), SpeedButtonLive, 3, "", "",
                            &TFormSetUp::SpeedButtonLive1Click);
    ranges->addWidget(PanelLive);

    auto* reset = new QGroupBox(U(" ＭＩＤＩ音源の初期化種別 "), this);
    GroupReset = reset;
    auto* resetRow = new QHBoxLayout(reset);
    const char* items[] = {"Non", "GM", "GS", "88_1"};
    for (int i = 0; i < TFormSetUp::kResetItems; ++i) {
        RadioGroupReset[static_cast<std::size_t>(i)] = new QRadioButton(U(items[i]), reset);
        resetRow->addWidget(RadioGroupReset[static_cast<std::size_t>(i)]);
        connect(RadioGroupReset[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { dispatch([this, i] { setup_.RadioGroupResetClick(i); }); });
    }

    auto* tool = new QGroupBox(U("外部ビューアのパス設定"), this);
    PanelTool = tool;
    auto* toolRow = new QHBoxLayout(tool);
    EditTool = new QLineEdit(tool);
    EditTool->setObjectName(QStringLiteral("EditTool"));
    EditTool->installEventFilter(this);
    ButtonTool = makeButton("ButtonTool", &TFormSetUp::ButtonToolClick);
    toolRow->addWidget(EditTool, 1);
    toolRow->addWidget(ButtonTool);
    connect(EditTool, &QLineEdit::textEdited, this, [this](const QString& text) {
        const std::string cp932 = Utf8ToCp932(text.toStdString());
        dispatch([this, cp932] { setup_.EditToolChange(cp932); });
    });

    auto* font = new QGroupBox(U("リスト表示フォントの設定"), this);
    auto* fontRow = new QHBoxLayout(font);
    PanelFontName = sunkenPanel(font);
    PanelFontSize = sunkenPanel(font);
    PanelFontSize->setFixedWidth(32);
    PanelFontSize->setAlignment(Qt::AlignCenter);
    ButtonFont = makeButton("ButtonFont", &TFormSetUp::ButtonFontClick);
    fontRow->addWidget(PanelFontName, 1);
    fontRow->addWidget(PanelFontSize);
    fontRow->addWidget(ButtonFont);

    auto* sound = new QGroupBox(U("ＭＩＤＩの音色（サウンドフォント）"), this);
    auto* soundRow = new QHBoxLayout(sound);
    PanelSoundFont = sunkenPanel(sound);
    PanelSoundFont->setMinimumWidth(40);
    ButtonSoundFont = makeButton("ButtonSoundFont", &TFormSetUp::ButtonSoundFontClick);
    soundRow->addWidget(PanelSoundFont, 1);
    ButtonSoundFontStandard =
        makeButton("ButtonSoundFontStandard", &TFormSetUp::ButtonSoundFontStandardClick);
    for (QPushButton* b : {ButtonSoundFont, ButtonSoundFontStandard}) {
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(U("参照参照")));
        soundRow->addWidget(b);
    }

    const auto comboGroup = [this](const char* title, const char* name,
                                   void (TFormSetUp::*change)(int), QComboBox*& combo) {
        auto* group = new QGroupBox(U(title), this);
        auto* row = new QHBoxLayout(group);
        combo = new QComboBox(group);
        combo->setObjectName(QString::fromLatin1(name));
        combo->setMinimumContentsLength(12);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        row->addWidget(combo, 1);
        connect(combo, &QComboBox::activated, this, [this, change](int index) {
            dispatch([&model = setup_, change, index] { (model.*change)(index); });
        });
        return group;
    };
    QWidget* device = comboGroup("ＣＤドライブ／ディスクイメージ", "ComboBoxCdDevice",
                                 &TFormSetUp::ComboBoxCdDeviceChange, ComboBoxCdDevice);
    QWidget* midiOut = comboGroup("ＭＩＤＩ出力先", "ComboBoxMidiOut",
                                  &TFormSetUp::ComboBoxMidiOutChange, ComboBoxMidiOut);

    // The foot: the author's button, product and version, and the window's buttons.
    auto* foot = new QHBoxLayout;
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(QIcon(TrackControlLogoPicture(devicePixelRatioF())));
    SpeedButton1->setIconSize(QSize(32, 32));
    connect(SpeedButton1, &QToolButton::clicked, this,
            [this] { dispatch([this] { setup_.SpeedButton1Click(); }); });
    LabelProduct = new QLabel(this);
    QFont product = LabelProduct->font();
    product.setBold(true);
    product.setPointSize(product.pointSize() + 4);
    LabelProduct->setFont(product);
    LabelVersion = new QLabel(this);
    ButtonMixer = makeButton("ButtonMixer", &TFormSetUp::ButtonMixerClick);
    ButtonSave = makeButton("ButtonSave", &TFormSetUp::ButtonSaveClick);
    ButtonClose = makeButton("ButtonClose", &TFormSetUp::ButtonCloseClick);
    foot->addWidget(SpeedButton1);
    foot->addWidget(LabelProduct);
    foot->addWidget(LabelVersion);
    foot->addStretch();
    foot->addWidget(ButtonMixer);
    foot->addWidget(ButtonSave);
    foot->addWidget(ButtonClose);

    auto* grid = new QGridLayout(this);
    grid->addLayout(checks, 0, 0);
    grid->addLayout(ranges, 0, 1);
    grid->addWidget(reset, 1, 0);
    grid->addWidget(tool, 2, 0);
    grid->addWidget(font, 3, 0);
    grid->addWidget(sound, 1, 1);
    grid->addWidget(device, 2, 1);
    grid->addWidget(midiOut, 3, 1, Qt::AlignTop);
    grid->addLayout(foot, 4, 0, 1, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    mixerWindow_ = new MixerWindow([this] {
        if (setup_.MixerPanelVisible)
            dispatch([this] { setup_.MixerPanelClose(); });
    });
    mixerWindow_->setWindowTitle(U("ミキサー"));
    mixerPanel_ = new MixerCtrlWidget(mixer, mixerWindow_);
    mixerPanel_->afterInput = [this] { dispatch([] {}); };
    auto* mixerLayout = new QVBoxLayout(mixerWindow_);
    mixerLayout->setContentsMargins(0, 0, 0, 0);
    mixerLayout->addWidget(mixerPanel_);
    mixerWindow_->resize(300, 320);
}

FormSetUpWidget::~FormSetUpWidget() {
    delete mixerWindow_;
}

QCheckBox* FormSetUpWidget::makeCheckBox(const char* name, ButtonState TFormSetUp::*state,
                                         void (TFormSetUp::*click)()) {
    auto* box = new QCheckBox(this);
    box->setObjectName(QString::fromLatin1(name));
    connect(box, &QCheckBox::clicked, this, [this, state, click](bool checked) {
        dispatch([&model = setup_, state, click, checked] {
            (model.*state).Down = checked;
            if (click)
                (model.*click)();
        });
    });
    checkBoxes_.emplace_back(box, state);
    return box;
}

QPushButton* FormSetUpWidget::makeButton(const char* name, void (TFormSetUp::*click)()) {
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this,
            [this, click] { dispatch([&model = setup_, click] { (model.*click)(); }); });
    return button;
}

void FormSetUpWidget::render() {
    FormWidget::render();
    setFixedSize(setup_.Width, setup_.Height);
    const bool hints = setup_.ShowHint;
    for (auto [box, state] : checkBoxes_)
        ShowButton(box, setup_.*state, hints);
    for (int n = 1; n <= TFormSetUp::kRangeButtons; ++n) {
        ShowButton(SpeedButtonRatio[static_cast<std::size_t>(n)],
                   setup_.SpeedButtonRatio[static_cast<std::size_t>(n)], hints);
        ShowButton(SpeedButtonM[static_cast<std::size_t>(n)],
                   setup_.SpeedButtonM[static_cast<std::size_t>(n)], hints);
    }
    for (int n = 1; n <= TFormSetUp::kLiveButtons; ++n)
        ShowButton(SpeedButtonLive[static_cast<std::size_t>(n)],
                   setup_.SpeedButtonLive[static_cast<std::size_t>(n)], hints);
    setTip(PanelLive, setup_.PanelLiveHint, hints);
    setTip(GroupReset, setup_.RadioGroupResetHint, hints);
    setTip(PanelTool, Utf8ToCp932("省略すると内部ビューアを使います"), hints);
    for (int i = 0; i < TFormSetUp::kResetItems; ++i) {
        QRadioButton* item = RadioGroupReset[static_cast<std::size_t>(i)];
        if (item->isChecked() != (setup_.RadioGroupReset == i))
            item->setChecked(setup_.RadioGroupReset == i);
    }
    {
        const QSignalBlocker block(ScrollBarClose);
        ScrollBarClose->setValue(setup_.ScrollBarClose);
    }
    PanelClose->setText(FromCp932(setup_.PanelClose));
    if (EditTool->text() != FromCp932(setup_.EditTool))
        EditTool->setText(FromCp932(setup_.EditTool));
    PanelFontName->setText(FromCp932(setup_.PanelFontName));
    PanelFontSize->setText(FromCp932(setup_.PanelFontSize));
    const QString soundFont = FromCp932(setup_.PanelSoundFont);
    PanelSoundFont->setText(soundFont.isEmpty()
                                ? U("（標準）")
                                : PanelSoundFont->fontMetrics().elidedText(
                                      soundFont, Qt::ElideLeft, PanelSoundFont->width() - 6));
    PanelSoundFont->setToolTip(soundFont);
    ShowCombo(ComboBoxCdDevice, setup_.ComboBoxCdDeviceItems, setup_.ComboBoxCdDeviceIndex,
              setup_.ComboBoxCdDeviceEnabled);
    ShowCombo(ComboBoxMidiOut, setup_.ComboBoxMidiOutItems, setup_.ComboBoxMidiOutIndex,
              setup_.ComboBoxMidiOutEnabled);
    ShowCombo(ComboBoxLoopCount, setup_.ComboBoxLoopCountItems, setup_.ComboBoxLoopCountIndex,
              setup_.ComboBoxLoopEnabled);
    ShowCombo(ComboBoxLoopFade, setup_.ComboBoxLoopFadeItems, setup_.ComboBoxLoopFadeIndex,
              setup_.ComboBoxLoopEnabled);
    for (auto [button, state] :
         {std::pair{ButtonSave, &setup_.ButtonSave}, std::pair{ButtonClose, &setup_.ButtonClose},
          std::pair{ButtonTool, &setup_.ButtonTool}, std::pair{ButtonFont, &setup_.ButtonFont},
          std::pair{ButtonSoundFont, &setup_.ButtonSoundFont},
          std::pair{ButtonSoundFontStandard, &setup_.ButtonSoundFontStandard},
          std::pair{ButtonMixer, &setup_.ButtonMixer}})
        ShowButton(button, *state, hints);
    ShowButton(SpeedButton1, setup_.SpeedButton1, hints);
    LabelProduct->setText(FromCp932(setup_.LabelProduct.Caption));
    // The bold caption's last letter reaches past its advance.
    LabelProduct->setMinimumWidth(
        LabelProduct->fontMetrics().boundingRect(LabelProduct->text()).right() + 2);
    setTip(LabelProduct, setup_.LabelProduct.Hint, hints);
    LabelVersion->setText(FromCp932(setup_.LabelVersion.Caption));
    setTip(LabelVersion, setup_.LabelVersion.Hint, hints);

    mixerPanel_->render();
    if (mixerWindow_->isVisible() != setup_.MixerPanelVisible)
        mixerWindow_->setVisible(setup_.MixerPanelVisible);
}

void FormSetUpWidget::closeEvent(QCloseEvent* event) {
    // The model decides: it may ask about unsaved changes and stay open. A close it carried out
    // is accepted, or the program's end, which closes every window first, would be refused.
    dispatch([this] { setup_.ButtonCloseClick(); });
    event->setAccepted(!setup_.Visible);
}

bool FormSetUpWidget::eventFilter(QObject* watched, QEvent* event) {
    // A click in the viewer path selects all of it, ready to be typed over; after the line
    // edit's own handling, which would place the cursor instead.
    if (watched == EditTool && event->type() == QEvent::MouseButtonRelease)
        QTimer::singleShot(0, EditTool, &QLineEdit::selectAll);
    return FormWidget::eventFilter(watched, event);
}

void FormSetUpWidget::showEvent(QShowEvent* event) {
    FormWidget::showEvent(event);
    dispatch([this] { setup_.FormShow(); });
}

} // namespace tobira
