// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windows/form_msg.h"

#include <string>

namespace tobira {

class MidiDevice;
class MediaDevice;

// The author window's facts, asked of the libraries and the devices now.
AboutFacts GatherAboutFacts(const MidiDevice& midi, const MediaDevice& cd,
                            const std::string& cp932Folder);

} // namespace tobira
