// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/disc_id.h"

#include "forms/two_digits.h"
#include "media/media_device.h"

namespace tobira {

std::string MakeDiscId(int trackCount, unsigned totalSeconds, std::uint32_t lastLengthMsf) {
    return TwoDigits(trackCount) + TwoDigits(totalSeconds / 60) + TwoDigits(totalSeconds % 60) +
           TwoDigits(MsfMinute(lastLengthMsf)) + TwoDigits(MsfSecond(lastLengthMsf));
}

} // namespace tobira
