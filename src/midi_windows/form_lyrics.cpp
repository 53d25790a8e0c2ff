// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/form_lyrics.h"

#include "forms/position_check.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"

namespace tobira {

TFormLyrics::TFormLyrics(ScreenPort& screen, std::string settingsPath, const MediaDevice& midi,
                         LabelState& mainTitle, const SetupOptionsSource& options)
    : FormModel("ＭＩＤＩ 歌詞", kDefaultWidth, kDefaultHeight), screen_(screen),
      settingsPath_(std::move(settingsPath)), midi_(midi), mainTitle_(mainTitle),
      options_(options) {
    LyricsFont.name = std::string(keys::FONTNAME.fallback);
    LabelLine.Font = colors::Aqua;
    LabelNext.Font = colors::Teal;
}

void TFormLyrics::FormCreate() {
    FormCreate(IniSnapshot(settingsPath_));
}

void TFormLyrics::FormCreate(const IniSnapshot& settings) {
    LyricsFont.name = ReadSetting(settings, keys::FONTNAME);
    LyricsFont.size = ReadFontSize(settings);
    Width = ReadSetting(settings, keys::LYRICWIDT);
    Height = ReadSetting(settings, keys::LYRICHEIG);
    const ScreenPoint stored{ReadSetting(settings, keys::LYRICPOSX),
                             ReadSetting(settings, keys::LYRICPOSY)};
    const ScreenSize screen = screen_.screenSize();
    if (SideWindowPositionUsable(stored, screen)) {
        Left = stored.x;
        Top = stored.y;
    } else {
        CentreOn(screen);
    }
}

void TFormLyrics::SongStarted(const std::string& cp932Path) {
    SongEnded();
    Lyrics = ReadSongLyrics(cp932Path);
    TimerLyricsEnabled = HasLyrics();
    if (HasLyrics())
        showLine(-1, 0);
}

void TFormLyrics::SongEnded() {
    Lyrics = SongLyrics();
    TimerLyricsEnabled = false;
    titleLine_ = false;
    shownLine_ = -2;
    LabelLine.Caption.clear();
    LabelNext.Caption.clear();
    LabelLineSung = 0;
}

void TFormLyrics::TimerLyricsTimer() {
    if (!HasLyrics())
        return;
    const DeviceMode mode = midi_.mode();
    if (mode == DeviceMode::NotReady)
        return;
    const std::uint64_t micros = std::uint64_t{midi_.position()} * 100'000;
    showLine(Lyrics.lineAt(micros), micros);
}

void TFormLyrics::showLine(int line, std::uint64_t micros) {
    const auto& lines = Lyrics.lines();
    if (line != shownLine_) {
        shownLine_ = line;
        LabelLine.Caption = line >= 0 ? lines[static_cast<std::size_t>(line)].text() : "";
        const auto next = static_cast<std::size_t>(line + 1);
        LabelNext.Caption = next < lines.size() ? lines[next].text() : "";
    }
    LabelLineSung = Lyrics.sungBytes(line, micros);
    // Before the first line the title stays; from then on the line takes its place.
    titleLine_ = line >= 0 && options_.CurrentOptions().LyricLine;
    if (titleLine_ && mainTitle_.Caption != LabelLine.Caption)
        mainTitle_.Caption = LabelLine.Caption;
}

} // namespace tobira
