// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader learns of the windows beyond Qt's own: each window as a window (a dialog
// while modal), and a level drawn as marks (the volume bar) as a value with its range.

#include <QString>

#include <functional>

class QAccessibleInterface;
class QObject;

namespace tobira {

// A level shown as marks or blocks: its value out of `maximum`, and a word for a state that
// overrides it (mute), empty when there is none.
struct LevelReading {
    int value = 0;
    int maximum = 0;
    QString state;
};

// Qt's accessibility factory for the program's windows and level labels. Installing it more
// than once is harmless (Qt keeps each factory once).
QAccessibleInterface* AccessibleView(const QString& className, QObject* object);

} // namespace tobira
