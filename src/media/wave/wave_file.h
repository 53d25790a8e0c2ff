#pragma once
// Reading a WAV file into the form the audio engine plays: interleaved float stereo at the
// engine's rate.

#include <string>
#include <string_view>
#include <vector>

namespace tobira {

// Reads and converts any WAV file SDL can read (PCM 8/16/24/32-bit, float, IMA/MS ADPCM,
// a-law, mu-law; any rate; one or more channels), keeping its exact length. `path` is a code
// page 932 path. Throws DeviceError naming the file and the reason. Reads the disk: UI thread.
std::vector<float> LoadWaveFile(const std::string& path);

// The same on the file's bytes already read; `path` only names the file in the message. Chunk
// sizes are checked against `fileBytes` first (WaveSizeFault), so a forged size allocates nothing.
std::vector<float> LoadWaveBytes(std::string_view fileBytes, const std::string& path);

} // namespace tobira
