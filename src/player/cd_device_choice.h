// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tobira {

class TFormMain;

// Makes `name` (a drive or CUE image, code page 932; empty for the first drive found) the CD
// device. In MIDI mode the CD device is closed and opens with the new name at the switch back;
// a CD side at rest reopens now, so that the next tick reads the new disc. A playing or paused
// disc goes on; the tick reopens the device once the CD rests. Throws DeviceError when the new
// device cannot be opened; the old one is then open again.
void UseCdDevice(TFormMain& main, const std::string& name);

} // namespace tobira
