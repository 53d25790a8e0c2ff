// The wave loader: a file is refused or gives whole stereo frames of finite samples, and a
// file whose sizes do not fit is always refused before the decoder sees it. The run's memory
// limit catches any allocation driven by a size the file does not back.
#include "fuzz_support.h"
#include "media/media_device.h"
#include "media/wave/wave_check.h"
#include "media/wave/wave_file.h"

#include <vector>
#include <cmath>

using namespace tobira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    const bool sizesFit = !WaveSizeFault(bytes).has_value();
    std::vector<float> samples;
    try {
        samples = LoadWaveBytes(bytes, "FUZZ.WAV");
    } catch (const DeviceError& e) {
        FUZZ_CHECK(std::string_view(e.what()).find("FUZZ.WAV") != std::string_view::npos);
        return 0;
    }
    FUZZ_CHECK(sizesFit);
    FUZZ_CHECK(samples.size() % 2 == 0);
    for (float s : samples)
        FUZZ_CHECK(std::isfinite(s));
    return 0;
}
