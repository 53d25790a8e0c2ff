// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/inspect/inspect_midi.h"

#include "app/inspect/inspect_output.h"
#include "app/program_folder.h"
#include "media/midi/loop_plan.h"
#include "media/midi/channel_instruments.h"
#include "media/midi/midi_soundfont.h"
#include "media/midi/module_effects.h"
#include "media/midi/smf_reader.h"
#include "media/midi/sound_module.h"
#include "media/midi/soundfont_presets.h"
#include "media/midi/synth_module.h"
#include "midi_windows/midi_title.h"
#include "player/midi_play_error.h"
#include "settings/data_paths.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>
#include <system_error>
#include <vector>

namespace tobira::inspect {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The sound-module resets a song may start with, as the reset songs and the modules know them.
const char* ResetName(const Bytes& m) {
    const auto is = [&m](std::initializer_list<int> want, std::size_t skip = 99) {
        if (m.size() != want.size())
            return false;
        std::size_t i = 0;
        for (int b : want) {
            if (i != skip && m[i] != b)
                return false;
            ++i;
        }
        return true;
    };
    if (is({0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}, 2))
        return "GM System On";
    if (is({0xF0, 0x7E, 0x7F, 0x09, 0x03, 0xF7}, 2))
        return "GM2 System On";
    if (is({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}, 2))
        return "GS Reset";
    if (is({0xF0, 0x41, 0x10, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x00, 0x01, 0xF7}, 2))
        return "SC-88 Mode 1";
    if (is({0xF0, 0x41, 0x10, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x01, 0x00, 0xF7}, 2))
        return "SC-88 Mode 2";
    if (m.size() == 9 && m[0] == 0xF0 && m[1] == 0x43 && (m[2] & 0xF0) == 0x10 && m[3] == 0x4C &&
        m[4] == 0 && m[5] == 0 && m[6] == 0x7E && m[7] == 0 && m[8] == 0xF7)
        return "XG System On";
    return nullptr;
}

std::string Length(double seconds) {
    const auto tenths = static_cast<long long>(seconds * 10 + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", tenths / 600, tenths / 10 % 60,
                  tenths % 10);
    return text;
}

void ShowResets(const std::vector<SmfEvent>& events) {
    std::vector<std::string> starts;
    std::set<std::string> seen;
    bool noteYet = false;
    for (const SmfEvent& e : events) {
        if ((e.bytes[0] & 0xF0) == 0x90 && e.bytes.size() == 3 && e.bytes[2] > 0)
            noteYet = true;
        if (const char* name = ResetName(e.bytes)) {
            seen.insert(name);
            if (!noteYet)
                starts.push_back(name);
        }
    }
    std::string start;
    for (const std::string& s : starts)
        start += (start.empty() ? "" : ", ") + s;
    Field("リセット", start.empty() ? Sjis("なし") : start);
    std::string all;
    for (const std::string& s : seen)
        all += (all.empty() ? "" : ", ") + s;
    Field("System On", all.empty() ? Sjis("なし") : all);
}

// Each channel's instrument after every change, as the built-in synthesizer picks it from the
// SoundFont it finds when the settings name none.
void ShowInstruments(const SmfSong& song, const std::vector<SmfEvent>& events) {
    const std::filesystem::path soundFont = FindDefaultSoundFont();
    const std::vector<SoundFontPreset> named =
        soundFont.empty() ? std::vector<SoundFontPreset>{} : ReadSoundFontPresets(soundFont);
    std::vector<SynthPreset> presets;
    for (const SoundFontPreset& p : named)
        presets.push_back(p.preset);
    SoundModule module{PresetCatalog(presets)};
    const std::vector<InstrumentChange> changes = ListChannelInstruments(module, events);
    if (!soundFont.empty())
        Field("サウンドフォント", Cp932FromPath(soundFont).value_or(soundFont.string()));
    const std::string dls = SynthDlsProblem();
    Field("DLS", dls.empty() ? Sjis("FluidSynth が読みます（libinstpatch）") : dls);
    if (changes.empty()) {
        Field("音色", Sjis("プログラムチェンジなし"));
        return;
    }
    for (const InstrumentChange& c : changes) {
        const SynthPreset& p = c.voice.preset;
        std::string line = Length(song.secondsAtTick(c.tick)) + " " + ModuleModeName(c.mode) + " " +
                           std::to_string(p.bank) + ":" + std::to_string(p.program) +
                           (c.voice.drum ? Sjis("（ドラム）") : "");
        for (const SoundFontPreset& n : named)
            if (n.preset == p) {
                line += " " + n.name;
                break;
            }
        Field(("音色 ch" + std::to_string(c.channel + 1)).c_str(), line);
    }
}

// A setting as the listing shows it: what, for which part, to what.
std::string SettingText(const ModuleSetting& s) {
    char value[48];
    const int v = s.value;
    switch (s.param) {
    case ModuleParam::ReverbType:
        std::snprintf(value, sizeof value, "%s", ReverbTypes()[static_cast<std::size_t>(v)].name);
        break;
    case ModuleParam::ChorusType:
        std::snprintf(value, sizeof value, "%s", ChorusTypes()[static_cast<std::size_t>(v)].name);
        break;
    case ModuleParam::ReverbTime:
        std::snprintf(value, sizeof value, "%.2f s", v / 100.0);
        break;
    case ModuleParam::ChorusRate:
        std::snprintf(value, sizeof value, "%.2f Hz", v / 100.0);
        break;
    case ModuleParam::ChorusDepth:
        std::snprintf(value, sizeof value, "%.2f ms", v / 100.0);
        break;
    case ModuleParam::MasterVolume:
        std::snprintf(value, sizeof value, "%d%%", (v * 100 + 8191) / 16383);
        break;
    case ModuleParam::MasterBalance:
        std::snprintf(value, sizeof value, "%+d", v - 8192);
        break;
    case ModuleParam::MasterTune:
        std::snprintf(value, sizeof value, "%+.1f cent", v / 10.0);
        break;
    case ModuleParam::MasterTranspose:
        std::snprintf(value, sizeof value, "%+d", v);
        break;
    case ModuleParam::PartReceive:
        std::snprintf(value, sizeof value, v < 16 ? "ch%d" : "off", v + 1);
        break;
    case ModuleParam::ReverbLevel:
    case ModuleParam::ChorusLevel:
    case ModuleParam::PartLevel:
    case ModuleParam::PartPan:
    case ModuleParam::PartReverbSend:
    case ModuleParam::PartChorusSend:
        std::snprintf(value, sizeof value, "%d", v);
        break;
    default:
        std::snprintf(value, sizeof value, "%+d", v);
        break;
    }
    std::string text = ModuleParamName(s.param);
    if (s.part >= 0)
        text += " ch" + std::to_string(s.part + 1);
    return text + " " + value;
}

// The effect, master and part settings the song makes, with their times, as the sound module
// reads them (a reset brings back its defaults, not listed).
void ShowModuleSettings(const SmfSong& song, const std::vector<SmfEvent>& events) {
    SoundModule module;
    ModuleEffects effects;
    bool any = false;
    for (const SmfEvent& e : events) {
        if (module.feed(e.bytes).action == SoundModule::Action::Reset) {
            effects.reset(module.mode());
            continue;
        }
        // Kept by name: the settings are a view into it, and a loop over a temporary's view
        // would outlive it.
        const ModuleEffects::Changes changes = effects.feed(e.bytes);
        for (const ModuleSetting& s : changes.all()) {
            Field("音源設定", Length(song.secondsAtTick(e.tick)) + " " + SettingText(s));
            any = true;
        }
    }
    if (!any)
        Field("音源設定", Sjis("なし"));
}

// The loop play the player's settings file asks for; off when there is none to read.
LoopSetting CurrentLoopSetting() {
    try {
        const IniSnapshot file(
            DataPaths::InFolder(ResolveProgramFolder(SystemProgramFolderInputs())).SettingsPath);
        return LoopSetting{ReadSetting(file, keys::LOOPCOUNT), ReadSetting(file, keys::LOOPFADES)};
    } catch (const std::exception&) {
        return {};
    }
}

void ShowLoop(const SmfSong& song) {
    if (!song.loop())
        return;
    Field("ループ", Length(song.secondsAtTick(song.loop()->startTick)) + " - " +
                        Length(song.secondsAtTick(song.loop()->endTick)));
    const LoopSetting setting = CurrentLoopSetting();
    const LoopPlan plan = LoopPlan::ForSong(song, setting);
    std::string how = Sjis("ループを繰り返さない設定");
    if (plan.loops())
        how = Sjis("ループをあと ") +
              std::to_string(std::clamp(setting.repeats, 1, LoopSetting::kMaxRepeats)) +
              Sjis(" 回、") +
              std::to_string(std::clamp(setting.fadeSeconds, 0, LoopSetting::kMaxFadeSeconds)) +
              Sjis(" 秒でフェードアウト");
    else if (setting.on())
        how = Sjis("ループが短すぎるため一度だけ演奏");
    Field("演奏時間",
          Length(static_cast<double>(plan.playedMicros()) / 1e6) + Sjis("（") + how + Sjis("）"));
}

} // namespace

int InspectMidi(const std::string& cp932Path) {
    const std::string name(FileNameOfPath(cp932Path));
    std::string title;
    try {
        title = ReadMidiTitle(cp932Path);
    } catch (const std::system_error&) {
        title = name;
    }
    const std::string entryText = "+0 " + name + ": " + title;
    // A FIFO, a file it may not read, a link loop: the player's words, before any reading.
    if (const std::string problem = SongFileProblemText(entryText, cp932Path); !problem.empty()) {
        Line(problem);
        return 1;
    }
    SmfSong song;
    std::vector<SmfEvent> events;
    std::vector<SmfRepair> repairs;
    try {
        song = ParseSmf(ReadSmfBytes(PathFromCp932(cp932Path)), events, repairs);
    } catch (const SmfError& e) {
        // As a dropped file or a file named on the player's command line shows it.
        Line(MidiPlayErrorText(entryText, cp932Path, SmfOpenMessage(cp932Path, e)));
        return 1;
    }
    Line(cp932Path);
    Field("形式", Sjis("ＳＭＦ フォーマット ") + std::to_string(song.format()) + Sjis("、") +
                      std::to_string(song.trackCount()) + Sjis(" トラック"));
    Field("長さ", Length(song.lengthSeconds()));
    ShowLoop(song);
    Field("タイトル", title);
    ShowResets(events);
    ShowInstruments(song, events);
    ShowModuleSettings(song, events);
    for (const SmfRepair& r : repairs)
        Field("読み飛ばし", std::to_string(r.offset + 1) + Sjis(" バイト目：") + r.text);
    return 0;
}

} // namespace tobira::inspect
