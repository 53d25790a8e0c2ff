// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/qt_system.h"

#include "forms/views/view_state.h"
#include "text/cp932_convert.h"

#include <QCursor>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

namespace tobira {

ScreenSize QtSystem::screenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {screen->geometry().width(), screen->geometry().height()};
}

ScreenArea QtSystem::workArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect area = screen->availableGeometry();
    return {area.x(), area.y(), area.width(), area.height()};
}

ScreenPoint QtSystem::pointerPosition() {
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

std::chrono::system_clock::time_point QtSystem::now() {
    return std::chrono::system_clock::now();
}

bool QtSystem::startDetached(const std::string& program,
                             const std::vector<std::string>& arguments) {
    QStringList args;
    for (const auto& argument : arguments)
        args << FromCp932(argument);
    return QProcess::startDetached(FromCp932(program), args);
}

} // namespace tobira
