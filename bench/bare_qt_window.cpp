// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the start time: a bare Qt 6 window the size of the player's main window,
// without a frame, showing one label.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("TOBIRA"));
    label.setWindowFlags(Qt::FramelessWindowHint);
    label.setFixedSize(282, 68);
    label.show();
    return app.exec();
}
