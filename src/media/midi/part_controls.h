// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a part display asks of the MIDI device and reads back, without a lock: the UI thread
// sets the silenced parts and the metering, the audio thread carries them out at its next
// render and publishes the parts' levels and the module's state.

#include "media/midi/midi_synthesizer.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace tobira {

class PartControls final {
  public:
    // UI thread.
    // Parts (a bit per MIDI channel) not heard from the next render on; kept until changed.
    void silence(std::uint16_t parts) { silenced_.store(parts, std::memory_order_relaxed); }
    std::uint16_t silenced() const { return silenced_.load(std::memory_order_relaxed); }
    // Whether the audio side measures the parts' levels.
    void meter(bool on) { metering_.store(on, std::memory_order_relaxed); }
    // The part's highest peak since the last call (0 = silence, 1 = full scale).
    float takeLevel(int part) {
        return levels_[static_cast<std::size_t>(part & 15)].exchange(0.0f,
                                                                     std::memory_order_relaxed);
    }
    // As of the last render.
    ModuleStatus module() const;

    // Audio thread, around each render of `synth`.
    void beforeRender(MidiSynthesizer& synth);
    void afterRender(const MidiSynthesizer& synth);

  private:
    std::atomic<std::uint16_t> silenced_{0};
    std::atomic<bool> metering_{false};
    std::array<std::atomic<float>, 16> levels_{};
    std::atomic<std::uint64_t> module_{0};
    // The audio thread's: what the synthesizer was last told.
    const MidiSynthesizer* synth_ = nullptr;
    std::uint16_t appliedSilenced_ = 0;
    bool appliedMetering_ = false;
};

} // namespace tobira
