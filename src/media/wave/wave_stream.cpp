// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/wave/wave_stream.h"

#include "media/audio_engine.h"
#include "media/wave/wave_reader.h"
#include "text/cp932_convert.h"

#include <exception>
#include <new>
#include <utility>
#include <vector>

namespace tobira {

namespace {
constexpr std::size_t kPieceFrames = 8192; // written to the ring at a time
} // namespace

WaveStream::WaveStream(std::shared_ptr<RegularFile> file, std::string cp932Path)
    : file_(std::move(file)), path_(std::move(cp932Path)), ring_(kRingFrames) {}

void WaveStream::progressed() {
    progress_.fetch_add(1);
    progress_.notify_all();
}

std::string WaveStream::run() {
    std::string problem;
    try {
        const std::unique_ptr<WaveReader> reader = OpenWaveReader(file_, path_);
        frames_.store(reader->frames(), std::memory_order_release);
        std::vector<float> piece(kPieceFrames * AudioEngine::kChannels);
        while (!cancelled_.load()) {
            if (ring_.room() >= kPieceFrames) {
                const std::size_t n = reader->read(piece.data(), kPieceFrames);
                if (n == 0) {
                    written_.store(true);
                    break;
                }
                ring_.write(piece.data(), n);
                progressed();
                continue;
            }
            // Taking the flag back also makes what the audio thread took visible here.
            asked_.exchange(false);
            const std::uint32_t seen = wake_.load();
            if (ring_.room() >= ring_.capacity() / 2 || cancelled_.load())
                continue;
            sleptAt_.store(seen);
            sleeping_.store(true);
            progressed();
            wake_.wait(seen);
            sleeping_.store(false);
        }
    } catch (const std::bad_alloc&) {
        problem = Utf8ToCp932("WAVE ファイル \"") + path_ + Utf8ToCp932("\" を開けません: ") +
                  "out of memory";
    } catch (const std::exception& e) {
        problem = e.what();
    }
    if (!written_.load())
        stopped_.store(true);
    progressed();
    return problem;
}

void WaveStream::cancel() {
    cancelled_.store(true);
    wake_.fetch_add(1);
    wake_.notify_one();
}

std::size_t WaveStream::take(float* out, std::size_t count) {
    const std::size_t n = ring_.read(out, count);
    // Once per refill, and only when there is room for a good part of the ring: the worker
    // wakes a few times a minute, not at every block.
    if (ring_.room() >= ring_.capacity() / 2 && !asked_.exchange(true)) {
        wake_.fetch_add(1);
        wake_.notify_one();
    }
    return n;
}

bool WaveStream::drained() const {
    return written_.load() && ring_.held() == 0;
}

bool WaveStream::finished() const {
    return written_.load() || stopped_.load();
}

bool WaveStream::settle() const {
    for (;;) {
        const std::uint32_t seen = progress_.load();
        if (finished())
            return true;
        if (sleeping_.load() && wake_.load() == sleptAt_.load())
            return false;
        progress_.wait(seen);
    }
}

} // namespace tobira
