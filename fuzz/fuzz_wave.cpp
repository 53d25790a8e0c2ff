// SPDX-License-Identifier: GPL-3.0-or-later
// The wave readers: a file is refused or gives whole stereo frames of finite samples, and a file
// whose sizes do not fit is always refused before a decoder sees it. The whole-file loader works
// on the bytes; the streaming reader the wave device plays through reads the same bytes as an
// open file and gives exactly the length it announced. The run's memory limit catches any
// allocation driven by a size the file does not back.
#include "fuzz_support.h"
#include "files/regular_file.h"
#include "media/media_device.h"
#include "media/wave/wave_check.h"
#include "media/wave/wave_file.h"
#include "media/wave/wave_reader.h"

#include <cmath>
#include <memory>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

using namespace tobira;

namespace {

void Stream(std::string_view bytes, bool sizesFit) {
    const int fd = ::memfd_create("FUZZ.WAV", MFD_CLOEXEC);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    auto file = std::make_shared<RegularFile>(
        RegularFile::open("/proc/self/fd/" + std::to_string(fd), read_limit::Sound));
    ::close(fd);
    std::unique_ptr<WaveReader> reader;
    try {
        reader = OpenWaveReader(file, "FUZZ.WAV");
        FUZZ_CHECK(sizesFit);
        std::vector<float> piece(2 * 4096);
        std::uint64_t frames = 0;
        while (const std::size_t n = reader->read(piece.data(), 4096)) {
            for (std::size_t i = 0; i < 2 * n; ++i)
                FUZZ_CHECK(std::isfinite(piece[i]));
            frames += n;
        }
        FUZZ_CHECK(frames == reader->frames());
    } catch (const DeviceError& e) {
        FUZZ_CHECK(std::string_view(e.what()).find("FUZZ.WAV") != std::string_view::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    const bool sizesFit = !WaveSizeFault(bytes).has_value();
    Stream(bytes, sizesFit);
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
