// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/views/form_mode_widget.h"

#include "text/cp932_convert.h"

#include <QLabel>

namespace tobira {
namespace {

constexpr int kBevel = 3;

QFont AnnouncementFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(37);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

} // namespace

FormModeWidget::FormModeWidget(TFormMode& model, ViewHub& hub)
    : FormWidget(model, hub), mode_(model), PanelANN(new QLabel(this)), Timer1(this) {
    setObjectName("FormMode");
    // A two-second notice: off the task bar and away from the keyboard focus.
    setWindowFlag(Qt::Tool);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);

    PanelANN->setObjectName("PanelANN");
    PanelANN->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelANN->setLineWidth(kBevel);
    PanelANN->setAlignment(Qt::AlignCenter);
    PanelANN->setFont(AnnouncementFont());
    PanelANN->setAutoFillBackground(true);
    // The bevel's light and dark edges are derived from the navy face.
    PanelANN->setPalette(QPalette(QColor(0, 0, 128)));

    setUpTimer(Timer1, "Timer1", TFormMode::kTimer1Interval, [this] { mode_.Timer1Timer(); });
}

void FormModeWidget::render() {
    FormWidget::render();
    // The panel fills the window; no layout, whose size hints would make the window taller.
    PanelANN->setGeometry(rect());
    const QString text = QString::fromStdString(Cp932ToUtf8(mode_.PanelANN.Caption));
    if (PanelANN->text() != text)
        PanelANN->setText(text);
    if (mode_.PanelANN.Font != textColour_) {
        textColour_ = mode_.PanelANN.Font;
        QPalette palette = PanelANN->palette();
        palette.setColor(QPalette::WindowText, QColor(textColour_.r, textColour_.g, textColour_.b));
        PanelANN->setPalette(palette);
    }
    keepTimersInStep();
}

void FormModeWidget::keepTimersInStep() {
    keepInStep(Timer1, mode_.Timer1Enabled);
}

} // namespace tobira
