// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/controls_state.h"
#include "settings/data_paths.h"
#include "forms/form_model.h"
#include "forms/mouse_button.h"
#include "ports/ports.h"
#include "cd_windows/pattern_record.h"
#include "media/media_device.h"
#include "settings/setup_options.h"

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tobira {

class IniSnapshot;
class TCustomMixerCtrl;
class TFormList;
class TFormLyrics;
class TFormParts;
class TFormMode;
class TFormPattern;
class TFormView;

enum class PlayerModeKind { CD, MIDI };

// The three media devices the main window owns.
struct MediaDevices {
    MediaDevice& CD;
    MediaDevice& MIDI;
    MediaDevice& WAVE;
};

// The windows the main window works with.
// The setup window as the main window knows it: a window shown on the logo's right click, and
// the options every handler reads.
struct SetupWindowPeer {
    template <typename SetupForm> SetupWindowPeer(SetupForm& form) : Window(form), Options(form) {}
    FormModel& Window;
    const SetupOptionsSource& Options;
};

struct MainWindowPeers {
    TFormList& List;
    TFormPattern& Pattern;
    TFormMode& Mode;
    TFormView& View;
    FormModel& Midi;   // the MIDI selector, shown modal
    FormModel& Reader; // its place is saved with the others
    SetupWindowPeer SetUp;
    TFormLyrics* Lyrics = nullptr; // follows the songs that have lyrics
    TFormParts* Parts = nullptr;   // mute and solo last for a song
};

// The borderless 282 x 68 main window and the player state every other window reads.
//
// Its handlers are split by concern over several files: form_main.cpp (creation, closing,
// dispatch), form_main_cd.cpp (disc and transport), form_main_order.cpp (play order and marks),
// form_main_display.cpp (the ticks), form_main_volume.cpp, form_main_live.cpp and
// form_main_settings.cpp.
class TFormMain final : public FormModel {
  public:
    static constexpr int kMaxTracks = 60;
    static constexpr int kApplauseSlots = 10;

    TFormMain(Ports ports, DataPaths paths, MediaDevices devices, TCustomMixerCtrl& mixer);

    // The other windows, read and written directly as the player needs them. Set once by the
    // window set before any handler runs.
    void SetPeers(const MainWindowPeers& peers) { peers_.emplace(peers); }

    // ---- Player state ------------------------------------------------------------------
    PlayerModeKind PlayerMode = PlayerModeKind::CD;
    bool DiscInfoRead = false;
    // A CD device chosen while a disc played: the tick opens it once the CD rests.
    std::optional<std::string> PendingCdDevice;
    std::array<std::uint32_t, kMaxTracks + 1> TrackLengths{}; // 1..60, minute/second/frame
    std::uint8_t CurrentTrack = 1;
    std::int32_t OrderPosition = 1;
    std::string TotalTimeText;
    std::string DiscId;
    // Tracks of the disc read, as the drive reports them (also beyond the 60 that play).
    int TrackCount = 0;
    PatternTable Patterns; // the disc's stored patterns, slots 0..9
    DiscText DiscTexts;    // the disc's CD-Text
    bool ResetDone = false;
    DataPaths Paths;

    std::array<std::string, kApplauseSlots> ApplauseFiles; // names only
    int ApplauseIndex = -1;
    // Why applause files could not be played, as told: each reason once, not at every song.
    std::set<std::string> ApplauseProblemsShown;

    // Mixer line identifiers found at start-up.
    int SpeakersLine = -1;
    int CdLine = 0;
    int WaveLine = -1;
    int SynthLine = -1;

    bool ShowHints = true;
    // PLAY shows its hint even when hints are off, once program play has started.
    bool SpeedButtonPLAYShowHint = false;
    // The last reason the CD device gave for having no usable medium, shown to the user once.
    std::string CdProblemShown;

    // ---- The display strip ---------------------------------------------------------------
    LabelState LabelPLAY, LabelPAUSE, LabelSTOP, LabelBAK, LabelNXT;
    LabelState LabelPlayMode, LabelTotalMUSIC, LabelTIME;
    std::array<LabelState, 10> LabelMarks; // Label0 .. Label9
    LabelState LabelVol, LabelVolBak;
    LabelState LabelMidiTitle, LabelMidiMode;
    LabelState PanelPOW;          // colour lime = one-way, yellow = endless
    bool ImageLIVE = false;       // the live mark (and the applause level with it)
    int ProgressBarWave = 3;      // applause level 0..9
    bool ImageLogoIsMidi = false; // the logo shows ImageMID instead of ImageCD

    ButtonState SpeedButtonBAK, SpeedButtonNXT, SpeedButtonPLAY, SpeedButtonPAUSE, SpeedButtonSTOP,
        SpeedButtonPOW, SpeedButtonVolDown, SpeedButtonVolUp;
    std::string ImageLogoHint;

    bool Timer1Enabled = true;
    bool Timer3Enabled = false;

    // ---- Player state kept in the lamps (form_main_lamps.cpp) ----------------------------
    // The strip's colours are the player's state, and only these read or write them: PLAY dim
    // (idle), aqua (playing) or yellow (playing with repeat); PAUSE yellow (paused by the
    // user); the volume marks aqua (active) or yellow (muted); POW lime (one-way) or yellow
    // (endless).
    bool IsCdPlaying() const;
    bool IsCdPaused() const;
    bool IsRepeatOn() const;
    bool IsMidiPlaying() const;
    bool IsMidiPaused() const;
    bool EndlessPlay() const;
    bool IsPlayIdle() const;    // PLAY dim
    bool IsPlayingOnce() const; // PLAY aqua: playing with repeat off
    bool IsPauseLampOn() const;
    bool IsVolumeActive() const;
    bool IsMuted() const;
    void SetPlayIdle();
    void SetPlaying(); // repeat off
    void ToggleRepeat();
    void SetPauseLamp(bool on);
    void SetMuted(bool muted); // false: active
    void SetEndless(bool endless);

    // ---- Creation and closing (form_main.cpp) --------------------------------------------
    void FormCreate();
    // The same from the one read of the settings at the start.
    void FormCreate(const IniSnapshot& settings);
    // Opens the CD device and tells the user, once, why a chosen image or drive cannot be used.
    // Raises DeviceBusyError when another program holds the drive.
    void OpenCdDevice();
    // Shows the CD device's newest reason for having no usable disc, unless it was the last one
    // shown.
    void TellCdProblem();
    // Stops and closes CD, MIDI and WAVE in that order; each call on its own, errors ignored.
    void FormClose();

    // ---- Handlers of the controls --------------------------------------------------------
    void SpeedButtonBAKClick();
    void SpeedButtonBAKMouseDown(MouseButton button);
    void SpeedButtonBAKMouseUp(MouseButton button);
    void SpeedButtonNXTClick();
    void SpeedButtonNXTMouseDown(MouseButton button);
    void SpeedButtonNXTMouseUp(MouseButton button);
    void SpeedButtonPLAYClick();
    void SpeedButtonPLAYMouseDown(MouseButton button);
    void SpeedButtonPAUSEClick();
    void SpeedButtonPAUSEMouseDown(MouseButton button);
    void SpeedButtonSTOPClick();
    void SpeedButtonSTOPMouseDown(MouseButton button);
    void SpeedButtonPOWClick();
    void SpeedButtonPOWMouseDown(MouseButton button);
    void SpeedButtonVolDownClick();
    void SpeedButtonVolDownMouseDown(MouseButton button);
    void SpeedButtonVolUpClick();
    void SpeedButtonVolUpMouseDown(MouseButton button);
    void ImageLogoClick();
    void ImageLogoMouseDown(MouseButton button);
    void LabelMidiTitleClick();
    void PanelPOWClick();
    // Label0 .. Label9: press, release and click of a mark.
    void LabelMarkMouseDown(int index, MouseButton button);
    void LabelMarkMouseUp(int index, MouseButton button);
    void LabelMarkClick(int index);
    void Timer1Timer();
    void Timer3Timer();

    // ---- CD side (form_main_cd.cpp) ------------------------------------------------------
    void InitCD();
    void ResetCD();
    void SetStopLamps();
    void PlayEntry();
    void StartFromEntry();
    void CdTick();

    // ---- Play order (form_main_order.cpp) ------------------------------------------------
    void BuildPlayOrder();
    void ShowModeMarks(bool full);
    void RefreshTrackMarks();
    int PlayModeIndex() const;

    // ---- Mode switch (form_main_mode.cpp) ------------------------------------------------
    // CD to MIDI or back: stops the old player, closes its device, dresses the strip and
    // shows the announcement. Opening the CD device may throw DeviceError; the player then
    // stays in MIDI mode.
    void SwitchPlayerMode();

    // ---- Display (form_main_display.cpp) -------------------------------------------------
    void MidiTick();

    // ---- MIDI player (form_main_midi*.cpp) -----------------------------------------------
    // Fills the control window's play list from the chosen source in the chosen order; true
    // when it holds an entry.
    bool LoadPlayList();
    // Plays the play list another window has just filled, from its first entry.
    void StartPlayList();
    // Plays the entry at OrderPosition, after its reset song when a reset type is set.
    void PlaySong();
    // The sequencer's completion notice: one per play request, stops included.
    void MIDINotify(NotifyValue value);
    // Files dropped onto the main window: in MIDI mode the window comes to the front and the
    // .mid files among them become the play list; in CD mode nothing happens. `unnamable` are
    // the dropped names that code page 932 cannot hold, as ShownName shows them: they are named
    // in a message.
    void PlayDroppedFiles(const std::vector<std::string>& cp932Paths,
                          const std::vector<std::string>& unnamable = {});
    // Makes play-list entry `entry` (0-based) the next to play: the sequencer is stopped, and
    // its completion notice plays the entry.
    void MakeNextToPlay(int entry);

    // ---- Volume (form_main_volume.cpp) ---------------------------------------------------
    void FindMixerLines();
    void SetCdVolume(int value);
    void SetMidiVolume(int value);
    void SetWaveVolume(int value);
    int VolumeLevel() const; // marks in LabelVol

    // ---- Live mode (form_main_live.cpp) --------------------------------------------------
    void FindApplauseFiles();
    void ToggleLive();
    void PlayApplause();
    // The wave player's notice: a Failure says that a file it was decoding cannot be played.
    void WAVENotify(NotifyValue value);
    // Shows why an applause file cannot be played, unless that was shown before.
    void TellApplauseProblem(std::string problem);

    // ---- Settings (form_main_settings.cpp) -----------------------------------------------
    void LoadMainSettings();
    // The same from a read already made, so the start reads the file once.
    void LoadMainSettings(const IniSnapshot& file);
    // Throws when a key cannot be written.
    void SaveWindowState();

    MediaDevices Devices;
    TCustomMixerCtrl& MixerCtrl1;

  private:
    const MainWindowPeers& peers() const { return *peers_; }
    SetupOptions options() const { return peers_->SetUp.Options.CurrentOptions(); }
    // Sends a volume level (0..10) to the line of the current mode, when that mode's volume
    // control is enabled in the settings.
    void ApplyVolumeLevel(int level);

    // CD side helpers (form_main_cd.cpp, form_main_transport.cpp, form_main_display.cpp).
    bool PlayLampLit() const;             // aqua or yellow
    void ShowReadingLamp();               // PLAY yellow while the disc is read
    void ShowNoDiscLamps();               // PLAY and STOP lime
    void BlinkNoDiscLamps();              // PLAY and STOP between lime and dim
    static void Blink(LabelState& label); // between aqua and dim
    static bool IsCurrentMark(const LabelState& mark);
    static void SetCurrentMark(LabelState& mark);
    bool IsMidiTitleLit() const;
    bool IsMidiTitleBlanked() const; // the dark half of the idle blink
    void SetMidiTitleLit(bool lit);
    int PlayableTracks() const; // TrackCount, at most 60
    void StartTrack(int track); // repaint is the caller's
    void ShowNoDisc();          // the no-disc display, or its blink
    void ReadInsertedDisc();    // a stopped disc that has not been read
    bool AdvanceOrder();        // the end-of-entry decision; false when it stopped the CD
    void BeginStop();           // STOP's lamp and the track control window
    void StopCd();              // STOP on a playing or paused CD: stopped at track 1
    void LoadDiscPatterns();
    void ShowClock();
    void ShowTrackTime(unsigned track, unsigned minutes, unsigned seconds);
    void SetOrderHints();

    // PAUSE on the player of the current mode: resumes it when `paused`, else pauses it; the
    // applause follows.
    void TogglePause(MediaDevice& player, bool paused);

    // MIDI side (form_main_midi*.cpp).
    void MidiPlayClick();
    void MidiPauseClick();
    void MidiStopClick();
    void MidiBackClick();
    void MidiNextClick();
    // A song's or reset song's start failed: the play-error message followed by the reason
    // (also on stderr), or the SoundFont's own message when it is the SoundFont; then STOP.
    void MidiPlayFailed();
    // Opens the sequencer on `path`, asks for the notice and plays; false when that failed,
    // with the reason kept for MidiPlayFailed.
    bool StartSequencer(const std::string& path);
    void ApplySongVolume(const std::string& vol);
    void ShowSongDocuments(const std::string& path);
    // The title line: the entry's text trimmed, with the stars when it leaves room for them.
    std::string MidiEntryTitle() const;
    void MidiTitleStep();
    // Hands the song at `path` (none: a reset song, or no song) to the lyrics window.
    void FollowSongLyrics(const std::string* path);

    Ports ports_;
    std::optional<MainWindowPeers> peers_;
    // Why the last StartSequencer failed (code page 932), and whether the SoundFont is to blame.
    std::string sequencerFailure_;
    bool soundFontFailed_ = false;
};

} // namespace tobira
