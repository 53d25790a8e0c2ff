// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/channel_instruments.h"

namespace tobira {

std::vector<InstrumentChange> ListChannelInstruments(SoundModule& module,
                                                     const std::vector<SmfEvent>& events) {
    std::vector<InstrumentChange> changes;
    for (const SmfEvent& event : events) {
        const SoundModule::Outcome outcome = module.feed(event.bytes);
        const auto note = [&](int channel) {
            changes.push_back({event.tick, channel, module.mode(), module.voice(channel)});
        };
        const bool programChange = (event.bytes[0] & 0xF0) == 0xC0;
        if (outcome.action == SoundModule::Action::Reset) {
            for (int channel = 0; channel < SoundModule::kChannels; ++channel)
                note(channel);
        } else if (outcome.action == SoundModule::Action::Select || programChange) {
            note(outcome.channel);
        }
    }
    return changes;
}

} // namespace tobira
