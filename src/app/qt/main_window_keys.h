// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace tobira {

class PlayerRemote;
class TFormMain;
class ViewHub;

// The main window's keys, for those who keep their hands on the keyboard: Space plays or pauses,
// S stops, the arrows go back and on, + and - step the volume, M mutes. Each presses what a
// click on the window presses, and only where that click acts; a click on the window gives it
// the keyboard.
class MainWindowKeys final : public QObject {
    Q_OBJECT
  public:
    MainWindowKeys(QWidget& window, TFormMain& main, PlayerRemote& remote, ViewHub& hub);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TFormMain& main_;
    PlayerRemote& remote_;
    ViewHub& hub_;
};

} // namespace tobira
