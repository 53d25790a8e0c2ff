// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The identity under which a disc's track programs are stored: track count, total playing time
// and the last track's length, two digits each.

#include <cstdint>
#include <string>

namespace tobira {

// `totalSeconds`: the tracks' whole seconds added up; `lastLengthMsf`: the last track's length,
// minute/second/frame packed.
std::string MakeDiscId(int trackCount, unsigned totalSeconds, std::uint32_t lastLengthMsf);

} // namespace tobira
