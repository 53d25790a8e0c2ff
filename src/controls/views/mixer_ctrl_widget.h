// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/mixer_ctrl.h"

#include <QWidget>

#include <functional>
#include <vector>

class QCheckBox;
class QFrame;
class QLabel;
class QSlider;

namespace tobira {

// The Qt view of the mixer panel: per column a vertical slider (loudest at the top), a "Mute"
// box and a label; the destination column first, then a separator, then the sources. It draws
// the model on render() and forwards slider moves and box clicks to it.
class MixerCtrlWidget final : public QWidget {
    Q_OBJECT
  public:
    explicit MixerCtrlWidget(TMixerCtrl& model, QWidget* parent = nullptr);

    // Rebuilds the columns when the model's changed, then shows positions, boxes and labels.
    void render();
    // Called after the user moved a slider or clicked a box (the other views redraw).
    std::function<void()> afterInput;

    int columnCount() const { return static_cast<int>(columns_.size()); }
    QSlider* volume(int column) const { return columns_.at(column).Volume; }
    QCheckBox* mute(int column) const { return columns_.at(column).Mute; }
    QLabel* label(int column) const { return columns_.at(column).Label; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    struct Column {
        QSlider* Volume;
        QCheckBox* Mute;
        QLabel* Label;
    };
    void rebuild();
    void ArrangeColumns();

    TMixerCtrl& model_;
    std::vector<Column> columns_;
    QFrame* separator_;
    bool rendering_ = false;
};

} // namespace tobira
