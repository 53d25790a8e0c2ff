// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI player: play lists from the song lists or from dropped files, one song after
// another on the sequencer, each after its sound module's reset song when one is chosen.
//
// Advancing relies on the sequencer's one completion notice per play request: a song that ends
// by itself and one stopped by Select, BAK or NXT both arrive in MIDINotify exactly once, which
// then plays the entry at OrderPosition + 1.
#include "player/form_main.h"

#include "files/shown_name.h"
#include "media/midi/midi_synthesizer.h"
#include "midi_windows/form_lyrics.h"
#include "midi_windows/form_parts.h"
#include "midi_windows/form_view.h"
#include "midi_windows/midi_title.h"
#include "midi_windows/midi_volume.h"
#include "player/midi_play_error.h"
#include "text/cp932_convert.h"
#include "text/cp932_chars.h"
#include "text/trim.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace tobira {
namespace {

constexpr const char* kTitleStars = "　　　　　☆　☆　☆ ";

bool FileExists(const std::string& cp932Path) {
    std::error_code error;
    return std::filesystem::is_regular_file(PathFromCp932(cp932Path), error);
}

} // namespace

// ---- Building and starting a play list -------------------------------------------------------

bool TFormMain::LoadPlayList() {
    TFormView& view = peers().View;
    const bool filled =
        tobira::LoadPlayList(view.Source(), view.Order(), Paths.List0Path, Paths.List1Path,
                             ports_.random, ports_.messages, ports_.busy, view.ListBoxTitle);
    view.ListBoxTitleItemIndex = -1;
    view.ListBoxTitleWindowColor = filled;
    return filled;
}

void TFormMain::StartPlayList() {
    TFormView& view = peers().View;
    view.ListBoxTitleWindowColor = true;
    view.PageIndex = TFormView::kPlayPage;
    LabelTIME.Visible = false;
    LabelPLAY.Caption = "00:00 PLAY";
    SetPlaying();
    SetPauseLamp(false);
    LabelSTOP.Font = colors::Teal;
    OrderPosition = 0;
    // A reset song of the list this one replaces must not count for its first entry.
    ResetDone = false;
    LabelMidiTitle.Visible = true;
    PlaySong();
    if (IsPlayingOnce() && options().OpenWithPlay)
        view.FormShow();
}

void TFormMain::PlayDroppedFiles(const std::vector<std::string>& cp932Paths,
                                 const std::vector<std::string>& unnamable) {
    // In CD mode a drop is ignored altogether, the window's place in the stack included.
    if (PlayerMode != PlayerModeKind::MIDI)
        return;
    ports_.windows.raiseMainWindow();
    std::vector<std::string> songs;
    std::string refused;
    if (!unnamable.empty()) {
        refused =
            Utf8ToCp932("このファイル名は使えません（シフトＪＩＳで表せない文字を含みます）:");
        for (const std::string& name : unnamable)
            refused += "\n" + name;
    }
    std::string unstorable;
    for (const std::string& path : cp932Paths) {
        if (!IsMidiFileName(path))
            continue;
        // A line break or tab anywhere in the path would split the play-list record it becomes.
        if (HasRecordBreak(path))
            unstorable += "\n" + ShownName(PathFromCp932(path));
        else
            songs.push_back(path);
    }
    if (!unstorable.empty())
        refused += (refused.empty() ? "" : "\n") + RecordBreakMessage() + unstorable;
    if (!refused.empty())
        ports_.messages.showMessage(refused);
    if (songs.empty() && !refused.empty())
        return;
    if (songs.empty()) {
        ports_.messages.showMessage(
            Utf8ToCp932("ドラッグ＆ドロップされたファイルはＫＡＮＡＤＥの再生対象外です"));
        return;
    }
    TFormView& view = peers().View;
    {
        BusyCursor busy(ports_.busy);
        view.ClearPlayList();
        view.ListBoxTitleWindowColor = true;
        for (const std::string& path : songs) {
            const std::string name(FileNameOfPath(path));
            std::string title;
            try {
                title = ReadMidiTitle(path);
            } catch (const std::system_error&) {
                // Playing it reports the file; the list still shows what was dropped.
                title = name;
            }
            view.ListBoxTitle.append("+0 " + name + ": " + title, path, "+0", "1");
        }
    }
    if (view.Order() == MidiOrder::Rnd)
        ShufflePlayList(view.ListBoxTitle, ports_.random);
    StartPlayList();
}

// ---- Playing one entry -----------------------------------------------------------------------

void TFormMain::PlaySong() {
    TFormView& view = peers().View;
    const PlayList& list = view.ListBoxTitle;
    if (OrderPosition < 0 || OrderPosition >= static_cast<int>(list.size())) {
        MidiStopClick();
        return;
    }
    const auto entry = static_cast<std::size_t>(OrderPosition);
    const int resetType = options().ResetType;
    const std::string* resetSongs[] = {nullptr, &Paths.ResetGmPath, &Paths.ResetGsPath,
                                       &Paths.Reset88Path};

    if (!ResetDone && resetType >= 1 && resetType <= 3) {
        const std::string& resetSong = *resetSongs[resetType];
        if (!FileExists(resetSong)) {
            ports_.messages.showMessage(
                Utf8ToCp932("指定されたＭＩＤＩ音源初期化ファイル（GAKUFU_GM.MID または "
                            "GAKUFU_GS.MID または GAKUFU_88.MID）がありません"));
            MidiStopClick();
            return;
        }
        FollowSongLyrics(nullptr);
        LabelMidiTitle.Caption = "... No." + std::to_string(OrderPosition + 1);
        LabelMidiTitle.Visible = true;
        if (!StartSequencer(resetSong)) {
            MidiPlayFailed();
            return;
        }
        ResetDone = true;
        view.FollowPlayer();
        return;
    }

    ResetDone = false;
    LabelMidiMode.Visible = true;
    LabelMidiTitle.Visible = true;
    SetMidiTitleLit(true);
    LabelMidiTitle.Caption = MidiEntryTitle();
    Timer3Enabled = true;
    if (options().MidiVolumeControl)
        ApplySongVolume(list.vol(entry));
    SetWaveVolume(ProgressBarWave * 10);

    const std::string& path = list.path(entry);
    if (const std::string problem = SongFileProblemText(list.entryText(entry), path);
        !problem.empty()) {
        ports_.messages.showMessage(problem);
        MidiStopClick();
        return;
    }
    if (!StartSequencer(path)) {
        MidiPlayFailed();
        return;
    }
    view.ListBoxTitleItemIndex = OrderPosition;
    view.FollowPlayer();
    view.PanelNumber.Caption = std::to_string(OrderPosition + 1);
    view.PanelNumberAll.Caption = std::to_string(list.size());
    ShowSongDocuments(path);
    FollowSongLyrics(&path);
    PlayApplause();
}

void TFormMain::FollowSongLyrics(const std::string* path) {
    TFormLyrics* lyrics = peers().Lyrics;
    if (lyrics) {
        if (path)
            lyrics->SongStarted(*path);
        else
            lyrics->SongEnded();
        peers().View.SpeedButtonLyrics.Enabled = lyrics->HasLyrics();
    }
    if (TFormParts* parts = peers().Parts) {
        if (path)
            parts->SongStarted(*path, lyrics && lyrics->HasLyrics());
        else
            parts->SongEnded();
    }
}

bool TFormMain::StartSequencer(const std::string& path) {
    MediaDevice& midi = Devices.MIDI;
    sequencerFailure_.clear();
    soundFontFailed_ = false;
    try {
        midi.setFileName(path);
        midi.open();
        midi.play();
    } catch (const SoundFontError& e) {
        sequencerFailure_ = e.what();
        soundFontFailed_ = true;
        return false;
    } catch (const DeviceError& e) {
        sequencerFailure_ = e.what();
        return false;
    }
    return true;
}

void TFormMain::MidiPlayFailed() {
    if (!sequencerFailure_.empty())
        std::fprintf(stderr, "TOBIRA: %s\n", Cp932ToUtf8(sequencerFailure_).c_str());
    if (soundFontFailed_) {
        // Not the song's fault: the user has to replace the SoundFont, not the song.
        ports_.messages.showMessage(sequencerFailure_);
        MidiStopClick();
        return;
    }
    const PlayList& list = peers().View.ListBoxTitle;
    const auto entry = static_cast<std::size_t>(OrderPosition);
    std::string text =
        MidiPlayErrorText(list.entryText(entry), list.path(entry), sequencerFailure_);
    // An output that knows more (a sound module that cannot be reached) says so below.
    const std::string why = Devices.MIDI.takeProblem();
    if (!why.empty())
        text += "\n" + why;
    ports_.messages.showMessage(text);
    MidiStopClick();
}

void TFormMain::ApplySongVolume(const std::string& vol) {
    if (IsMuted()) {
        SetMidiVolume(0);
        return;
    }
    SetMidiVolume(MidiVolumeLevel(VolumeLevel(), vol) * 10);
}

void TFormMain::ShowSongDocuments(const std::string& path) {
    peers().View.ShowSongDocuments(path);
}

std::string TFormMain::MidiEntryTitle() const {
    const PlayList& list = peers().View.ListBoxTitle;
    if (OrderPosition < 0 || OrderPosition >= static_cast<int>(list.size()))
        return {};
    std::string title = TrimSpaces(list.entryText(static_cast<std::size_t>(OrderPosition)));
    if (ports_.textWidth.titleTextWidth(title) < ports_.textWidth.titleLabelWidth())
        title += Utf8ToCp932(kTitleStars);
    return title;
}

void TFormMain::MidiTitleStep() {
    // The lyric line, once it shows, takes the place of the scrolling title.
    if (Timer3Enabled || (peers().Lyrics && peers().Lyrics->ShowsLyricLine()))
        return;
    static const std::string kPlayLine = "      -- Play the MIDI --";
    if (LabelMidiTitle.Caption == kPlayLine) {
        LabelMidiTitle.Caption = MidiEntryTitle();
        return;
    }
    // A long title scrolls left a character a second until about 50 pixels remain.
    if (ports_.textWidth.titleTextWidth(LabelMidiTitle.Caption) > 50)
        LabelMidiTitle.Caption = CopyChars(LabelMidiTitle.Caption, 2, 1LL << 40);
    else
        LabelMidiTitle.Caption = kPlayLine;
}

// ---- The completion notice -------------------------------------------------------------------

void TFormMain::MIDINotify(NotifyValue value) {
    // Idle: the notice of a stop that ended the play.
    if (IsPlayIdle())
        return;
    if (value == NotifyValue::Failure) {
        // The output went away under the song (a sound module unplugged): going on to the next
        // entry would only fail again, so play stops and the user is told why.
        const std::string why = Devices.MIDI.takeProblem();
        MidiStopClick();
        if (!why.empty())
            ports_.messages.showMessage(why);
        return;
    }
    const DeviceMode mode = Devices.MIDI.mode();
    const bool userPaused = IsPauseLampOn();
    if (mode != DeviceMode::Stopped && (mode != DeviceMode::Paused || userPaused))
        return;
    if (!ResetDone) {
        const int entries = static_cast<int>(peers().View.ListBoxTitle.size());
        if (OrderPosition < entries - 1) {
            ++OrderPosition;
        } else if (!EndlessPlay()) {
            MidiStopClick();
            return;
        } else {
            OrderPosition = 0;
        }
    }
    PlaySong();
}

} // namespace tobira
