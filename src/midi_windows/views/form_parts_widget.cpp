// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/views/form_parts_widget.h"

#include "forms/views/click_label.h"
#include "forms/views/view_state.h"
#include "midi_windows/views/part_meter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace tobira {
namespace {

QLabel* Named(QLabel* label, const char* name) {
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QToolButton* Button(QWidget* parent, const QString& name) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setCheckable(true);
    b->setAutoRaise(true);
    return b;
}

void ShowText(QLabel* label, const std::string& cp932) {
    const QString text = FromCp932(cp932);
    if (label->text() != text)
        label->setText(text);
}

} // namespace

FormPartsWidget::FormPartsWidget(TFormParts& model, ViewHub& hub)
    : FormWidget(model, hub), parts_(model), TimerParts(new QTimer(this)),
      LabelMode(Named(new QLabel(this), "LabelMode")),
      LabelMaster(Named(new QLabel(this), "LabelMaster")),
      LabelReverb(Named(new QLabel(this), "LabelReverb")),
      LabelChorus(Named(new QLabel(this), "LabelChorus")),
      SpeedButtonMelody(Button(this, QStringLiteral("SpeedButtonMelody"))) {
    setAccessibleName(QStringLiteral("ＭＩＤＩ パート"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* top = new QHBoxLayout;
    const std::pair<const char*, QLabel*> module[] = {{"音源", LabelMode},
                                                      {"マスター", LabelMaster},
                                                      {"リバーブ", LabelReverb},
                                                      {"コーラス", LabelChorus}};
    for (auto [caption, label] : module) {
        top->addWidget(new QLabel(QString::fromUtf8(caption), this));
        label->setAccessibleName(QString::fromUtf8(caption));
        top->addWidget(label);
    }
    top->addStretch();
    top->addWidget(SpeedButtonMelody);
    connect(SpeedButtonMelody, &QToolButton::clicked, this,
            [this] { dispatch([this] { parts_.SpeedButtonMelodyClick(); }); });
    layout->addLayout(top);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    for (int part = 0; part < TFormParts::kParts; ++part) {
        Row& row = rows_[static_cast<std::size_t>(part)];
        const QString n = QString::number(part + 1);
        row.LabelPart = new ClickLabel(this);
        row.LabelPart->setObjectName(QStringLiteral("LabelPart") + n);
        row.LabelPart->onClick = [this, part] {
            dispatch([this, part] { parts_.LabelPartClick(part); });
        };
        row.LabelInstrument = new QLabel(this);
        row.LabelInstrument->setObjectName(QStringLiteral("LabelInstrument") + n);
        row.LabelInstrument->setAccessibleName(QStringLiteral("パート") + n);
        row.Meter = new PartMeter(TFormParts::kMeterSegments, this);
        row.Meter->setObjectName(QStringLiteral("Meter") + n);
        row.SpeedButtonMute = Button(this, QStringLiteral("SpeedButtonMute") + n);
        row.SpeedButtonSolo = Button(this, QStringLiteral("SpeedButtonSolo") + n);
        connect(row.SpeedButtonMute, &QToolButton::clicked, this,
                [this, part] { dispatch([this, part] { parts_.SpeedButtonMuteClick(part); }); });
        connect(row.SpeedButtonSolo, &QToolButton::clicked, this,
                [this, part] { dispatch([this, part] { parts_.SpeedButtonSoloClick(part); }); });
        grid->addWidget(row.LabelPart, part, 0);
        grid->addWidget(row.LabelInstrument, part, 1);
        grid->addWidget(row.Meter, part, 2);
        grid->addWidget(row.SpeedButtonMute, part, 3);
        grid->addWidget(row.SpeedButtonSolo, part, 4);
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    TimerParts->setInterval(TFormParts::kTickMs);
    // The meters' tick changes this window alone: no other view needs drawing.
    connect(TimerParts, &QTimer::timeout, this, [this] {
        if (parts_.TimerPartsTimer())
            render();
    });
}

void FormPartsWidget::keepTimersInStep() {
    keepInStep(*TimerParts, parts_.TimerPartsEnabled);
}

void FormPartsWidget::showEvent(QShowEvent* event) {
    FormWidget::showEvent(event);
    dispatch([this] { parts_.FormShow(); });
}

void FormPartsWidget::hideEvent(QHideEvent* event) {
    FormWidget::hideEvent(event);
    dispatch([this] { parts_.FormHide(); });
}

void FormPartsWidget::render() {
    FormWidget::render();
    keepTimersInStep();
    ShowText(LabelMode, parts_.LabelMode.Caption);
    ShowText(LabelMaster, parts_.LabelMaster.Caption);
    ShowText(LabelReverb, parts_.LabelReverb.Caption);
    ShowText(LabelChorus, parts_.LabelChorus.Caption);
    ShowButton(SpeedButtonMelody, parts_.SpeedButtonMelody, true);
    for (std::size_t part = 0; part < rows_.size(); ++part) {
        const TFormParts::PartRow& state = parts_.Parts[part];
        Row& row = rows_[part];
        row.LabelPart->display(state.LabelPart, true);
        ShowText(row.LabelInstrument, state.LabelInstrument.Caption);
        row.Meter->setLit(state.Meter);
        ShowButton(row.SpeedButtonMute, state.SpeedButtonMute, true);
        ShowButton(row.SpeedButtonSolo, state.SpeedButtonSolo, true);
    }
}

} // namespace tobira
