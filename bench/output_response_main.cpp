// SPDX-License-Identifier: GPL-3.0-or-later
// The measuring half of bench/output_response.sh.
//   output_response record PLAYER SOURCE FOLDER
//       records SOURCE (a sink's monitor) into FOLDER while it calls the MPRIS player PLAYER
//       ("tobira", "audacious") on the session bus, once it plays: pause, resume, volume down and
//       up, pause, Play, Stop, Play, a second or two apart. Writes FOLDER/calls.txt.
//   output_response analyze REFERENCE.wav FOLDER [ACCEPT, default 0.8]
//       prints "name milliseconds" for each figure of the recorded calls (nan where the
//       recording does not show it).
#include "monitor_recorder.h"
#include "mpris_driver.h"
#include "response_analysis.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;
using tobira::bench::MprisDriver;
using tobira::bench::TimedCall;

struct Step {
    const char* label;
    const char* method; // nullptr: set Volume
    double volume;
    std::chrono::milliseconds after;
};

// Pauses long enough for every output to have settled, volume changes of a half.
constexpr Step kSteps[] = {
    {"pause1", "PlayPause", 0, 1500ms},    {"resume1", "PlayPause", 0, 2500ms},
    {"volume_down", nullptr, 0.5, 2000ms}, {"volume_up", nullptr, 1.0, 2000ms},
    {"pause2", "PlayPause", 0, 1500ms},    {"resume2", "Play", 0, 2000ms},
    {"stop", "Stop", 0, 1500ms},           {"start", "Play", 0, 1500ms},
};

int Record(const QString& player, const std::string& source, const std::filesystem::path& folder) {
    MprisDriver driver(player);
    const tobira::bench::MonitorRecorder recorder(source, folder);
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (driver.playbackStatus() != QStringLiteral("Playing")) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "output_response: %s never played\n", qPrintable(player));
            return 1;
        }
        std::this_thread::sleep_for(100ms);
    }
    std::this_thread::sleep_for(3s); // the sound as it runs, not as it starts
    std::ofstream calls(folder / "calls.txt");
    for (const Step& step : kSteps) {
        const TimedCall timed = step.method ? driver.call(QString::fromLatin1(step.method))
                                            : driver.setVolume(step.volume);
        calls << step.label << ' ' << timed.sentNs << ' ' << timed.repliedNs << '\n';
        if (!timed.error.empty())
            std::fprintf(stderr, "output_response: %s %s: %s\n", qPrintable(player), step.label,
                         timed.error.c_str());
        std::this_thread::sleep_for(step.after);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "record" && argc == 5) {
            QCoreApplication app(argc, argv);
            return Record(QString::fromLocal8Bit(argv[2]), argv[3], argv[4]);
        }
        if (mode == "analyze" && (argc == 4 || argc == 5)) {
            const double accept = argc == 5 ? std::atof(argv[4]) : 0.8;
            for (const auto& [name, value] :
                 tobira::bench::AnalyzeResponse(argv[2], argv[3], accept))
                std::printf("%s %.1f\n", name.c_str(), value);
            return 0;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "output_response: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: output_response record PLAYER SOURCE FOLDER\n"
                         "       output_response analyze REFERENCE.wav FOLDER [ACCEPT]\n");
    return 2;
}
