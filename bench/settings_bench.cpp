// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own load and save paths over a 50 MB TOBIRA.INI (a file grown by a tool that
// appended to it, or a hand-made one): goal start <= 1 s, each save <= 1 s.
//  - start: every window's creation handler in window order (FormSet::CreateAll), each reading
//    its keys from the file;
//  - saves: the state save (power button, right click), the setup save, the MIDI selector's
//    close and its folder list.
#include "app/form_set.h"
#include "support/fake_form_set.h"
#include "files/whole_file.h"
#include "settings/settings_keys.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace tobira {
namespace {

constexpr std::size_t kSettingsBytes = 50u * 1024 * 1024;

// The program's keys among a million others in its own section, as a runaway writer leaves it.
void WriteLargeSettings(const std::filesystem::path& file) {
    std::string text = "[BASICDATA]\r\nXPOSITION=100\r\nYPOSITION=100\r\nMIDISTART=0\r\n";
    text.reserve(kSettingsBytes + 100);
    for (std::size_t n = 0; text.size() < kSettingsBytes; ++n)
        text += "EXTRA" + std::to_string(n) + "=" + std::string(40, 'v') + "\r\n";
    text += "[OTHER]\r\nKEY=1\r\n";
    WriteFileAtomically(file, text);
}

struct LargeSettings : benchmark::Fixture {
    void SetUp(const benchmark::State&) override {
        set = std::make_unique<testing::FakeFormSet>();
        WriteLargeSettings(set->folder.path() / "TOBIRA.INI");
    }
    void TearDown(const benchmark::State&) override { set.reset(); }
    std::unique_ptr<testing::FakeFormSet> set;
};

BENCHMARK_DEFINE_F(LargeSettings, Start)(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        FormSet forms{set->fakes.ports(), DataPaths::InFolder(set->folder.path()),
                      MediaDevices{set->cd, set->midi, set->wave}, set->mixer};
        state.ResumeTiming();
        forms.CreateAll();
    }
}

BENCHMARK_DEFINE_F(LargeSettings, StateSave)(benchmark::State& state) {
    for (auto _ : state)
        set->forms.FormMain.SpeedButtonPOWMouseDown(MouseButton::Right);
}

BENCHMARK_DEFINE_F(LargeSettings, SetupSave)(benchmark::State& state) {
    for (auto _ : state)
        set->forms.FormSetUp.SaveSetupSettings();
}

BENCHMARK_DEFINE_F(LargeSettings, SelectorCloseAndFolderList)(benchmark::State& state) {
    for (auto _ : state) {
        set->forms.FormMidi.FormClose();
        set->forms.FormMidi.SaveFolderList();
    }
}

BENCHMARK_REGISTER_F(LargeSettings, Start)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_REGISTER_F(LargeSettings, StateSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_REGISTER_F(LargeSettings, SetupSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_REGISTER_F(LargeSettings, SelectorCloseAndFolderList)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
} // namespace tobira

BENCHMARK_MAIN();
