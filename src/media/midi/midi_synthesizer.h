// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The software synthesizer the MIDI device plays through, behind an interface so that the device
// needs no synthesizer library of its own. Not thread-safe, with two exceptions: holdPresets may
// run on a loader thread, and channelPreset on any thread, while the audio thread sends and
// renders.

#include "media/media_device.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>

namespace tobira {

// A bank and program the way the synthesizer numbers them: drum kits are bank 128.
struct SynthPreset {
    int bank = 0;
    int program = 0;
    friend auto operator<=>(const SynthPreset&, const SynthPreset&) = default;
};

enum class ModuleMode;

// What a part display shows of the module as a whole.
struct ModuleStatus {
    ModuleMode mode{};
    int masterVolume = 16383; // 0..16383
    int reverbType = 0;       // index into ReverbTypes()
    int chorusType = 0;       // index into ChorusTypes()
    friend bool operator==(const ModuleStatus&, const ModuleStatus&) = default;
};

class MidiSynthesizer {
  public:
    virtual ~MidiSynthesizer() = default;

    virtual const std::filesystem::path& soundFont() const = 0;
    virtual double gain() const = 0;

    // Loads the instruments `presets` name (and the defaults a reset selects, and whatever the
    // channels hold now) and keeps them loaded until the next call; lets the others go. Slow:
    // call it off the UI thread, before the song that needs them starts.
    virtual void holdPresets(std::span<const SynthPreset> presets) = 0;

    // One whole message, as a sound module receives it (a channel message from its status
    // byte, a system exclusive one from F0 to F7), to act at once. Real-time safe.
    virtual void send(std::span<const std::uint8_t> message) = 0;

    // Releases every sounding note, pedals too, so that nothing hangs; the release phase rings.
    virtual void releaseNotes() = 0;
    // Ends every voice at once, release and reverb included.
    virtual void cutSound() = 0;
    // Ends every voice and sets every channel and effect as the module's reset for its mode
    // would (power-on state before any mode was chosen). Real-time safe.
    virtual void resetSound() = 0;

    // Interleaved stereo. Real-time safe.
    virtual void render(float* out, std::size_t frames) = 0;
    virtual int activeVoices() const = 0;
    // The instrument the channel (0..15) plays now; none when the SoundFont lacks it.
    virtual std::optional<SynthPreset> channelPreset(int channel) const = 0;

    // The parts (a bit per MIDI channel) not to be heard: their voices end at once and their
    // notes start no voice until they are heard again, whatever the song sends. Real-time safe.
    virtual void silenceParts(std::uint16_t parts) = 0;
    // Whether render() measures each part's level (at some cost); off at first.
    virtual void meterParts(bool on) = 0;
    // The peak of each part's own sound (effects aside) in the last render; zeros when not
    // metering.
    virtual const std::array<float, 16>& partPeaks() const = 0;
    virtual ModuleStatus moduleStatus() const = 0;
};

} // namespace tobira

namespace tobira {

// The SoundFont is missing or cannot be loaded: "サウンドフォント【…】を読めません" and why. Kept
// apart from the song's own faults, so that the user is told which file to replace.
class SoundFontError : public DeviceError {
  public:
    using DeviceError::DeviceError;
};

// Both go through the synthesizer module (synth_module.h).
// Quick checks before a load: the file is there and is a SoundFont. SoundFontError otherwise,
// DeviceError when the module cannot be loaded.
void CheckSoundFontFile(const std::filesystem::path& soundFont);

// Loads the SoundFont into a new synthesizer whose gain brings the level probe
// (fluid_level_probe.h) to `probeRms`. Slow; SoundFontError when the SoundFont cannot be used.
std::unique_ptr<MidiSynthesizer> MakeMidiSynthesizer(const std::filesystem::path& soundFont,
                                                     double probeRms, int sampleRate);

} // namespace tobira
