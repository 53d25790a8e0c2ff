// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/media_device.h"

#include <string>
#include <utility>
#include <vector>

namespace tobira::testing {

// A device that records every call by name; any call listed in `failing` throws DeviceError.
class FakeMediaDevice final : public MediaDevice {
  public:
    std::vector<std::string> calls;
    std::vector<std::string> failing;
    DeviceMode currentMode = DeviceMode::Stopped;
    bool opened = false;
    std::string problem; // what takeProblem() tells, once

    void open() override { call("open"), opened = true; }
    void close() override { call("close"), opened = false; }
    bool isOpen() const override { return opened; }
    void play() override { call("play"); }
    void playFrom(std::uint32_t position) override { call("playFrom " + std::to_string(position)); }
    void stop() override { call("stop"); }
    void pause() override { call("pause"); }
    void previous() override { call("previous"); }
    void eject() override { call("eject"); }
    DeviceMode mode() const override { return currentMode; }
    int tracks() const override { return 0; }
    std::uint32_t trackLength(int) const override { return 0; }
    std::uint32_t position() const override { return 0; }
    std::uint32_t length() const override { return 0; }
    std::string takeProblem() override { return std::exchange(problem, {}); }

    void sendNotify(NotifyValue value) { notify(value); }

  private:
    void call(const std::string& name) {
        calls.push_back(name);
        for (const auto& f : failing)
            if (f == name)
                throw DeviceError(name + " failed");
    }
};

} // namespace tobira::testing
