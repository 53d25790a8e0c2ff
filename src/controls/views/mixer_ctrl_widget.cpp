// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/views/mixer_ctrl_widget.h"

#include "forms/views/view_state.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

namespace tobira {
namespace {

constexpr int kBorder = 4;
constexpr int kSeparatorWidth = 2;
constexpr int kSliderWidth = 40;

} // namespace

MixerCtrlWidget::MixerCtrlWidget(TMixerCtrl& model, QWidget* parent)
    : QWidget(parent), model_(model), separator_(new QFrame(this)) {
    separator_->setObjectName(QStringLiteral("Separator"));
    separator_->setFrameShape(QFrame::VLine);
    separator_->setFrameShadow(QFrame::Sunken);
    resize(168, 312);
    render();
}

void MixerCtrlWidget::rebuild() {
    for (Column& column : columns_) {
        delete column.Volume;
        delete column.Mute;
        delete column.Label;
    }
    columns_.clear();
    for (int i = 0; i < static_cast<int>(model_.Columns().size()); ++i) {
        Column column{new QSlider(Qt::Vertical, this), new QCheckBox(QStringLiteral("Mute"), this),
                      new QLabel(this)};
        column.Volume->setObjectName(QStringLiteral("Volume%1").arg(i));
        column.Mute->setObjectName(QStringLiteral("Mute%1").arg(i));
        column.Label->setObjectName(QStringLiteral("Label%1").arg(i));
        column.Volume->setTickPosition(QSlider::TicksBothSides);
        // The top of the slider is Min, the loudest setting.
        column.Volume->setInvertedAppearance(true);
        column.Volume->setInvertedControls(true);
        column.Label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        connect(column.Volume, &QSlider::valueChanged, this, [this, i](int position) {
            if (rendering_)
                return;
            model_.SliderChange(i, position);
            if (afterInput)
                afterInput();
        });
        connect(column.Mute, &QCheckBox::clicked, this, [this, i](bool on) {
            if (rendering_)
                return;
            model_.MuteClick(i, on);
            if (afterInput)
                afterInput();
        });
        column.Volume->show();
        column.Mute->show();
        column.Label->show();
        columns_.push_back(column);
    }
}

void MixerCtrlWidget::render() {
    rendering_ = true;
    const auto& model = model_.Columns();
    if (columns_.size() != model.size())
        rebuild();
    const TMixerCtrlTrackBarProperty& bar = model_.TrackBar;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const MixerColumn& state = model[i];
        Column& column = columns_[i];
        const QSignalBlocker blockVolume(column.Volume);
        const QSignalBlocker blockMute(column.Mute);
        column.Volume->setRange(bar.Min, bar.Max);
        column.Volume->setTickInterval(bar.Frequency);
        column.Volume->setSingleStep(bar.LineSize);
        column.Volume->setPageStep(bar.PageSize);
        if (column.Volume->value() != state.Position)
            column.Volume->setValue(state.Position);
        if (column.Mute->isChecked() != state.Mute)
            column.Mute->setChecked(state.Mute);
        const bool present = state.Tag >= 0;
        column.Volume->setEnabled(present);
        column.Label->setEnabled(present);
        column.Mute->setEnabled(present && state.MuteEnabled);
        const QString caption = FromCp932(state.Label);
        if (column.Label->text() != caption)
            column.Label->setText(caption);
    }
    ArrangeColumns();
    rendering_ = false;
}

void MixerCtrlWidget::ArrangeColumns() {
    const int count = static_cast<int>(columns_.size());
    separator_->setVisible(count > 1);
    if (count == 0)
        return;
    const QRect work = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    const int columnWidth = count == 1 ? work.width() : (work.width() - kSeparatorWidth) / count;
    const int labelHeight = fontMetrics().height();
    const int muteHeight = columns_[0].Mute->sizeHint().height();
    const int muteWidth =
        muteHeight * 5 / 4 + fontMetrics().horizontalAdvance(QStringLiteral("Mute"));
    const int top = work.top() + (model_.HideLabel ? 0 : labelHeight);
    const int bottom = work.bottom() + 1 - (model_.HideMute ? 0 : muteHeight);
    int x = work.left();
    for (int i = 0; i < count; ++i) {
        if (i == 1) {
            separator_->setGeometry(x, kBorder, kSeparatorWidth, height() - 2 * kBorder);
            x += kSeparatorWidth;
        }
        Column& column = columns_[static_cast<std::size_t>(i)];
        column.Label->setGeometry(x, kBorder, columnWidth, labelHeight);
        column.Volume->setGeometry(x + (columnWidth - kSliderWidth) / 2, top, kSliderWidth,
                                   bottom - top);
        column.Mute->setGeometry(x + (columnWidth - muteWidth) / 2, bottom, muteWidth, muteHeight);
        column.Label->setVisible(!model_.HideLabel);
        column.Mute->setVisible(!model_.HideMute);
        column.Volume->update();
        x += columnWidth;
    }
}

void MixerCtrlWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ArrangeColumns();
}

void MixerCtrlWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ArrangeColumns();
}

} // namespace tobira
