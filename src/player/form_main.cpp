// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/form_main.h"

#include "player/applause_sound.h"
#include "cd_windows/form_list.h"
#include "midi_windows/form_view.h"
#include "midi_windows/reset_songs.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "text/cp932_convert.h"

#include <cstdlib>
#include <system_error>

namespace tobira {
namespace {

// Overrides the CD device setting for one run without touching the settings file, so a demo
// disc image can be played on a machine whose user has settings of their own.
constexpr const char* kCdDeviceVariable = "TOBIRA_CDDEVICE";

ButtonState withHint(const char* utf8Hint) {
    ButtonState button;
    button.Hint = Utf8ToCp932(utf8Hint);
    return button;
}

LabelState lamp(const char* caption) {
    LabelState label;
    label.Caption = caption;
    label.Font = colors::Teal;
    return label;
}

} // namespace

TFormMain::TFormMain(Ports ports, DataPaths paths, MediaDevices devices, TCustomMixerCtrl& mixer)
    : FormModel("", 282, 68), Paths(std::move(paths)), Devices(devices), MixerCtrl1(mixer),
      ports_(ports) {
    Borderless = true;

    // The strip as it reads before the first tick.
    LabelBAK = lamp("BAK");
    LabelNXT = lamp("NXT");
    LabelPLAY = lamp("00:00 PLAY");
    LabelPAUSE = lamp("||");
    LabelSTOP = lamp("EJECT");
    for (LabelState& mark : LabelMarks)
        mark = lamp("\x81\x45"); // "・"
    LabelPlayMode = lamp("");
    LabelTotalMUSIC = lamp("");
    LabelTIME = lamp("");
    LabelVol.Caption = "III";
    SetMuted(false);
    LabelVolBak = lamp("IIIIIIIIII");
    SetEndless(false);
    PanelPOW.Hint = Utf8ToCp932("ワンウェイプレイ");
    LabelMidiTitle.Visible = false;
    LabelMidiMode.Visible = false;

    SpeedButtonBAK = withHint("前の曲（右クリックでＣＤ／ＭＩＤＩの切替）");
    SpeedButtonNXT = withHint("次の曲（右クリックでライブ機能のＯＮ／ＯＦＦ）");
    SpeedButtonPLAY = withHint("プレイ（ＣＤなら右クリックでリピート再生のＯＮ／ＯＦＦ）");
    SpeedButtonPAUSE = withHint("ポーズ（右クリックでアイコン化）");
    SpeedButtonSTOP = withHint("ストップｏｒイジェクト（右クリックでミュートＯＮ／ＯＦＦ）");
    SpeedButtonPOW = withHint("終了（右クリックで位置と音量値を保存）");
    SpeedButtonVolDown = withHint("音量を下げる（右クリックで拍手音量を下げる）");
    SpeedButtonVolUp = withHint("音量を上げる（右クリックで拍手音量を上げる）");
    ImageLogoHint = Utf8ToCp932("コントロールウィンドウを開く（右クリックで設定ウィンドウを開く）");
}

void TFormMain::FormCreate() {
    FormCreate(IniSnapshot(Paths.SettingsPath));
}

void TFormMain::FormCreate(const IniSnapshot& settings) {
    // The random generator is seeded by the program entry, before any window exists.
    DiscInfoRead = false;
    ResetDone = false;
    // Where the window manager puts a window; a stored position replaces it below.
    PlacedByPlatform = true;
    // A file that is there but cannot be read is told once here, and the program goes on with
    // the defaults without ever replacing it.
    if (!settings.problem().empty())
        ports_.messages.showMessage(settings.problem());
    if (settings.exists())
        LoadMainSettings(settings);
    // Only into a folder without any applause of the user's own, so their choice stands.
    PlaceDefaultApplause(Paths.Folder);
    FindApplauseFiles();
    FindMixerLines();
    try {
        PlaceMissingResetSongs(PathFromCp932(Paths.Folder));
    } catch (const std::system_error&) {
        // A read-only folder: playing with a reset type then says which file is missing.
    }
    Devices.MIDI.setNotifyHandler([this](NotifyValue value) { MIDINotify(value); });
    Devices.WAVE.setNotifyHandler([this](NotifyValue value) { WAVENotify(value); });

    std::string device = ReadSetting(settings, keys::CDDEVICE);
    if (const char* value = std::getenv(kCdDeviceVariable); value && *value) {
        // A name that code page 932 cannot hold could not be opened anyway: keep the setting.
        if (auto name = Cp932FromPath(value))
            device = *name;
    }
    Devices.CD.setFileName(device);
    OpenCdDevice();
}

void TFormMain::OpenCdDevice() {
    Devices.CD.open();
    TellCdProblem();
}

void TFormMain::TellCdProblem() {
    // The device reports a reason once per attempt to read the disc; a reopen at every switch
    // to CD mode would tell the same reason again.
    std::string problem = Devices.CD.takeProblem();
    if (problem.empty() || problem == CdProblemShown)
        return;
    CdProblemShown = std::move(problem);
    ports_.messages.showMessage(CdProblemShown);
}

void TFormMain::FormClose() {
    for (MediaDevice* device : {&Devices.CD, &Devices.MIDI, &Devices.WAVE}) {
        try {
            device->stop();
        } catch (...) {
        }
        try {
            device->close();
        } catch (...) {
        }
    }
}

void TFormMain::SpeedButtonPOWClick() {
    ports_.repaint.repaintNow();
    ports_.windows.closeMainWindow();
}

void TFormMain::SpeedButtonPOWMouseDown(MouseButton button) {
    if (button != MouseButton::Right)
        return;
    try {
        SaveWindowState();
    } catch (...) {
        ports_.messages.showMessage(Utf8ToCp932("各ウィンドウ位置とサイズ、音量値、ライブ機能、再生"
                                                "モードの状態を保存できませんでした"));
        return;
    }
    ports_.messages.showMessage(Utf8ToCp932(
        "各ウィンドウ位置とサイズ、音量値、ライブ機能、再生モードの状態を保存しました"));
}

void TFormMain::SpeedButtonPAUSEMouseDown(MouseButton button) {
    if (button == MouseButton::Right)
        ports_.windows.iconifyApplication();
}

void TFormMain::ImageLogoClick() {
    if (PlayerMode == PlayerModeKind::MIDI) {
        peers().View.FormShow();
        return;
    }
    peers().List.ShowModeDisplay(PlayModeIndex());
    peers().List.Show();
}

void TFormMain::ImageLogoMouseDown(MouseButton button) {
    if (button == MouseButton::Right)
        peers().SetUp.Window.Show();
}

void TFormMain::LabelMidiTitleClick() {
    ImageLogoClick();
}

} // namespace tobira
