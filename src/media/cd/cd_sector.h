// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The audio CD's sector: 588 stereo frames of 16-bit samples, 75 to the second.

namespace tobira {

constexpr int kCdFramesPerSector = 588;
constexpr int kCdSectorsPerSecond = 75;
constexpr int kCdSectorBytes = 2352;

} // namespace tobira
