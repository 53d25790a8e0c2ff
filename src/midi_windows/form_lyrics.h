// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/controls_state.h"
#include "forms/form_model.h"
#include "media/media_device.h"
#include "media/midi/song_lyrics.h"
#include "ports/ports.h"
#include "settings/setup_options.h"

#include <cstddef>
#include <string>

namespace tobira {

class IniSnapshot;

// The lyrics window of a karaoke song: the line being sung, its sung part highlighted, and the
// next line below, in time with the MIDI sequencer. With the setup option for it on, the line
// also takes the place of the title in the main window's title line. A song without lyrics
// leaves everything as it is.
class TFormLyrics final : public FormModel {
  public:
    static constexpr int kTickMs = 100;
    static constexpr int kDefaultWidth = 360;
    static constexpr int kDefaultHeight = 96;

    // `midi` is the sequencer the main window plays on; `mainTitle` the main window's title
    // line; `options` the setup window's.
    TFormLyrics(ScreenPort& screen, std::string settingsPath, const MediaDevice& midi,
                LabelState& mainTitle, const SetupOptionsSource& options);

    SongLyrics Lyrics;
    // The line being sung (aqua) and, of its caption, the bytes sung so far; the next line.
    LabelState LabelLine, LabelNext;
    std::size_t LabelLineSung = 0;
    FontChoice LyricsFont; // the list font
    bool TimerLyricsEnabled = false;

    // Font and geometry from the settings file; a stored position off the screen centres it.
    // The main window saves the geometry with its own.
    void FormCreate();
    // The same from the one read of the settings at the start.
    void FormCreate(const IniSnapshot& settings);

    // A song (not a reset song) has started on the sequencer: its lyrics, if any, follow it.
    void SongStarted(const std::string& cp932Path);
    // The song is gone (stopped, or a reset song plays): nothing to show.
    void SongEnded();
    bool HasLyrics() const { return !Lyrics.empty(); }
    // The main window's title line shows the lyric line now; its own scrolling waits.
    bool ShowsLyricLine() const { return titleLine_; }

    // Follows the sequencer's position: pause holds the line, a restart goes back.
    void TimerLyricsTimer();

  private:
    void showLine(int line, std::uint64_t micros);

    ScreenPort& screen_;
    std::string settingsPath_;
    const MediaDevice& midi_;
    LabelState& mainTitle_;
    const SetupOptionsSource& options_;
    int shownLine_ = -2;
    bool titleLine_ = false;
};

} // namespace tobira
