// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/player_remote.h"

#include "cd_windows/form_list.h"
#include "cd_windows/pattern_record.h"
#include "midi_windows/form_view.h"
#include "midi_windows/midi_title.h"
#include "player/form_main.h"
#include "player/play_modes.h"
#include "text/trim.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tobira {
namespace {

constexpr std::int64_t kMicro = 1'000'000;
constexpr int kFramesPerSecond = 75;

std::int64_t MsfMicroseconds(unsigned minutes, unsigned seconds, unsigned frames) {
    return (std::int64_t{minutes} * 60 + seconds) * kMicro +
           std::int64_t{frames} * kMicro / kFramesPerSecond;
}

// Tenths of a second as the sequencer counts them; nothing when the device cannot tell.
std::int64_t SequencerMicroseconds(std::uint32_t (MediaDevice::*query)() const,
                                   const MediaDevice& midi) {
    try {
        return std::int64_t{(midi.*query)()} * (kMicro / 10);
    } catch (const DeviceError&) {
        return 0;
    }
}

// A list song's entry is its Vol, a space and its title; the title may carry a new-song mark.
std::string SongTitle(const std::string& entryText, const std::string& vol) {
    std::string_view text = entryText;
    if (!vol.empty() && text.size() > vol.size() && text.starts_with(vol) &&
        text[vol.size()] == ' ')
        text.remove_prefix(vol.size() + 1);
    if (text.size() >= 3 && text[0] == '!' && text[1] >= '1' && text[1] <= '3' && text[2] == ' ')
        text.remove_prefix(3);
    return TrimSpaces(text);
}

} // namespace

PlayerRemote::PlayerRemote(TFormMain& main, TFormList& list, TFormView& view, WindowPort& windows)
    : main_(main), list_(list), view_(view), windows_(windows) {}

bool PlayerRemote::Playing() const {
    return main_.PlayerMode == PlayerModeKind::CD ? main_.IsCdPlaying() : main_.IsMidiPlaying();
}

bool PlayerRemote::Paused() const {
    return main_.PlayerMode == PlayerModeKind::CD ? main_.IsCdPaused() : main_.IsMidiPaused();
}

RemoteState PlayerRemote::State() const {
    const bool cd = main_.PlayerMode == PlayerModeKind::CD;
    RemoteState state;
    state.playback = Playing()  ? RemotePlayback::Playing
                     : Paused() ? RemotePlayback::Paused
                                : RemotePlayback::Stopped;
    if (cd && main_.IsCdPlaying() && main_.IsRepeatOn())
        state.loop = RemoteLoop::Track;
    else
        state.loop = main_.EndlessPlay() ? RemoteLoop::Playlist : RemoteLoop::None;
    state.shuffle = cd ? main_.PlayModeIndex() == kRandomMode : view_.Order() == MidiOrder::Rnd;
    state.volume = main_.IsMuted() ? 0.0 : main_.VolumeLevel() / 10.0;
    if (state.playback != RemotePlayback::Stopped)
        state.track = cd ? CdTrack() : MidiTrack();
    state.canPlay = !cd || main_.DiscInfoRead;
    state.canPause = state.playback != RemotePlayback::Stopped;
    state.canSeek = state.track && state.track->lengthUs;
    // BAK and NXT act only on a playing CD with repeat off, or on a playing song.
    if (cd) {
        const bool moving = main_.IsCdPlaying() && main_.IsPlayingOnce();
        state.canGoPrevious = moving;
        state.canGoNext = moving && !list_.EntryEmpty(main_.OrderPosition + 1);
    } else {
        state.canGoPrevious = main_.IsMidiPlaying();
        state.canGoNext = main_.IsMidiPlaying() &&
                          main_.OrderPosition + 1 < static_cast<int>(view_.ListBoxTitle.size());
    }
    return state;
}

std::optional<RemoteTrack> PlayerRemote::CdTrack() const {
    int track = main_.CurrentTrack;
    try {
        if (!list_.EntryEmpty(main_.OrderPosition))
            track = list_.EntryTrack(main_.OrderPosition);
    } catch (const std::invalid_argument&) {
        // An entry that is no number: the track the drive reported last stands for it.
    }
    if (track < 1 || track > TFormMain::kMaxTracks)
        return std::nullopt;
    RemoteTrack info;
    info.id = "/jp/tobira/CD/Track" + std::to_string(track);
    info.title = main_.DiscTexts.track(track).title;
    if (info.title.empty())
        info.title = "Track " + std::to_string(track);
    // The title the user stored with the disc's programs names it before the disc's own.
    for (const std::string& pattern : main_.Patterns) {
        const std::string_view title = SplitPatternText(pattern).title;
        if (!title.empty()) {
            info.album = std::string(title);
            break;
        }
    }
    if (info.album.empty())
        info.album = main_.DiscTexts.disc.title;
    const std::uint32_t length = main_.TrackLengths[static_cast<std::size_t>(track)];
    info.lengthUs = MsfMicroseconds(MsfMinute(length), MsfSecond(length), MsfFrame(length));
    return info;
}

std::optional<RemoteTrack> PlayerRemote::MidiTrack() const {
    const PlayList& list = view_.ListBoxTitle;
    const int entry = main_.OrderPosition;
    if (entry < 0 || entry >= static_cast<int>(list.size()))
        return std::nullopt;
    const auto i = static_cast<std::size_t>(entry);
    RemoteTrack info;
    info.id = "/jp/tobira/MIDI/Entry" + std::to_string(entry);
    info.title = SongTitle(list.entryText(i), list.vol(i));
    // While the reset song plays the sequencer holds that one, not the entry's song.
    if (!main_.ResetDone) {
        const std::int64_t length = SequencerMicroseconds(&MediaDevice::length, main_.Devices.MIDI);
        if (length > 0)
            info.lengthUs = length;
    }
    return info;
}

std::int64_t PlayerRemote::PositionUs() const {
    if (!Playing() && !Paused())
        return 0;
    if (main_.PlayerMode == PlayerModeKind::MIDI)
        return main_.ResetDone ? 0
                               : SequencerMicroseconds(&MediaDevice::position, main_.Devices.MIDI);
    std::uint32_t position = 0;
    try {
        position = main_.Devices.CD.position();
    } catch (const DeviceError&) {
        return 0;
    }
    return MsfMicroseconds(TmsfMinute(position), TmsfSecond(position), TmsfFrame(position));
}

void PlayerRemote::Play() {
    // PLAY on a playing player would only show its control window.
    if (!Playing())
        main_.SpeedButtonPLAYClick();
}

void PlayerRemote::Pause() {
    if (Playing())
        main_.SpeedButtonPAUSEClick();
}

void PlayerRemote::PlayPause() {
    if (Playing() || Paused())
        main_.SpeedButtonPAUSEClick();
    else
        main_.SpeedButtonPLAYClick();
}

void PlayerRemote::Stop() {
    if (Playing() || Paused())
        main_.SpeedButtonSTOPClick();
}

void PlayerRemote::Next() {
    main_.SpeedButtonNXTClick();
}

void PlayerRemote::Previous() {
    main_.SpeedButtonBAKClick();
}

void PlayerRemote::SetShuffle(bool on) {
    if (main_.PlayerMode == PlayerModeKind::MIDI) {
        const bool random = view_.Order() == MidiOrder::Rnd;
        if (on != random)
            view_.ChooseOrder(on ? MidiOrder::Rnd : MidiOrder::Nor);
        return;
    }
    const bool random = main_.PlayModeIndex() == kRandomMode;
    if (on == random)
        return;
    // Pressed and released as the mouse does; the marks choose a mode only while stopped.
    const int mark = on ? kRandomMode : kNormalMode;
    main_.LabelMarkMouseDown(mark, MouseButton::Left);
    main_.LabelMarkMouseUp(mark, MouseButton::Left);
}

void PlayerRemote::SetLoop(RemoteLoop loop) {
    // PLAY's right click toggles repeat only while the CD plays; otherwise it opens a window.
    if (main_.PlayerMode == PlayerModeKind::CD && main_.IsCdPlaying() &&
        main_.IsRepeatOn() != (loop == RemoteLoop::Track))
        main_.SpeedButtonPLAYMouseDown(MouseButton::Right);
    if (loop != RemoteLoop::Track && main_.EndlessPlay() != (loop == RemoteLoop::Playlist))
        main_.PanelPOWClick();
}

bool PlayerRemote::Seek(std::int64_t offsetUs) {
    const RemoteState state = State();
    if (!state.canSeek)
        return false;
    const std::int64_t target = std::max<std::int64_t>(0, PositionUs() + offsetUs);
    if (target > *state.track->lengthUs) {
        if (state.canGoNext)
            Next();
        return false;
    }
    return SeekTo(target);
}

bool PlayerRemote::SetPosition(const std::string& trackId, std::int64_t positionUs) {
    const RemoteState state = State();
    if (!state.canSeek || state.track->id != trackId || positionUs < 0 ||
        positionUs > *state.track->lengthUs)
        return false;
    return SeekTo(positionUs);
}

bool PlayerRemote::SeekTo(std::int64_t positionUs) {
    try {
        if (main_.PlayerMode == PlayerModeKind::MIDI) {
            main_.Devices.MIDI.seek(static_cast<std::uint32_t>(positionUs / (kMicro / 10)));
            return true;
        }
        const std::int64_t frames = positionUs * kFramesPerSecond / kMicro;
        const auto track = static_cast<unsigned>(TmsfTrack(main_.Devices.CD.position()));
        main_.Devices.CD.seek(PackTmsf(track,
                                       static_cast<unsigned>(frames / (60 * kFramesPerSecond)),
                                       static_cast<unsigned>(frames / kFramesPerSecond % 60),
                                       static_cast<unsigned>(frames % kFramesPerSecond)));
    } catch (const DeviceError&) {
        // The device went (a disc taken out, a song's file gone): nothing to jump in.
        return false;
    }
    return true;
}

void PlayerRemote::SetVolume(double volume) {
    if (!std::isfinite(volume))
        return;
    const int target = std::clamp(static_cast<int>(std::lround(volume * 10)), 0, 10);
    // The buttons do nothing while muted or switched off; a step that moves nothing ends it.
    for (int step = 0; step < 10 && main_.IsVolumeActive(); ++step) {
        const int level = main_.VolumeLevel();
        if (level == target)
            break;
        if (level < target)
            main_.SpeedButtonVolUpClick();
        else
            main_.SpeedButtonVolDownClick();
        if (main_.VolumeLevel() == level)
            break;
    }
}

void PlayerRemote::Raise() {
    main_.Show();
    windows_.raiseMainWindow();
}

void PlayerRemote::Quit() {
    main_.SpeedButtonPOWClick();
}

void PlayerRemote::OpenFiles(const std::vector<std::string>& cp932Paths) {
    const bool anyMidi = std::any_of(cp932Paths.begin(), cp932Paths.end(),
                                     [](const std::string& path) { return IsMidiFileName(path); });
    if (anyMidi && main_.PlayerMode == PlayerModeKind::CD)
        main_.SpeedButtonBAKMouseDown(MouseButton::Right);
    main_.PlayDroppedFiles(cp932Paths);
}

} // namespace tobira
