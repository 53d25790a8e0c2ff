// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tobira::inspect {

// A song list (GAKUFU.DT0, GAKUFU.DT1) or an album: its entries as the player lists them and
// each line it cannot use, with the message it would show. 0 when at least one entry would
// play, else 1.
int InspectList(const std::string& cp932Path);

} // namespace tobira::inspect
