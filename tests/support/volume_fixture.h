// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window set in a fresh program folder, with the real software mixer behind the mixer
// control (volumes are measured where the sound is scaled) and recording fake devices.

#include "app/form_set.h"
#include "controls/mixer_ctrl.h"
#include "media/audio_engine.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"
#include "support/fake_media_device.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <fstream>
#include <string>

namespace tobira::testing {

struct MainWindowFixture {
    TempDir dir;
    FakePorts fakes;
    FakeMediaDevice cd, midi, wave;
    AudioEngine engine;
    TMixerCtrl mixer{&engine};
    FormSet forms{fakes.ports(), DataPaths::InFolder(dir.path()), MediaDevices{cd, midi, wave},
                  mixer};
    TFormMain& main = forms.FormMain;
    TFormSetUp& setup = forms.FormSetUp;

    MainWindowFixture() { mixer.CreateWnd(); }

    IniFile settings() const { return IniFile(main.Paths.SettingsPath); }
    void write(const char* key, const std::string& value) {
        settings().writeString("BASICDATA", key, value);
    }
    void touch(const std::string& name) const { std::ofstream(dir / name) << "x"; }

    std::uint16_t units(MixerLine line) const { return engine.volume(line, 0); }
    // A value no volume rule produces, to see whether anything was sent.
    static constexpr std::uint16_t kUntouched = 12345;
    void markLines() {
        for (MixerLine line : {MixerLine::CompactDisc, MixerLine::Synthesizer, MixerLine::WaveOut})
            engine.setLineVolume(line, kUntouched);
    }
};

inline std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8);
}

} // namespace tobira::testing
