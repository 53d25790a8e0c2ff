// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/main_window_keys.h"

#include "desktop/player_remote.h"
#include "forms/views/view_hub.h"
#include "player/form_main.h"

#include <QKeyEvent>
#include <QWidget>

#include <functional>

namespace tobira {

MainWindowKeys::MainWindowKeys(QWidget& window, TFormMain& main, PlayerRemote& remote, ViewHub& hub)
    : QObject(&window), main_(main), remote_(remote), hub_(hub) {
    window.setFocusPolicy(Qt::ClickFocus);
    window.installEventFilter(this);
    // The labels and buttons of the strip take no focus: a press on them reaches the window.
    for (QWidget* child : window.findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool MainWindowKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        // A borderless window is not always activated by the window manager on a click.
        if (auto* widget = qobject_cast<QWidget*>(watched); widget && !widget->isActiveWindow())
            widget->window()->activateWindow();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    std::function<void()> press;
    switch (key->key()) {
    case Qt::Key_Space:
        press = [this] { remote_.PlayPause(); };
        break;
    case Qt::Key_S:
        // The STOP click ejects a stopped disc; the key only stops.
        press = [this] { remote_.Stop(); };
        break;
    case Qt::Key_Left:
        press = [this] { remote_.Previous(); };
        break;
    case Qt::Key_Right:
        press = [this] { remote_.Next(); };
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: // + without Shift on most keyboards
        press = [this] { main_.SpeedButtonVolUpClick(); };
        break;
    case Qt::Key_Minus:
        press = [this] { main_.SpeedButtonVolDownClick(); };
        break;
    case Qt::Key_M:
        press = [this] { main_.SpeedButtonSTOPMouseDown(MouseButton::Right); };
        break;
    default:
        return false;
    }
    if (key->isAutoRepeat() && key->key() != Qt::Key_Plus && key->key() != Qt::Key_Minus &&
        key->key() != Qt::Key_Equal)
        return true;
    hub_.dispatch(press);
    return true;
}

} // namespace tobira
