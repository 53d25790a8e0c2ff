// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the setup window needs of the synthesizer and the CD drives, so that its model stays
// free of the libraries behind them.

#include <optional>
#include <string>
#include <vector>

namespace tobira {

class SetupDevices {
  public:
    virtual ~SetupDevices() = default;
    // Why the synthesizer cannot load the SoundFont, as a sentence naming the file (code page
    // 932), or nothing when it can.
    virtual std::optional<std::string> soundFontProblem(const std::string& cp932Path) = 0;
    // Empty when the synthesizer reads DLS collections too, else why not (code page 932).
    virtual std::string dlsProblem() { return {}; }
    // The SoundFont of the next song; the one playing now keeps its own.
    virtual void useSoundFont(const std::string& cp932Path) = 0;
    // The CD drives found on this machine, as device paths (code page 932).
    virtual std::vector<std::string> cdDrives() = 0;
    // The sequencer ports an external sound module can be reached at now (code page 932).
    virtual std::vector<std::string> midiOutputs() { return {}; }
    // The MIDI output from the next song on: a port of that list, or empty for the built-in
    // synthesizer.
    virtual void useMidiOutput(const std::string& cp932Port) { (void)cp932Port; }
    // How a song's loop plays from the next song on: `repeats` more times (0: the song plays
    // once), then a fade over `fadeSeconds`.
    virtual void useLoopSetting(int repeats, int fadeSeconds) { (void)repeats, (void)fadeSeconds; }
};

} // namespace tobira
