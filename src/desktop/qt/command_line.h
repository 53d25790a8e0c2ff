// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#if TOBIRA_HAS_MPRIS
#include <QDBusConnection>
#endif

namespace tobira {

class PlayerRemote;
class ViewHub;

// The files named on the command line (the file manager's "open with"), as absolute UTF-8
// paths. A name that code page 932 cannot hold, which the player could neither list nor open,
// is kept apart as it was given.
struct OpenArguments {
    QStringList paths;
    QStringList refused;
    bool empty() const { return paths.isEmpty() && refused.isEmpty(); }
};

// Reads argv[1..argc) after Qt has taken its own options: local 8-bit paths, relative to the
// current folder, or file URLs. Folders are passed over.
OpenArguments ReadOpenArguments(int argc, char* argv[]);

// Tells the user which files cannot be played for their names.
void ShowRefusedFiles(const QStringList& refused);

// Plays the files as files dropped on the main window play, through the view hub as a click
// would; a path that code page 932 cannot hold is refused with a message.
void OpenFiles(const QStringList& paths, PlayerRemote& remote, ViewHub& hub);

// A start while the player already runs: its files go to the running player over the session
// bus. Without files, or when no running player answers (or the build has no session bus
// support), the already-running message shows as ever. Returns the exit code.
int RunSecondStart(const OpenArguments& arguments);

#if TOBIRA_HAS_MPRIS
// Hands the paths to the player that holds the service name on `bus`, waiting up to `waitMs`
// for a player that is still starting to take its name. False when none took them.
bool HandOffFiles(const QDBusConnection& bus, const QStringList& paths, int waitMs);
#endif

} // namespace tobira
