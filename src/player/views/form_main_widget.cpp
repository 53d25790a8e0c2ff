// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/views/form_main_widget.h"

#include "files/shown_name.h"

#include "forms/views/click_label.h"
#include "forms/views/drag_panel.h"
#include "forms/views/picture_button.h"
#include "text/cp932_convert.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

namespace tobira {
namespace {

// The strip's layout, in logical pixels of the 282 x 68 window.
constexpr int kRuleY = 45;
constexpr int kLampTop = 19;
constexpr int kMarkTop = 31;
constexpr int kRowHeight = 11;
constexpr int kButtonTop = 48;
constexpr int kButtonHeight = 17;

QFont LampFont() {
    // IPA Gothic is fixed-pitch and holds the marks' "・" and Japanese titles.
    QFont font(QStringLiteral("IPAGothic"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(10);
    return font;
}

const std::string& WaveLevelHint() {
    static const std::string hint = Utf8ToCp932("拍手の音量");
    return hint;
}

// The applause level: nine small steps.
void PaintWaveLevel(QPainter& p, int position) {
    for (int i = 0; i < 9; ++i) {
        const QColor colour = i < position ? QColor(255, 200, 40) : QColor(60, 45, 10);
        p.fillRect(QRect(2 + i * 4, 0, 3, 3), colour);
    }
}

// One-way or endless: a small lamp in the panel's colour.
void PaintPowerLamp(QPainter& p, const QRect& rect, Color colour) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(QColor(colour.r, colour.g, colour.b));
    p.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
}

} // namespace

FormMainWidget::FormMainWidget(TFormMain& model, ViewHub& hub)
    : FormWidget(model, hub), main_(model), PanelMainBtm(new DragPanel(this, kRuleY)), Timer1(this),
      Timer3(this) {
    setObjectName("FormMain");
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#FormMain { background: black; }"));
    setAcceptDrops(true);
    PanelMainBtm->setObjectName("PanelMainBtm");
    PanelMainBtm->setGeometry(0, 0, model.Width, model.Height);

    // Top row: live mark and applause level, logo, disc and mode read-outs, one-way lamp, POW.
    ImageLIVE = makeLabel("ImageLIVE", {5, 3, kLiveSize.width(), kLiveSize.height()});
    ImageLIVE->painter = [](QPainter& p) { PaintLiveMark(p, {0, 0}); };
    ImageLIVE->setAccessibleName(QStringLiteral("LIVE"));
    ProgressBarWave = makeLabel("ProgressBarWave", {5, 14, 40, 3});
    ProgressBarWave->painter = [this](QPainter& p) { PaintWaveLevel(p, main_.ProgressBarWave); };
    ImageLogo = makeLabel("ImageLogo", {50, 3, kLogoSize.width(), kLogoSize.height()});
    ImageLogo->painter = [this](QPainter& p) {
        if (main_.ImageLogoIsMidi)
            PaintMidiLogo(p, {0, 0});
        else
            PaintCdLogo(p, {0, 0});
    };
    ImageLogo->setCursor(Qt::PointingHandCursor);
    LabelTotalMUSIC = makeLabel("LabelTotalMUSIC", {158, 4, 14, kRowHeight}, Qt::AlignCenter);
    QFont underlined = LampFont();
    underlined.setUnderline(true);
    LabelTotalMUSIC->setFont(underlined);
    LabelPlayMode = makeLabel("LabelPlayMode", {176, 4, 14, kRowHeight}, Qt::AlignCenter);
    LabelMidiMode = makeLabel("LabelMidiMode", {158, 4, 40, kRowHeight});
    PanelPOW = makeLabel("PanelPOW", {236, 6, 14, 7});
    PanelPOW->painter = [this](QPainter& p) {
        PaintPowerLamp(p, PanelPOW->rect(), main_.PanelPOW.Font);
    };

    // Lamps, and the clock at the right.
    LabelBAK = makeLabel("LabelBAK", {5, kLampTop, 17, kRowHeight});
    LabelNXT = makeLabel("LabelNXT", {25, kLampTop, 17, kRowHeight});
    LabelPLAY = makeLabel("LabelPLAY", {46, kLampTop, 52, kRowHeight});
    LabelPAUSE = makeLabel("LabelPAUSE", {102, kLampTop, 12, kRowHeight}, Qt::AlignCenter);
    LabelSTOP = makeLabel("LabelSTOP", {117, kLampTop, 27, kRowHeight});
    LabelTIME = makeLabel("LabelTIME", {240, kLampTop, 37, kRowHeight}, Qt::AlignRight);

    // Marks (or the MIDI title), and the volume bar over its scale at the right.
    for (int i = 0; i < 10; ++i) {
        ClickLabel* mark = makeLabel(QStringLiteral("Label%1").arg(i),
                                     {5 + i * 14, kMarkTop, 13, kRowHeight}, Qt::AlignCenter);
        mark->onPress = [this, i](MouseButton b) {
            dispatch([this, i, b] { main_.LabelMarkMouseDown(i, b); });
        };
        mark->onRelease = [this, i](MouseButton b) {
            dispatch([this, i, b] { main_.LabelMarkMouseUp(i, b); });
        };
        mark->onClick = [this, i] { dispatch([this, i] { main_.LabelMarkClick(i); }); };
        LabelMarks[i] = mark;
    }
    LabelMidiTitle = makeLabel("LabelMidiTitle", {5, kMarkTop, 196, kRowHeight});
    LabelVolBak = makeLabel("LabelVolBak", {226, kMarkTop, 51, kRowHeight});
    LabelVol = makeLabel("LabelVol", {226, kMarkTop, 51, kRowHeight});

    // Buttons: the transport at the left, volume at the right, POW at the top right.
    const int pitch = 31;
    SpeedButtonBAK = makeButton("SpeedButtonBAK", ButtonFace::Back,
                                {5, kButtonTop, 29, kButtonHeight}, &TFormMain::SpeedButtonBAK);
    SpeedButtonPLAY =
        makeButton("SpeedButtonPLAY", ButtonFace::Play, {5 + pitch, kButtonTop, 29, kButtonHeight},
                   &TFormMain::SpeedButtonPLAY);
    SpeedButtonPAUSE =
        makeButton("SpeedButtonPAUSE", ButtonFace::Pause,
                   {5 + 2 * pitch, kButtonTop, 29, kButtonHeight}, &TFormMain::SpeedButtonPAUSE);
    SpeedButtonSTOP =
        makeButton("SpeedButtonSTOP", ButtonFace::Stop,
                   {5 + 3 * pitch, kButtonTop, 29, kButtonHeight}, &TFormMain::SpeedButtonSTOP);
    SpeedButtonNXT =
        makeButton("SpeedButtonNXT", ButtonFace::Next,
                   {5 + 4 * pitch, kButtonTop, 29, kButtonHeight}, &TFormMain::SpeedButtonNXT);
    SpeedButtonVolDown =
        makeButton("SpeedButtonVolDown", ButtonFace::VolumeDown,
                   {218, kButtonTop, 29, kButtonHeight}, &TFormMain::SpeedButtonVolDown);
    SpeedButtonVolUp =
        makeButton("SpeedButtonVolUp", ButtonFace::VolumeUp, {249, kButtonTop, 29, kButtonHeight},
                   &TFormMain::SpeedButtonVolUp);
    SpeedButtonPOW = makeButton("SpeedButtonPOW", ButtonFace::Power, {255, 3, 23, 14},
                                &TFormMain::SpeedButtonPOW);

    // For screen readers: the window, its lamps by what they stand for, and the two levels as
    // values; the volume bar's scale behind it is drawing only.
    // (A name set makes Qt build the control's interface: the level first.)
    LabelVol->level = [this] {
        return LevelReading{main_.VolumeLevel(), 10,
                            main_.IsMuted() ? QStringLiteral("ミュート") : QString()};
    };
    ProgressBarWave->level = [this] { return LevelReading{main_.ProgressBarWave, 9, {}}; };
    LabelVolBak->decoration = true;
    setAccessibleName(QStringLiteral("TOBIRA"));
    for (auto [lamp, meaning] : lamps())
        lamp->setAccessibleName(QString::fromUtf8(meaning));
    LabelVol->setAccessibleName(QStringLiteral("音量"));
    ProgressBarWave->setAccessibleName(QStringLiteral("拍手の音量"));

    // Left button of BAK and NXT: press and release light their lamps, the click moves on.
    connect(SpeedButtonBAK, &QAbstractButton::pressed, this,
            [this] { dispatch([this] { main_.SpeedButtonBAKMouseDown(MouseButton::Left); }); });
    connect(SpeedButtonBAK, &QAbstractButton::released, this,
            [this] { dispatch([this] { main_.SpeedButtonBAKMouseUp(MouseButton::Left); }); });
    connect(SpeedButtonNXT, &QAbstractButton::pressed, this,
            [this] { dispatch([this] { main_.SpeedButtonNXTMouseDown(MouseButton::Left); }); });
    connect(SpeedButtonNXT, &QAbstractButton::released, this,
            [this] { dispatch([this] { main_.SpeedButtonNXTMouseUp(MouseButton::Left); }); });

    const auto bind = [this](PictureButton* button, void (TFormMain::*click)(),
                             void (TFormMain::*mouseDown)(MouseButton)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, click] { dispatch([&model = main_, click] { (model.*click)(); }); });
        button->onRightPress = [this, mouseDown] {
            dispatch([&model = main_, mouseDown] { (model.*mouseDown)(MouseButton::Right); });
        };
    };
    bind(SpeedButtonBAK, &TFormMain::SpeedButtonBAKClick, &TFormMain::SpeedButtonBAKMouseDown);
    bind(SpeedButtonNXT, &TFormMain::SpeedButtonNXTClick, &TFormMain::SpeedButtonNXTMouseDown);
    bind(SpeedButtonPLAY, &TFormMain::SpeedButtonPLAYClick, &TFormMain::SpeedButtonPLAYMouseDown);
    bind(SpeedButtonPAUSE, &TFormMain::SpeedButtonPAUSEClick,
         &TFormMain::SpeedButtonPAUSEMouseDown);
    bind(SpeedButtonSTOP, &TFormMain::SpeedButtonSTOPClick, &TFormMain::SpeedButtonSTOPMouseDown);
    bind(SpeedButtonPOW, &TFormMain::SpeedButtonPOWClick, &TFormMain::SpeedButtonPOWMouseDown);
    bind(SpeedButtonVolDown, &TFormMain::SpeedButtonVolDownClick,
         &TFormMain::SpeedButtonVolDownMouseDown);
    bind(SpeedButtonVolUp, &TFormMain::SpeedButtonVolUpClick,
         &TFormMain::SpeedButtonVolUpMouseDown);

    PanelPOW->onClick = [this] { dispatch([this] { main_.PanelPOWClick(); }); };
    ImageLogo->onClick = [this] { dispatch([this] { main_.ImageLogoClick(); }); };
    ImageLogo->onPress = [this](MouseButton b) {
        if (b == MouseButton::Right)
            dispatch([this] { main_.ImageLogoMouseDown(MouseButton::Right); });
    };
    LabelMidiTitle->onClick = [this] { dispatch([this] { main_.LabelMidiTitleClick(); }); };

    setUpTimer(Timer1, "Timer1", 1000, [this] { main_.Timer1Timer(); });
    setUpTimer(Timer3, "Timer3", 8000, [this] { main_.Timer3Timer(); });
}

std::array<std::pair<ClickLabel*, const char*>, 5> FormMainWidget::lamps() const {
    return {{{LabelBAK, "前の曲ランプ"},
             {LabelNXT, "次の曲ランプ"},
             {LabelPLAY, "プレイランプ"},
             {LabelPAUSE, "ポーズランプ"},
             {LabelSTOP, "ストップランプ"}}};
}

ClickLabel* FormMainWidget::makeLabel(QAnyStringView name, QRect geometry,
                                      Qt::Alignment alignment) {
    auto* label = new ClickLabel(PanelMainBtm);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(LampFont());
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

PictureButton* FormMainWidget::makeButton(QAnyStringView name, ButtonFace face, QRect geometry,
                                          ButtonState TFormMain::*state) {
    auto* button = new PictureButton(face, PanelMainBtm);
    button->setObjectName(name);
    button->setGeometry(geometry);
    buttons_.emplace_back(button, state);
    return button;
}

void FormMainWidget::render() {
    FormWidget::render();
    const bool hints = main_.ShowHints;
    LabelBAK->display(main_.LabelBAK, hints);
    LabelNXT->display(main_.LabelNXT, hints);
    LabelPLAY->display(main_.LabelPLAY, hints);
    LabelPAUSE->display(main_.LabelPAUSE, hints);
    LabelSTOP->display(main_.LabelSTOP, hints);
    LabelPlayMode->display(main_.LabelPlayMode, hints);
    LabelTotalMUSIC->display(main_.LabelTotalMUSIC, hints);
    LabelTIME->display(main_.LabelTIME, hints);
    for (int i = 0; i < 10; ++i)
        LabelMarks[i]->display(main_.LabelMarks[i], hints);
    LabelVolBak->display(main_.LabelVolBak, hints);
    LabelVol->display(main_.LabelVol, hints);
    LabelMidiTitle->display(main_.LabelMidiTitle, hints);
    LabelMidiMode->display(main_.LabelMidiMode, hints);
    // A lamp in its dim colour is off; its text (the play time) follows what it says.
    const LabelState* lampStates[] = {&main_.LabelBAK, &main_.LabelNXT, &main_.LabelPLAY,
                                      &main_.LabelPAUSE, &main_.LabelSTOP};
    for (std::size_t i = 0; i < lamps().size(); ++i) {
        ClickLabel* lamp = lamps()[i].first;
        QString state =
            lampStates[i]->Font == colors::Teal ? QStringLiteral("消灯") : QStringLiteral("点灯");
        if (lamp == LabelPLAY)
            state += QLatin1Char(' ') + lamp->text();
        if (lamp->accessibleDescription() != state)
            lamp->setAccessibleDescription(state);
    }

    // Pictures: the caption of these controls is their picture.
    PanelPOW->setHint(main_.PanelPOW.Hint, hints);
    PanelPOW->setVisible(main_.PanelPOW.Visible);
    if (main_.PanelPOW.Font != powColour_) {
        powColour_ = main_.PanelPOW.Font;
        PanelPOW->update();
    }
    ImageLIVE->setVisible(main_.ImageLIVE);
    ProgressBarWave->setVisible(main_.ImageLIVE);
    ProgressBarWave->setHint(WaveLevelHint(), hints);
    if (main_.ProgressBarWave != wavePosition_) {
        wavePosition_ = main_.ProgressBarWave;
        ProgressBarWave->update();
    }
    ImageLogo->setHint(main_.ImageLogoHint, hints);
    if (main_.ImageLogoIsMidi != logoIsMidi_) {
        logoIsMidi_ = main_.ImageLogoIsMidi;
        ImageLogo->update();
    }
    for (auto [button, state] : buttons_)
        button->display(main_.*state, hints || (state == &TFormMain::SpeedButtonPLAY &&
                                                main_.SpeedButtonPLAYShowHint));

    keepTimersInStep();
}

void FormMainWidget::keepTimersInStep() {
    keepInStep(Timer1, main_.Timer1Enabled);
    keepInStep(Timer3, main_.Timer3Enabled);
}

void FormMainWidget::iconify() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void FormMainWidget::changeEvent(QEvent* event) {
    FormWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    // Restored from the icon: show the main window again.
    if ((change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized)) {
        show();
        raise();
        activateWindow();
    }
}

void FormMainWidget::closeEvent(QCloseEvent* event) {
    main_.FormClose();
    FormWidget::closeEvent(event);
    QApplication::quit();
}

// Files from the desktop's file manager arrive as URLs; the model decides what they play.
void FormMainWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void FormMainWidget::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    std::vector<std::string> unnamable;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            continue;
        // A name code page 932 cannot hold could be neither listed nor opened again.
        const std::filesystem::path file = url.toLocalFile().toStdString();
        if (auto path = Cp932FromPath(file))
            paths.push_back(std::move(*path));
        else
            unnamable.push_back(ShownName(file));
    }
    event->acceptProposedAction();
    dispatch([this, &paths, &unnamable] { main_.PlayDroppedFiles(paths, unnamable); });
}

} // namespace tobira
