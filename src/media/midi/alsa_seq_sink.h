// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ALSA sequencer as a MidiEventSink: a client of its own with one output port, subscribed to
// the sound module's port, and a queue whose real-time clock times the messages.
//
// Not thread-safe: its owner serialises the calls.

#include "media/midi/midi_event_sink.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

typedef struct _snd_seq snd_seq_t;

namespace tobira {

// The ports a sound module can be reached at, as "client name:port name" (UTF-8), in the
// sequencer's order. Empty when there is no sequencer.
std::vector<std::string> ListAlsaSeqPorts();

class AlsaSeqSink final : public MidiEventSink {
  public:
    // Connects to the port of that name (as listed, or an address such as "20:0"). DeviceError
    // when there is no sequencer or no such port.
    explicit AlsaSeqSink(const std::string& utf8PortName);
    ~AlsaSeqSink() override;
    AlsaSeqSink(const AlsaSeqSink&) = delete;
    AlsaSeqSink& operator=(const AlsaSeqSink&) = delete;

    const std::string& portName() const { return portName_; }
    // Whether the module's port is still there and still takes what this sink sends.
    bool connected() const;

    bool schedule(std::uint64_t micros, std::span<const std::uint8_t> message) override;
    void sendNow(std::span<const std::uint8_t> message) override;
    void dropQueued() override;
    void startClock(std::uint64_t micros) override;
    void haltClock() override;
    std::uint64_t clockMicros() const override;
    void flush() override;

  private:
    struct SeqCloser {
        void operator()(snd_seq_t* seq) const;
    };
    void controlQueue(int type);
    [[noreturn]] void fail(int error) const;

    std::string portName_;
    std::unique_ptr<snd_seq_t, SeqCloser> seq_;
    int port_ = -1;
    int queue_ = -1;
    int destClient_ = -1;
    int destPort_ = -1;
    // Song time at which the queue's clock was last started from zero.
    std::uint64_t base_ = 0;
};

} // namespace tobira
