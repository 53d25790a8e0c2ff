// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tobira {

// The options of the setup window as the other windows read them.
struct SetupOptions {
    bool ShowHints = true;         // SHOWHINTS
    bool RemainingTime = false;    // REMAINTIM: the clock counts down
    bool OpenWithPlay = true;      // WITHPLAYS: PLAY also opens the control window
    bool AutoPlay = false;         // AUTOPLAYS: a disc read starts playing
    bool CdVolumeControl = true;   // VOLUMCONT
    int CdVolumeRange = 3;         // VOLUMRATO, 1 (widest) .. 5
    bool MidiVolumeControl = true; // VOLUMMIDI
    int MidiVolumeRange = 3;       // VOLUMRATI, 1 (widest) .. 5
    bool AutoClose = false;        // AUTOCLOSE: the track control window closes by itself
    int CloseSeconds = 30;         // CLOSETIME
    int LiveRatio = 1;             // LIVERATIO: 1 = 100 %, 2 = 70 %, 3 = 50 %
    int ResetType = 1;             // MIDIRESET: 0 "Non", 1 "GM", 2 "GS", 3 "88_1"
    bool MidiStart = false;        // MIDISTART: the player starts in MIDI mode
    bool LyricLine = false;        // LYRICLINE: a karaoke song's line replaces the title
    int LoopRepeats = 0;           // LOOPCOUNT: a song's loop played again 1..9 times; 0 off
    int LoopFadeSeconds = 3;       // LOOPFADES
    std::string ViewerTool;        // VIEWERTOL, code page 932
    std::string ListFontName;      // FONTNAME, code page 932
    std::string ListFontSize;      // FONTSIZE, whole points as text
};

// Where the windows read the options: the setup window, or a plain value in tests.
class SetupOptionsSource {
  public:
    virtual SetupOptions CurrentOptions() const = 0;

  protected:
    ~SetupOptionsSource() = default;
};

} // namespace tobira
