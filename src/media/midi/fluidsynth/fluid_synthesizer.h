// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FluidSynth's settings and synthesizer, owned together. The song's messages come from the MIDI
// device's own schedule (midi_stream_player.h), not from FluidSynth's SMF player, which handles
// everything due in one block at once and parses the whole file into its own lists. Rendering
// goes into the caller's buffers; no FluidSynth audio driver is ever created.

#include "files/regular_file.h"
#include "media/midi/fluidsynth/fluid_module_effects.h"
#include "media/midi/fluidsynth/fluid_part_render.h"
#include "media/midi/midi_synthesizer.h"
#include "media/midi/module_effects.h"
#include "media/midi/peak_limiter.h"
#include "media/midi/sound_module.h"

#include <fluidsynth.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <span>
#include <vector>

namespace tobira {

// Missing or not a SoundFont: DeviceError.
void CheckFluidSoundFont(const std::filesystem::path& soundFont);
// Empty when this FluidSynth reads DLS collections, else why not (code page 932).
std::string FluidDlsProblem();
// The same, giving the checked file open.
RegularFile OpenFluidSoundFont(const std::filesystem::path& soundFont);

class FluidSynthesizer final : public MidiSynthesizer {
  public:
    // Loads the SoundFont; throws DeviceError when it is missing or not a SoundFont. Sets the
    // gain at which the level probe (fluid_level_probe.h) comes out at `probeRms`.
    FluidSynthesizer(const std::filesystem::path& soundFont, double probeRms, int sampleRate);
    ~FluidSynthesizer() override;
    FluidSynthesizer(const FluidSynthesizer&) = delete;
    FluidSynthesizer& operator=(const FluidSynthesizer&) = delete;

    const std::filesystem::path& soundFont() const override { return soundFont_; }
    double gain() const override { return gain_; }

    void holdPresets(std::span<const SynthPreset> presets) override;
    void send(std::span<const std::uint8_t> message) override;
    void releaseNotes() override;
    void cutSound() override;
    void resetSound() override;
    void render(float* out, std::size_t frames) override;
    int activeVoices() const override;
    std::optional<SynthPreset> channelPreset(int channel) const override;
    void silenceParts(std::uint16_t parts) override;
    void meterParts(bool on) override { partRender_.meter(on); }
    const std::array<float, 16>& partPeaks() const override { return partRender_.peaks(); }
    ModuleStatus moduleStatus() const override;

  private:
    // One message to the part of its channel.
    void sendPart(std::span<const std::uint8_t> message);
    // To the synthesizer as it is, the module's choice aside.
    void pass(std::span<const std::uint8_t> message);
    // Carries out the effect, master and part settings the message makes.
    void applySettings(std::span<const std::uint8_t> message);
    std::uint16_t drumParts() const;
    void applyVoice(int channel);
    struct SettingsDeleter {
        void operator()(fluid_settings_t* p) const { delete_fluid_settings(p); }
    };
    struct SynthDeleter {
        void operator()(fluid_synth_t* p) const { delete_fluid_synth(p); }
    };

    std::filesystem::path soundFont_;
    double gain_ = 1.0;
    int soundFontId_ = -1;
    PeakLimiter limiter_;
    FluidPartRender partRender_;
    std::uint16_t silenced_ = 0;
    // The loader thread's alone.
    std::set<SynthPreset> held_;
    // Lives as long as the synthesizer, from song to song, as a real module's state does.
    SoundModule module_;
    ModuleEffects effects_;
    std::optional<FluidModuleEffects> moduleFx_;
    // The SoundFont as checked, read through its descriptor for as long as the synth lives.
    std::optional<RegularFile> file_;
    // Members die in reverse order: the synth before the settings.
    std::unique_ptr<fluid_settings_t, SettingsDeleter> settings_;
    std::unique_ptr<fluid_synth_t, SynthDeleter> synth_;
};

} // namespace tobira
