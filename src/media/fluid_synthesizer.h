#pragma once
// FluidSynth's settings, synthesizer and SMF player, owned together. Rendering goes into the
// caller's buffers; no FluidSynth audio driver is ever created. Not thread-safe: the MIDI device
// serialises every call with its own lock.

#include <fluidsynth.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace tobira {

class FluidSynthesizer final {
  public:
    // Loads the SoundFont; throws DeviceError when it is missing or not a SoundFont. Sets the
    // gain at which the level probe (fluid_level_probe.h) comes out at `probeRms`.
    FluidSynthesizer(const std::filesystem::path& soundFont, double probeRms, int sampleRate);
    ~FluidSynthesizer();
    FluidSynthesizer(const FluidSynthesizer&) = delete;
    FluidSynthesizer& operator=(const FluidSynthesizer&) = delete;

    const std::filesystem::path& soundFont() const { return soundFont_; }
    double gain() const { return gain_; }

    // The SMF to play from now on (a copy is kept); drops the player of the previous one.
    void setSong(std::span<const std::uint8_t> smf);
    void dropSong();

    // Starts a new player on the song at `tick`.
    void startAt(std::uint64_t tick);
    // Stops the player where it is; resume() continues from there.
    void pause();
    void resume();

    // Releases every sounding note, pedals too, so that nothing hangs; the release phase rings.
    void releaseNotes();

    // Interleaved stereo.
    void render(float* out, std::size_t frames);
    int activeVoices() const;

  private:
    struct SettingsDeleter {
        void operator()(fluid_settings_t* p) const { delete_fluid_settings(p); }
    };
    struct SynthDeleter {
        void operator()(fluid_synth_t* p) const { delete_fluid_synth(p); }
    };
    struct PlayerDeleter {
        void operator()(fluid_player_t* p) const { delete_fluid_player(p); }
    };

    std::filesystem::path soundFont_;
    double gain_ = 1.0;
    std::vector<std::uint8_t> song_;
    // Members die in reverse order: the player before the synth before the settings.
    std::unique_ptr<fluid_settings_t, SettingsDeleter> settings_;
    std::unique_ptr<fluid_synth_t, SynthDeleter> synth_;
    std::unique_ptr<fluid_player_t, PlayerDeleter> player_;
};

} // namespace tobira
