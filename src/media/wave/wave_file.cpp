// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/wave/wave_file.h"

#include "media/audio_engine.h"
#include "media/media_device.h"
#include "media/loaders/sdl_api.h"
#include "media/loaders/shared_library.h"
#include "media/wave/wave_check.h"
#include "files/whole_file.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>
#include <system_error>

namespace tobira {

namespace {

struct WavFree {
    void operator()(Uint8* p) const { Sdl().FreeWAV(p); }
};

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
    throw WaveFileError(path, reason);
}

} // namespace

DeviceError WaveFileError(const std::string& cp932Path, const std::string& reason) {
    return DeviceError(Utf8ToCp932("WAVE ファイル \"") + cp932Path +
                       Utf8ToCp932("\" を開けません: ") + reason);
}

DeviceError WaveTooLargeError(const std::string& cp932Path, std::uint64_t bytes,
                              const std::string& limit) {
    // Whole megabytes, but never "0 MB" for a file that is too large.
    const std::uint64_t megabytes = std::max<std::uint64_t>(1, (bytes + (1 << 19)) >> 20);
    return DeviceError(Utf8ToCp932("WAVE ファイル \"") + cp932Path +
                       Utf8ToCp932("\" は大きすぎて使えません（") + std::to_string(megabytes) +
                       " MB" + Utf8ToCp932("、") + limit + Utf8ToCp932("）"));
}

std::vector<float> LoadWaveFile(const std::string& path) {
    std::optional<std::string> bytes;
    try {
        bytes = ReadWholeFile(PathFromCp932(path), read_limit::Sound);
    } catch (const FileError& e) {
        throw DeviceError(Utf8ToCp932("WAVE ファイル \"") + path + "\" " + e.cause());
    } catch (const std::system_error& e) {
        Fail(path, e.code().message());
    }
    if (!bytes)
        Fail(path, std::generic_category().message(ENOENT));
    return LoadWaveBytes(*bytes, path);
}

std::vector<float> LoadWaveBytes(std::string_view fileBytes, const std::string& path) {
    if (auto fault = WaveSizeFault(fileBytes))
        Fail(path, *fault);
    if (fileBytes.size() > static_cast<std::size_t>(INT_MAX))
        Fail(path, "too large");
    const SdlApi* sdl = nullptr;
    try {
        sdl = &Sdl();
    } catch (const LibraryError& e) {
        Fail(path, e.what());
    }
    SDL_RWops* file = sdl->RWFromConstMem(fileBytes.data(), static_cast<int>(fileBytes.size()));
    if (!file)
        Fail(path, sdl->GetError());

    SDL_AudioSpec spec{};
    Uint8* raw = nullptr;
    Uint32 rawLength = 0;
    // freesrc = 1: SDL closes the file also when it fails.
    if (!sdl->LoadWAV_RW(file, 1, &spec, &raw, &rawLength))
        Fail(path, sdl->GetError());
    const std::unique_ptr<Uint8, WavFree> data(raw);

    SDL_AudioCVT cvt;
    // SDL_AudioStream would drop the last ~1024 frames of a short sound; the CVT keeps them.
    if (sdl->BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_F32SYS,
                           AudioEngine::kChannels, AudioEngine::kSampleRate) < 0)
        Fail(path, sdl->GetError());

    // Whole frames only: a truncated last frame would shift the channels.
    const Uint32 frameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
    const Uint32 usable = frameBytes ? rawLength - rawLength % frameBytes : 0;
    if (usable == 0)
        return {};

    if (usable > static_cast<Uint32>(INT_MAX / cvt.len_mult))
        Fail(path, "too large");
    cvt.len = static_cast<int>(usable);
    // The CVT works in place and may grow the data len_mult times on the way; the float
    // buffer leaves room for that (and is rounded up to whole floats).
    const std::size_t work = static_cast<std::size_t>(usable) * cvt.len_mult;
    std::vector<float> samples((work + sizeof(float) - 1) / sizeof(float) + 1);
    auto* bytes = reinterpret_cast<Uint8*>(samples.data());
    std::memcpy(bytes, data.get(), usable);
    cvt.buf = bytes;
    if (cvt.needed && sdl->ConvertAudio(&cvt) < 0)
        Fail(path, sdl->GetError());
    const std::size_t outBytes = cvt.needed ? static_cast<std::size_t>(cvt.len_cvt) : usable;
    const std::size_t outFrames = outBytes / (sizeof(float) * AudioEngine::kChannels);
    samples.resize(outFrames * AudioEngine::kChannels);
    MakePlayable(samples);
    // Not shrunk to fit: that would copy the whole sound and double the peak, to give back
    // little more than the CVT's rounding.
    return samples;
}

void MakePlayable(std::span<float> samples) {
    for (float& s : samples)
        s = std::isfinite(s) ? std::clamp(s, -1.0f, 1.0f) : 0.0f;
}

} // namespace tobira
