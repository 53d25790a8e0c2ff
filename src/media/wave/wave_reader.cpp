// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/wave/wave_reader.h"

#include "media/audio_engine.h"
#include "media/loaders/sdl_api.h"
#include "media/loaders/shared_library.h"
#include "media/wave/wave_file.h"
#include "media/wave/wave_layout.h"
#include "media/wave/wave_resampler.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tobira {

namespace {

constexpr int kRate = AudioEngine::kSampleRate;
constexpr std::size_t kPieceFrames = 4096; // read from the file at a time

SDL_AudioFormat SdlFormatOf(const WaveLayout& layout) {
    if (layout.coding == WaveLayout::Coding::Float)
        return AUDIO_F32LSB;
    switch (layout.bits) {
    case 8:
        return AUDIO_U8;
    case 16:
        return AUDIO_S16LSB;
    default:
        return AUDIO_S32LSB; // 24-bit samples are widened first, as SDL's own loader does
    }
}

class PcmReader final : public WaveReader {
  public:
    PcmReader(std::shared_ptr<RegularFile> file, const WaveLayout& layout, std::string path)
        : file_(std::move(file)), layout_(layout), path_(std::move(path)),
          resampler_(layout.rate, kRate) {
        const SdlApi* sdl = nullptr;
        try {
            sdl = &Sdl();
        } catch (const LibraryError& e) {
            throw WaveFileError(path_, e.what());
        }
        // Channels and sample format only, at the file's rate: sample by sample, so converting
        // piece by piece gives what converting the whole would. The rate is changed after.
        const int built =
            sdl->BuildAudioCVT(&cvt_, SdlFormatOf(layout_), static_cast<Uint8>(layout_.channels),
                               layout_.rate, AUDIO_F32SYS, AudioEngine::kChannels, layout_.rate);
        if (built < 0)
            throw WaveFileError(path_, sdl->GetError());
        convert_ = built > 0;
        const std::size_t wide = layout_.bits == 24 ? 4 * layout_.channels : layout_.frameBytes();
        raw_.resize(kPieceFrames * layout_.frameBytes());
        work_.resize(kPieceFrames * std::max<std::size_t>(wide * std::max(cvt_.len_mult, 1),
                                                          sizeof(float) * AudioEngine::kChannels));
    }

    std::uint64_t frames() const override {
        return WaveResampler::OutputFrames(layout_.frames(), layout_.rate, kRate);
    }

    std::size_t read(float* out, std::size_t count) override {
        std::size_t made = 0;
        while (made < count) {
            made += resampler_.pull(out + AudioEngine::kChannels * made, count - made);
            if (made == count || resampler_.done())
                break;
            feed();
        }
        return made;
    }

  private:
    void feed() {
        const std::uint64_t left = layout_.frames() - framesRead_;
        if (left == 0) {
            resampler_.finish();
            return;
        }
        const auto frames = static_cast<std::size_t>(std::min<std::uint64_t>(left, kPieceFrames));
        const std::size_t bytes = frames * layout_.frameBytes();
        const std::uint64_t at = layout_.dataOffset + framesRead_ * layout_.frameBytes();
        if (ReadWaveBytes(file_->fd(), at, raw_.data(), bytes, path_) < bytes)
            throw WaveFileError(path_, "the file was cut short while it played");
        framesRead_ += frames;

        std::size_t length = bytes;
        if (layout_.bits == 24) {
            // Widened into the work buffer, high bytes first in place of the missing low one.
            const std::size_t samples = frames * static_cast<std::size_t>(layout_.channels);
            for (std::size_t i = 0; i < samples; ++i) {
                work_[4 * i] = 0;
                std::copy_n(raw_.begin() + static_cast<std::ptrdiff_t>(3 * i), 3,
                            work_.begin() + static_cast<std::ptrdiff_t>(4 * i + 1));
            }
            length = 4 * samples;
        } else {
            std::copy_n(raw_.begin(), bytes, work_.begin());
        }
        if (convert_) {
            cvt_.buf = work_.data();
            cvt_.len = static_cast<int>(length);
            if (Sdl().ConvertAudio(&cvt_) < 0)
                throw WaveFileError(path_, Sdl().GetError());
        }
        auto* samples = reinterpret_cast<float*>(work_.data());
        MakePlayable({samples, frames * AudioEngine::kChannels});
        resampler_.push(samples, frames);
    }

    std::shared_ptr<RegularFile> file_;
    WaveLayout layout_;
    std::string path_;
    WaveResampler resampler_;
    SDL_AudioCVT cvt_{};
    bool convert_ = false;
    std::uint64_t framesRead_ = 0;
    std::vector<Uint8> raw_;
    std::vector<Uint8> work_; // widened and converted in place; float-aligned by vector
};

class DecodedReader final : public WaveReader {
  public:
    explicit DecodedReader(std::vector<float> sound) : sound_(std::move(sound)) {}
    std::uint64_t frames() const override { return sound_.size() / AudioEngine::kChannels; }
    std::size_t read(float* out, std::size_t count) override {
        const std::size_t n = std::min<std::size_t>(count, frames() - at_);
        const float* from = sound_.data() + at_ * AudioEngine::kChannels;
        std::copy(from, from + n * AudioEngine::kChannels, out);
        at_ += n;
        return n;
    }

  private:
    std::vector<float> sound_;
    std::size_t at_ = 0;
};

} // namespace

std::unique_ptr<WaveReader> OpenWaveReader(std::shared_ptr<RegularFile> file,
                                           const std::string& cp932Path) {
    const WaveLayout layout = ReadWaveLayout(file->fd(), file->size(), cp932Path);
    if (layout.coding != WaveLayout::Coding::Other)
        return std::make_unique<PcmReader>(std::move(file), layout, cp932Path);

    // At least four bits a sample (ADPCM): the longest the data can be once decoded.
    const std::uint64_t bits = static_cast<std::uint64_t>(std::max(4, layout.bits));
    const std::uint64_t channels = static_cast<std::uint64_t>(std::max(1, layout.channels));
    const int rate = std::max(1, layout.rate);
    const std::uint64_t samples = layout.dataBytes * 8 / (bits * channels);
    if (WaveResampler::OutputFrames(samples, rate, kRate) >
        static_cast<std::uint64_t>(WaveReader::kCompressedSeconds) * kRate)
        throw WaveTooLargeError(cp932Path, file->size(),
                                Utf8ToCp932("この形式は ") +
                                    std::to_string(WaveReader::kCompressedSeconds / 60) +
                                    Utf8ToCp932(" 分まで"));
    std::string bytes;
    try {
        bytes = file->readAll();
    } catch (const FileError& e) {
        throw DeviceError(Utf8ToCp932("WAVE ファイル \"") + cp932Path + "\" " + e.cause());
    }
    return std::make_unique<DecodedReader>(LoadWaveBytes(bytes, cp932Path));
}

} // namespace tobira
