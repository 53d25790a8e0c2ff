// SPDX-License-Identifier: GPL-3.0-or-later
// Live mode: applause from the program folder's WAV files when a new entry starts.
#include "player/form_main.h"

#include "player/applause_sound.h"
#include "cd_windows/form_list.h"
#include "text/cp932_convert.h"

#include <algorithm>

namespace tobira {
namespace {

// The applause probability buttons: "100%", "70%", "50%".
constexpr int kRatio70 = 2;
constexpr int kRatio50 = 3;

bool drawSaysApplause(int ratio, RandomPort& random) {
    if (ratio == kRatio70) {
        const int r = random.random(10);
        return r != 1 && r != 4 && r != 8;
    }
    if (ratio == kRatio50)
        return random.random(10) % 2 != 0;
    return true;
}

} // namespace

void TFormMain::FindApplauseFiles() {
    const std::vector<std::string> names = ListWaveFiles(Paths.Folder);
    const std::size_t count = std::min<std::size_t>(names.size(), kApplauseSlots);
    ApplauseFiles = {};
    std::copy_n(names.begin(), count, ApplauseFiles.begin());
    ApplauseIndex = static_cast<int>(count) - 1;
}

void TFormMain::ToggleLive() {
    if (ImageLIVE) {
        ImageLIVE = false;
        return;
    }
    ImageLIVE = true;
    if (ApplauseIndex == -1)
        ports_.messages.showMessage(Utf8ToCp932("ライブデータがないためライブ機能は無効です"));
}

void TFormMain::PlayApplause() {
    if (!ImageLIVE || ApplauseFiles[0].empty())
        return;
    // The first and the last entry of the order always get their applause.
    const int last = peers().List.PlayOrderLength();
    if (OrderPosition != 1 && OrderPosition != last &&
        !drawSaysApplause(options().LiveRatio, ports_.random))
        return;

    if (ApplauseIndex < 0 || ApplauseIndex >= kApplauseSlots ||
        ApplauseFiles[static_cast<std::size_t>(ApplauseIndex)].empty())
        ApplauseIndex = 0;
    const std::string file = Paths.Folder + ApplauseFiles[static_cast<std::size_t>(ApplauseIndex)];
    ++ApplauseIndex;

    // A file that went missing or does not play costs its applause and one message; the next
    // one tries the next file.
    try {
        Devices.WAVE.setFileName(file);
        Devices.WAVE.open();
        Devices.WAVE.play();
    } catch (const DeviceError& e) {
        TellApplauseProblem(e.what());
    } catch (...) {
    }
}

void TFormMain::WAVENotify(NotifyValue value) {
    if (value != NotifyValue::Failure)
        return;
    for (std::string problem = Devices.WAVE.takeProblem(); !problem.empty();
         problem = Devices.WAVE.takeProblem())
        TellApplauseProblem(std::move(problem));
}

void TFormMain::TellApplauseProblem(std::string problem) {
    // Applause comes at every song: a file that cannot be played is told about once, not in a
    // box at each start.
    if (ApplauseProblemsShown.insert(problem).second)
        ports_.messages.showMessage(problem);
}

} // namespace tobira
