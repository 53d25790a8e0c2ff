// SPDX-License-Identifier: GPL-3.0-or-later
// The display strip's timers: the once-a-second tick of each mode, the clock, the playing time
// and the hints that follow the order.
#include "player/form_main.h"

#include "cd_windows/form_list.h"
#include "forms/two_digits.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <charconv>
#include <ctime>

namespace tobira {
namespace {

// "%2.2d:%2.2d PLAY"
std::string playTime(int minutes, int seconds) {
    return TwoDigits(minutes) + ":" + TwoDigits(seconds) + " PLAY";
}

// The remaining time shows two seconds less: the player leaves every track two seconds early.
int remainingSeconds(int totalSeconds, int elapsedSeconds) {
    return std::max(totalSeconds - elapsedSeconds - 2, 0);
}

} // namespace

void TFormMain::Timer1Timer() {
    if (PlayerMode == PlayerModeKind::CD)
        CdTick();
    else
        MidiTick();
}

void TFormMain::Timer3Timer() {
    Timer3Enabled = false;
}

void TFormMain::ShowClock() {
    const std::time_t now = std::chrono::system_clock::to_time_t(ports_.clock.now());
    std::tm local{};
    localtime_r(&now, &local);
    LabelTIME.Caption = TwoDigits(local.tm_hour) + ":" + TwoDigits(local.tm_min);
}

void TFormMain::ShowTrackTime(unsigned track, unsigned minutes, unsigned seconds) {
    const std::uint32_t length =
        track >= 1 && track <= kMaxTracks ? TrackLengths[track] : std::uint32_t{0};
    const int lm = static_cast<int>(MsfMinute(length));
    const int ls = static_cast<int>(MsfSecond(length));
    SpeedButtonPLAY.Hint = "Track Time " + TwoDigits(lm) + ":" + TwoDigits(ls);
    if (options().RemainingTime) {
        const int left = remainingSeconds(60 * lm + ls, static_cast<int>(60 * minutes + seconds));
        LabelPLAY.Caption = playTime(left / 60, left % 60);
    } else {
        LabelPLAY.Caption = playTime(static_cast<int>(minutes), static_cast<int>(seconds));
    }
}

void TFormMain::SetOrderHints() {
    const TFormList& list = peers().List;
    unsigned selected = 0;
    int last = 0;
    for (int k = 1; k <= TFormList::kEntries; ++k) {
        if (list.EntryEmpty(k))
            continue;
        last = k;
        const std::string& caption = list.SpeedButton[static_cast<std::size_t>(k)].Caption;
        int track = 0;
        auto [end, error] = std::from_chars(caption.data(), caption.data() + caption.size(), track);
        if (error != std::errc() || end != caption.data() + caption.size() || track < 1 ||
            track > kMaxTracks)
            continue;
        const std::uint32_t length = TrackLengths[static_cast<std::size_t>(track)];
        selected += 60 * MsfMinute(length) + MsfSecond(length);
    }
    LabelTotalMUSIC.Hint = Utf8ToCp932("選択トラック合計時間 ") + TwoDigits(selected / 60) +
                           Utf8ToCp932("分") + TwoDigits(selected % 60) + Utf8ToCp932("秒／") +
                           TotalTimeText;
    std::string order = Utf8ToCp932("トラック再生順 = ");
    for (int k = 1; k <= last; ++k)
        order += list.SpeedButton[static_cast<std::size_t>(k)].Caption + " ";
    LabelPLAY.Hint = order;
}

void TFormMain::MidiTick() {
    MediaDevice& midi = Devices.MIDI;
    if (midi.mode() != DeviceMode::Playing) {
        // Idle: the title line blinks (black is invisible on the strip).
        if (!IsMidiTitleLit()) {
            SetMidiTitleLit(true);
            LabelMidiMode.Visible = true;
        } else {
            SetMidiTitleLit(false);
            LabelMidiMode.Visible = false;
        }
        return;
    }
    if (!LabelMidiTitle.Visible || IsMidiTitleBlanked()) {
        LabelMidiTitle.Visible = true;
        SetMidiTitleLit(true);
        LabelMidiMode.Visible = true;
    }
    MidiTitleStep();
    const int position = static_cast<int>(midi.position());
    const int length = static_cast<int>(midi.length());
    const int minutes = position / 600;
    const int seconds = position / 10 % 60;
    const int totalMinutes = length / 600;
    const int totalSeconds = length / 10 % 60;
    SpeedButtonPLAY.Hint = "Play Time " + TwoDigits(totalMinutes) + ":" + TwoDigits(totalSeconds);
    if (options().RemainingTime) {
        const int left = remainingSeconds(60 * totalMinutes + totalSeconds, 60 * minutes + seconds);
        LabelPLAY.Caption = playTime(left / 60, left % 60);
    } else {
        LabelPLAY.Caption = playTime(minutes, seconds);
    }
}

} // namespace tobira
