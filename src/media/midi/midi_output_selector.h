// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The MIDI device the player drives: the built-in synthesizer, or a sound module on a sequencer
// port, as the MIDIOUT setting chooses. The choice takes effect at the next open, so a song
// that plays goes on where it plays.

#include "media/media_device.h"

#include <string>
#include <vector>

namespace tobira {

// A MIDI device that plays to a port chosen by name.
class MidiPortDevice : public MediaDevice {
  public:
    // The port the next open connects to (code page 932, as ListPorts gives it).
    virtual void setPort(std::string cp932Name) = 0;
    // The ports a sound module can be reached at now (code page 932).
    virtual std::vector<std::string> listPorts() const = 0;
};

class MidiOutputSelector final : public MediaDevice {
  public:
    // Both devices' notices become this device's notices.
    MidiOutputSelector(MediaDevice& builtIn, MidiPortDevice& external);

    // Empty for the built-in synthesizer.
    void setPort(std::string cp932Name) { port_ = std::move(cp932Name); }
    const std::string& port() const { return port_; }
    std::vector<std::string> listPorts() const { return external_.listPorts(); }

    // Opens the chosen device with fileName(); closes the other one first when it was in use.
    void open() override;
    void close() override;
    bool isOpen() const override;
    // Only the built-in synthesizer has something to prepare (its SoundFont).
    void prepare() override;
    void release() override;

    void play() override;
    void playFrom(std::uint32_t position) override;
    void seek(std::uint32_t position) override;
    void stop() override;
    void pause() override;
    void previous() override;
    void eject() override;

    DeviceMode mode() const override;
    int tracks() const override;
    std::uint32_t trackLength(int track) const override;
    std::uint32_t position() const override;
    std::uint32_t length() const override;
    std::string takeProblem() override;

  private:
    MediaDevice& builtIn_;
    MidiPortDevice& external_;
    MediaDevice* active_;
    std::string port_;
};

} // namespace tobira
