// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI output choice as the main window sees it: songs go to the device the choice names at
// their start, and a sound module that goes away mid-song stops the play with its reason.
#include "app/form_set.h"
#include "controls/mixer_ctrl.h"
#include "media/midi/midi_output_selector.h"
#include "support/fake_media_device.h"
#include "support/fake_ports.h"
#include "support/smf_writer.h"
#include "support/temp_dir.h"
#include "text/cp932_convert.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tobira {
namespace {

using testing::FakeMediaDevice;

// A port device that plays nothing: it records calls and the port and file each open used.
class FakePortDevice final : public MidiPortDevice {
  public:
    FakeMediaDevice inner;
    std::vector<std::string> opens; // "port|file name"

    void setPort(std::string name) override { port_ = std::move(name); }
    std::vector<std::string> listPorts() const override { return {"Module:Port 1"}; }
    void open() override {
        inner.open();
        opens.push_back(port_ + "|" + fileName().substr(fileName().rfind('/') + 1));
    }
    void close() override { inner.close(); }
    bool isOpen() const override { return inner.isOpen(); }
    void play() override { inner.play(); }
    void playFrom(std::uint32_t p) override { inner.playFrom(p); }
    void stop() override { inner.stop(); }
    void pause() override { inner.pause(); }
    void previous() override { inner.previous(); }
    void eject() override { inner.eject(); }
    DeviceMode mode() const override { return inner.mode(); }
    int tracks() const override { return 1; }
    std::uint32_t trackLength(int) const override { return 0; }
    std::uint32_t position() const override { return 0; }
    std::uint32_t length() const override { return 0; }
    std::string takeProblem() override { return inner.takeProblem(); }
    void sendNotify(NotifyValue value) { notify(value); }

  private:
    std::string port_;
};

struct OutputFixture {
    OutputFixture() {
        mixer.CreateWnd();
        forms.CreateAll();
        main.PlayerMode = PlayerModeKind::MIDI;
        forms.FormSetUp.RadioGroupReset = 0;
        std::string list;
        for (const char* name : {"one.mid", "two.mid"}) {
            const std::string path = main.Paths.Folder + name;
            testing::SmfWriter song;
            song.note(0, 0, 0, 60, 100, 480);
            song.write(PathFromCp932(path));
            list += std::string(name) + "\t" + path + "\t+0\t1\r\n";
        }
        testing::WriteBytes(PathFromCp932(main.Paths.List0Path),
                            std::vector<std::uint8_t>(list.begin(), list.end()));
    }

    testing::TempDir dir;
    testing::FakePorts fakes;
    FakeMediaDevice builtIn, cd, wave;
    FakePortDevice external;
    MidiOutputSelector output{builtIn, external};
    TMixerCtrl mixer;
    FormSet forms{fakes.ports(), DataPaths::InFolder(dir.path()), MediaDevices{cd, output, wave},
                  mixer};
    TFormMain& main = forms.FormMain;
};

TEST(MidiOutput, SongsGoWhereTheChoiceSaysAndALostModuleStopsThePlay) {
    struct Case {
        const char* name;
        std::string portAtStart;
        // After the first song has started: what happens, then what ends the first song.
        std::function<void(OutputFixture&)> during;
        std::vector<std::string> externalOpens;
        int builtInOpens;
        bool stillPlaying;
        std::vector<std::string> messages;
    };
    const std::string lost = Utf8ToCp932("ＭＩＤＩ出力先【Module:Port 1】との接続が切れました");
    const std::vector<Case> cases = {
        {"built-in synthesizer, song ends",
         "",
         [](OutputFixture& f) { f.builtIn.sendNotify(NotifyValue::Successful); },
         {},
         2,
         true,
         {}},
        {"module, song ends",
         "Module:Port 1",
         [](OutputFixture& f) { f.external.sendNotify(NotifyValue::Successful); },
         {"Module:Port 1|one.mid", "Module:Port 1|two.mid"},
         0,
         true,
         {}},
        {"module chosen while the synthesizer plays: from the next song",
         "",
         [](OutputFixture& f) {
             f.output.setPort("Module:Port 1");
             EXPECT_EQ(f.builtIn.calls.back(), "play") << "the song playing goes on";
             f.builtIn.sendNotify(NotifyValue::Successful);
         },
         {"Module:Port 1|two.mid"},
         1,
         true,
         {}},
        {"module not there at the start of a song",
         "Module:Port 1",
         [lost](OutputFixture& f) {
             f.external.inner.failing = {"open"};
             f.external.inner.problem = lost;
             f.external.sendNotify(NotifyValue::Successful);
         },
         {"Module:Port 1|one.mid"},
         0,
         false,
         {Utf8ToCp932("【ＭＩＤＩタイトル】 +0 two.mid\n【ＭＩＤＩファイル】 ") +
          "{folder}two.mid\n" +
          Utf8ToCp932(" ＭＩＤＩシステムが他で使用されているか、またはＭＩＤＩファイルの再生エラー"
                      "です\n") +
          "open failed\n" + lost}}, // the device's reason, then the output's
        {"module unplugged mid-song",
         "Module:Port 1",
         [lost](OutputFixture& f) {
             f.external.inner.problem = lost;
             f.external.inner.opened = false;
             f.external.inner.currentMode = DeviceMode::NotReady;
             f.external.sendNotify(NotifyValue::Failure);
         },
         {"Module:Port 1|one.mid"},
         0,
         false,
         {lost}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OutputFixture f;
        f.output.setPort(c.portAtStart);
        f.main.SpeedButtonPLAYClick();
        f.fakes.uiPost.runPending();
        c.during(f);
        f.fakes.uiPost.runPending();
        EXPECT_EQ(f.external.opens, c.externalOpens);
        EXPECT_EQ(std::count(f.builtIn.calls.begin(), f.builtIn.calls.end(), "open"),
                  c.builtInOpens);
        EXPECT_EQ(f.main.LabelPLAY.Font != colors::Teal, c.stillPlaying);
        std::vector<std::string> messages = c.messages;
        for (std::string& m : messages)
            if (const auto at = m.find("{folder}"); at != std::string::npos)
                m.replace(at, 8, f.main.Paths.Folder);
        EXPECT_EQ(f.fakes.messages.shown, messages);
        if (!c.externalOpens.empty() && c.builtInOpens > 0) {
            EXPECT_FALSE(f.builtIn.isOpen()) << "the synthesizer is let go for the module";
        }
    }
}

} // namespace
} // namespace tobira
