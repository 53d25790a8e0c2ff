// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's keys of the settings file: read at creation, written by the state save.
#include "player/form_main.h"

#include "forms/color_names.h"
#include "cd_windows/form_list.h"
#include "midi_windows/form_lyrics.h"
#include "midi_windows/form_parts.h"
#include "midi_windows/form_view.h"
#include "settings/ini_file.h"
#include "forms/position_check.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <optional>

namespace tobira {
namespace {

constexpr int kMaxLevel = 10;
constexpr int kMaxApplauseLevel = 9;

// The number (0, 1, 2) of the pressed button of a group, or none.
std::optional<int> pressedOf(const ButtonState& b0, const ButtonState& b1, const ButtonState& b2) {
    if (b0.Down)
        return 0;
    if (b1.Down)
        return 1;
    if (b2.Down)
        return 2;
    return std::nullopt;
}

} // namespace

void TFormMain::LoadMainSettings() {
    LoadMainSettings(IniSnapshot(Paths.SettingsPath));
}

void TFormMain::LoadMainSettings(const IniSnapshot& file) {
    const ScreenPoint stored{ReadSetting(file, keys::XPOSITION),
                             ReadSetting(file, keys::YPOSITION)};
    int level = ReadSetting(file, keys::VOLUMEPOS);
    const int applause = ReadSetting(file, keys::VOLUMEWAV);

    // The bar holds 0..9; a hand-edited value beyond it stops at the end, as a bar would.
    ProgressBarWave = std::clamp(applause, 0, kMaxApplauseLevel);
    ImageLIVE = ReadSetting(file, keys::LIVESTATS);
    // An identifier that names no colour keeps the panel as it is (one-way) rather than
    // stopping the start-up.
    if (auto color = IdentToColor(ReadSetting(file, keys::POWERCOLR)))
        PanelPOW.Font = *color;

    const ScreenSize screen = ports_.screen.screenSize();
    if (MainWindowPositionUsable(stored, screen)) {
        Left = stored.x;
        Top = stored.y;
        PlacedByPlatform = false;
    } else {
        // Once the file exists the default -1 centres the window like any implausible place.
        CentreOn(screen);
        PlacedByPlatform = false;
    }

    // Values above ten give the full bar; a negative one, which no save writes, the default.
    if (level < 0)
        level = keys::VOLUMEPOS.fallback;
    LabelVol.Caption = std::string(static_cast<std::size_t>(std::min(level, kMaxLevel)), 'I');

    ShowHints = ReadSetting(file, keys::SHOWHINTS);
    SpeedButtonPLAY.Hint =
        ShowHints ? Utf8ToCp932("プレイ（ＣＤなら右クリックでリピート再生のＯＮ／ＯＦＦ）")
                  : std::string();
}

void TFormMain::SaveWindowState() {
    IniBatch file(Paths.SettingsPath);
    const MainWindowPeers& windows = peers();
    WriteSetting(file, keys::XPOSITION, Left);
    WriteSetting(file, keys::YPOSITION, Top);
    WriteSetting(file, keys::HPOSITION, windows.List.Left);
    WriteSetting(file, keys::VPOSITION, windows.List.Top);
    WriteSetting(file, keys::LPOSITION, windows.View.Left);
    WriteSetting(file, keys::TPOSITION, windows.View.Top);
    WriteSetting(file, keys::VIEWWIDTH, windows.View.Width);
    WriteSetting(file, keys::VIEWHEIGH, windows.View.Height);
    WriteSetting(file, keys::SPOSITION, windows.Reader.Left);
    WriteSetting(file, keys::UPOSITION, windows.Reader.Top);
    WriteSetting(file, keys::READWIDTH, windows.Reader.Width);
    WriteSetting(file, keys::READHEIGH, windows.Reader.Height);
    if (const TFormLyrics* lyrics = windows.Lyrics) {
        WriteSetting(file, keys::LYRICPOSX, lyrics->Left);
        WriteSetting(file, keys::LYRICPOSY, lyrics->Top);
        WriteSetting(file, keys::LYRICWIDT, lyrics->Width);
        WriteSetting(file, keys::LYRICHEIG, lyrics->Height);
    }
    if (const TFormParts* parts = windows.Parts) {
        WriteSetting(file, keys::PARTPOSX, parts->Left);
        WriteSetting(file, keys::PARTPOSY, parts->Top);
    }
    WriteSetting(file, keys::VOLUMEPOS, VolumeLevel());
    WriteSetting(file, keys::VOLUMEWAV, ProgressBarWave);
    WriteSetting(file, keys::LIVESTATS, ImageLIVE);
    WriteSetting(file, keys::POWERCOLR, ColorToIdent(PanelPOW.Font));
    const TFormView& view = windows.View;
    if (auto source = pressedOf(view.SpeedButtonLst0, view.SpeedButtonLst1, view.SpeedButtonLst2))
        WriteSetting(file, keys::LISTSELEC, *source);
    if (auto order = pressedOf(view.SpeedButtonNor, view.SpeedButtonNew, view.SpeedButtonRnd))
        WriteSetting(file, keys::MODESELEC, *order);
    file.commit();
}

} // namespace tobira
