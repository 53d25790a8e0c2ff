// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a listener hears of each call: from the monitor recording, its arrival times and the
// calls' times, the figures bench/output_response.sh prints, in milliseconds.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tobira::bench {

struct CallRecord {
    std::string label; // pause1, resume1, volume_down, volume_up, pause2, resume2, stop, start
    long long sentNs = 0;
    long long repliedNs = 0;
};

// The recording in `folder` (monitor.f32, stamps.txt, calls.txt) against the reference WAV
// (16-bit stereo, 44.1 kHz). Each figure is a name and a value, NaN where the recording does not
// show it. Throws std::runtime_error when a file is missing or malformed.
std::vector<std::pair<std::string, double>> AnalyzeResponse(const std::filesystem::path& reference,
                                                            const std::filesystem::path& folder,
                                                            double accept);

} // namespace tobira::bench
