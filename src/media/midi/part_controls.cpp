// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/part_controls.h"

#include "media/midi/sound_module.h"

namespace tobira {
namespace {

// Mode, master volume and the two types fit one word, which the UI reads whole.
std::uint64_t Pack(const ModuleStatus& s) {
    return static_cast<std::uint64_t>(s.mode) << 48 |
           static_cast<std::uint64_t>(s.masterVolume & 0xFFFF) << 32 |
           static_cast<std::uint64_t>(s.reverbType & 0xFFFF) << 16 |
           static_cast<std::uint64_t>(s.chorusType & 0xFFFF);
}

} // namespace

ModuleStatus PartControls::module() const {
    const std::uint64_t v = module_.load(std::memory_order_relaxed);
    if (v == 0)
        return {};
    return {static_cast<ModuleMode>(v >> 48 & 0x7FFF), static_cast<int>(v >> 32 & 0xFFFF),
            static_cast<int>(v >> 16 & 0xFFFF), static_cast<int>(v & 0xFFFF)};
}

void PartControls::beforeRender(MidiSynthesizer& synth) {
    const std::uint16_t silenced = silenced_.load(std::memory_order_relaxed);
    const bool metering = metering_.load(std::memory_order_relaxed);
    // A new synthesizer knows nothing of what the last one was told.
    if (synth_ != &synth || silenced != appliedSilenced_)
        synth.silenceParts(silenced);
    if (synth_ != &synth || metering != appliedMetering_)
        synth.meterParts(metering);
    synth_ = &synth;
    appliedSilenced_ = silenced;
    appliedMetering_ = metering;
}

void PartControls::afterRender(const MidiSynthesizer& synth) {
    module_.store(Pack(synth.moduleStatus()) | std::uint64_t{1} << 63, std::memory_order_relaxed);
    if (!appliedMetering_)
        return;
    const std::array<float, 16>& peaks = synth.partPeaks();
    for (std::size_t c = 0; c < peaks.size(); ++c) {
        float held = levels_[c].load(std::memory_order_relaxed);
        while (peaks[c] > held &&
               !levels_[c].compare_exchange_weak(held, peaks[c], std::memory_order_relaxed)) {
        }
    }
}

} // namespace tobira
