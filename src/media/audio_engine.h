#pragma once
// The program's one sound output: a software mixer with a master line (the speakers
// destination) and one source line per device. The SDL2 output callback calls render() in real
// use; tests call it directly, so a whole disc or song plays in milliseconds.

#include "media/audio_source.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tobira {

enum class MixerLine : int {
    Speakers = 0,     // destination, component type 4
    WaveOut = 1,      // source, component type 0x1008
    Synthesizer = 2,  // source, component type 0x1004
    CompactDisc = 3,  // source, component type 0x1005
};

class AudioEngine final {
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;

    AudioEngine();
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // Connects a device's sound to a source line; nullptr disconnects it. UI thread; safe while
    // the audio thread renders.
    void attach(MixerLine line, AudioSource* source);

    // Produces the next `frames` stereo frames, mixed, scaled by the line volumes and mutes and
    // clamped to -1..1.
    void render(float* out, std::size_t frames);
    std::vector<float> render(std::size_t frames);
};

}  // namespace tobira
