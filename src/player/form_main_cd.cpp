// SPDX-License-Identifier: GPL-3.0-or-later
// The CD side: reading the disc, the stopped state, starting entries and the once-a-second
// check that moves through the play order.
#include "player/form_main.h"

#include "cd_windows/form_list.h"
#include "cd_windows/form_pattern.h"
#include "player/play_modes.h"
#include "forms/two_digits.h"
#include "cd_windows/pattern_display.h"
#include "text/cp932_convert.h"
#include "player/cd_device_choice.h"
#include "player/disc_id.h"

#include <algorithm>

namespace tobira {
namespace {

constexpr const char* kNoDisc = "NO DISC";
constexpr const char* kIdle = "00:00 PLAY";
constexpr const char* kDot = "\x81\x45"; // "・"

unsigned wholeSeconds(std::uint32_t msf) {
    return 60 * MsfMinute(msf) + MsfSecond(msf);
}

} // namespace

// ---- Helpers -------------------------------------------------------------------------------

int TFormMain::PlayableTracks() const {
    return std::clamp(TrackCount, 0, kMaxTracks);
}

// ---- Disc ------------------------------------------------------------------------------------

void TFormMain::InitCD() {
    if (DiscInfoRead)
        return;
    ShowReadingLamp();
    LabelPLAY.Caption = "READ INFO";
    ports_.repaint.repaintNow();

    MediaDevice& cd = Devices.CD;
    TrackCount = std::max(cd.tracks(), 0);
    TrackLengths = {};
    for (int t = 1; t <= PlayableTracks(); ++t)
        TrackLengths[static_cast<std::size_t>(t)] = cd.trackLength(t);
    DiscInfoRead = true;
    CurrentTrack = 1;
    ShowModeMarks(true);
    LabelSTOP.Font = colors::Teal;

    // Totals and identity over every track, also those beyond the 60 that play, so that such a
    // disc keeps an identity of its own and its real playing time.
    unsigned seconds = 0;
    std::uint32_t last = 0;
    for (int t = 1; t <= TrackCount; ++t) {
        last = t <= kMaxTracks ? TrackLengths[static_cast<std::size_t>(t)] : cd.trackLength(t);
        seconds += wholeSeconds(last);
    }
    TotalTimeText = Utf8ToCp932("全トラック時間 ") + TwoDigits(seconds / 60) + Utf8ToCp932("分") +
                    TwoDigits(seconds % 60) + Utf8ToCp932("秒");
    LabelTotalMUSIC.Hint = TotalTimeText;
    DiscId = MakeDiscId(TrackCount, seconds, last);
    peers().List.LabelCDID.Caption = DiscId;

    // A missing pattern file changes nothing, so the previous disc's slots go first.
    Patterns = {};
    ShowPatternTable(Patterns, {peers().List.SpeedButtonCD, peers().Pattern.SpeedButton,
                                peers().List.LabelCDID});
    LoadDiscPatterns();

    // CD-Text: the track marks' hints, and the disc's title in the pattern title box unless
    // the user has stored a title for this disc.
    DiscTexts = cd.discText();
    const bool titled = std::any_of(Patterns.begin(), Patterns.end(), [](const std::string& p) {
        return !SplitPatternText(p).title.empty();
    });
    if (!titled && !DiscTexts.disc.title.empty())
        peers().List.EditPattern =
            std::string(CutText(DiscTexts.disc.title, TFormList::kTitleLimit));
}

void TFormMain::LoadDiscPatterns() {
    ReadPatternFile(
        Paths.PatternPath, Patterns,
        {peers().List.SpeedButtonCD, peers().Pattern.SpeedButton, peers().List.LabelCDID},
        ports_.messages);
}

void TFormMain::ResetCD() {
    CurrentTrack = 1;
    OrderPosition = 1;
    Devices.CD.stop();
    ShowModeMarks(false);
    // The device is not armed at track 1 here: the only play without a start position is the
    // resume from pause, and every reset comes with the pause lamp put out.
    LabelTIME.Visible = true;
    SpeedButtonPLAY.Hint = options().ShowHints
                               ? Utf8ToCp932("プレイ（右クリックでリピート再生のＯＮ／ＯＦＦ）")
                               : std::string();
    LabelPLAY.Caption = kIdle;
    LabelPLAY.Hint.clear();
    LabelTotalMUSIC.Hint = TotalTimeText;
}

void TFormMain::SetStopLamps() {
    for (LabelState* lamp : {&LabelBAK, &LabelNXT})
        lamp->Font = colors::Teal;
    SetPlayIdle();
    SetPauseLamp(false);
    LabelSTOP.Font = colors::Aqua;
    LabelPLAY.Caption = kIdle;
    LabelSTOP.Caption = "STOP";
}

void TFormMain::ShowNoDisc() {
    if (LabelPLAY.Caption != kNoDisc) {
        DiscInfoRead = false;
        ResetCD();
        ShowNoDiscLamps();
        LabelPLAY.Caption = kNoDisc;
        LabelTotalMUSIC.Caption.clear();
        LabelPlayMode.Caption.clear();
        for (LabelState& mark : LabelMarks) {
            mark.Caption = kDot;
            mark.Font = colors::Teal;
        }
        return;
    }
    BlinkNoDiscLamps();
}

void TFormMain::ReadInsertedDisc() {
    // A disc without a single track (the device already refuses one without audio) is no
    // disc to the player: nothing could be played from it.
    if (Devices.CD.tracks() < 1) {
        ShowNoDisc();
        ShowClock();
        return;
    }
    InitCD();
    LabelTotalMUSIC.Caption = TwoDigits(TrackCount);
    SetStopLamps();
    if (options().AutoPlay)
        SpeedButtonPLAYClick();
}

// ---- Entries ---------------------------------------------------------------------------------

void TFormMain::StartTrack(int track) {
    Devices.CD.playFrom(PackTmsf(static_cast<unsigned>(track), 0, 0, 0));
}

void TFormMain::PlayEntry() {
    StartTrack(peers().List.EntryTrack(OrderPosition));
    PlayApplause();
}

void TFormMain::StartFromEntry() {
    TFormList& list = peers().List;
    const int entry = list.FirstDownEntry();
    if (entry == 0)
        return;
    const int track = list.EntryTrack(entry);
    OrderPosition = entry;
    Devices.CD.stop();
    SetPlaying();
    LabelPLAY.Caption = kIdle;
    SetPauseLamp(false);
    LabelSTOP.Font = colors::Teal;
    LabelSTOP.Caption = "STOP";
    LabelTIME.Visible = false;
    ports_.repaint.repaintNow();
    StartTrack(track);
    RefreshTrackMarks();
    // Entry 1 gets its applause from the marks, as when an order starts.
    if (OrderPosition >= 2)
        PlayApplause();
}

bool TFormMain::AdvanceOrder() {
    if (IsRepeatOn()) {
        PlayEntry();
        return true;
    }
    ++OrderPosition;
    if (!peers().List.EntryEmpty(OrderPosition)) {
        PlayEntry();
        return true;
    }
    if (EndlessPlay()) {
        OrderPosition = 1;
        PlayEntry();
        return true;
    }
    // The end of a one-way order: as STOP on a playing CD, also when the device already
    // stopped by itself (a STOP click would eject a stopped disc).
    StopCd();
    return false;
}

// ---- The tick --------------------------------------------------------------------------------

void TFormMain::CdTick() {
    if (PendingCdDevice && !IsCdPlaying() && !IsCdPaused()) {
        try {
            UseCdDevice(*this, *PendingCdDevice);
        } catch (const DeviceError&) {
            // The old device is open again.
        }
    }
    if (LabelTIME.Visible)
        Blink(LabelTIME);

    switch (Devices.CD.mode()) {
    case DeviceMode::Open:
        ShowNoDisc();
        ShowClock();
        // An image that cannot be used says why, once; the player goes on without a disc.
        TellCdProblem();
        return;
    case DeviceMode::Stopped:
        if (!DiscInfoRead) {
            ReadInsertedDisc();
            return;
        }
        if (PlayLampLit() && !IsPauseLampOn()) {
            // The device ran to the end of the disc while the lamp says playing: the check
            // missed the entry's last two seconds (or the entry's track does not exist). Go on
            // with the order as the check would have.
            try {
                AdvanceOrder();
            } catch (...) {
                StopCd();
            }
            return;
        }
        ShowClock();
        return;
    case DeviceMode::Playing:
        break;
    default:
        return;
    }

    Blink(LabelPlayMode);
    const std::uint32_t position = Devices.CD.position();
    const unsigned track = TmsfTrack(position);
    const unsigned minutes = TmsfMinute(position);
    const unsigned seconds = TmsfSecond(position);
    // A track number the table does not hold (garbage, or beyond the 60) has no time left.
    const std::uint32_t length =
        track >= 1 && track <= kMaxTracks ? TrackLengths[track] : std::uint32_t{0};
    const int left =
        static_cast<int>(wholeSeconds(length)) - static_cast<int>(60 * minutes + seconds);
    try {
        const TFormList& list = peers().List;
        const bool entryTrack = list.EntryTrack(OrderPosition) == static_cast<int>(track);
        const bool inEntry = left >= 2 && entryTrack;
        // The disc's last track ending a one-way order plays to its very end: the device stops
        // there by itself, and the stopped device's tick ends the order.
        const bool runsOut = entryTrack && static_cast<int>(track) == TrackCount && !IsRepeatOn() &&
                             !EndlessPlay() && list.EntryEmpty(OrderPosition + 1);
        if (!inEntry && !runsOut && !AdvanceOrder())
            return;
    } catch (...) {
        // An entry that is no track stops the CD. The display then stays as the stop left it
        // rather than showing a playing time on a stopped CD.
        StopCd();
        return;
    }
    CurrentTrack = static_cast<std::uint8_t>(track);
    RefreshTrackMarks();
    ShowTrackTime(track, minutes, seconds);
}

} // namespace tobira
