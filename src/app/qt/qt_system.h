// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ports.h"

namespace tobira {

// The machine as Qt sees it: the primary screen and the pointer, the clock, other programs.
class QtSystem final : public ScreenPort, public ClockPort, public ProcessPort {
  public:
    ScreenSize screenSize() override;
    ScreenArea workArea() override;
    ScreenPoint pointerPosition() override;

    std::chrono::system_clock::time_point now() override;
    bool startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override;
};

} // namespace tobira
