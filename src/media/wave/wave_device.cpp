// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/wave/wave_device.h"

#include "files/regular_file.h"
#include "media/wave/wave_file.h"
#include "media/wave/wave_stream.h"
#include "ports/ports.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <sys/stat.h>
#include <utility>

namespace tobira {

namespace {

std::uint32_t FramesToMs(std::uint64_t frames) {
    return static_cast<std::uint32_t>(frames * 1000 / AudioEngine::kSampleRate);
}

// Opened without blocking and checked on the descriptor; only this is done on the UI thread.
std::shared_ptr<RegularFile> OpenSound(const std::string& path) {
    const std::filesystem::path name = PathFromCp932(path);
    try {
        return std::make_shared<RegularFile>(RegularFile::open(name, read_limit::Sound));
    } catch (const FileError& e) {
        if (e.problem() == FileProblem::TooLarge) {
            // The size only names the file in the message.
            struct stat st {};
            const std::uint64_t size =
                ::stat(name.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
            throw WaveTooLargeError(path, size,
                                    Utf8ToCp932("上限 ") +
                                        std::to_string(read_limit::Sound / read_limit::kMiB) +
                                        " MB");
        }
        throw DeviceError(Utf8ToCp932("WAVE ファイル \"") + path + "\" " + e.cause());
    } catch (const std::system_error& e) {
        throw WaveFileError(path, e.code().message());
    }
}

} // namespace

WaveDevice::WaveDevice(AudioEngine& engine, UiPostPort& uiPost)
    : engine_(engine), failed_(uiPost.makeWake([this] { notify(NotifyValue::Failure); })) {
    engine_.attach(MixerLine::WaveOut, this);
}

WaveDevice::~WaveDevice() {
    // Once attach returns, the audio thread is no longer inside renderAudio. The worker's task
    // under way ends at once.
    engine_.attach(MixerLine::WaveOut, nullptr);
    std::lock_guard lock(mutex_);
    if (stream_)
        stream_->cancel();
}

void WaveDevice::open() {
    close();
    start(OpenSound(fileName()));
}

void WaveDevice::start(const std::shared_ptr<RegularFile>& file) {
    auto stream = std::make_shared<WaveStream>(file, fileName());
    std::shared_ptr<WaveStream> old;
    {
        std::lock_guard lock(mutex_);
        old = std::exchange(stream_, stream);
        file_ = file;
        cursor_ = 0;
        ended_ = false;
        state_ = DeviceMode::Stopped;
    }
    if (old)
        old->cancel();
    worker_.post([this, stream] { decode(stream); });
}

void WaveDevice::decode(const std::shared_ptr<WaveStream>& stream) {
    std::string problem = stream->run();
    if (problem.empty())
        return;
    {
        std::lock_guard lock(mutex_);
        problems_.push_back(std::move(problem));
        if (stream_ == stream) {
            // Freed outside the lock: the task still holds the stream.
            stream_.reset();
            file_.reset();
            cursor_ = 0;
            state_ = DeviceMode::NotReady;
        }
    }
    failed_->raise();
}

void WaveDevice::close() {
    std::shared_ptr<WaveStream> old;
    std::shared_ptr<RegularFile> file;
    {
        std::lock_guard lock(mutex_);
        old = std::exchange(stream_, nullptr);
        file = std::exchange(file_, nullptr);
        cursor_ = 0;
        ended_ = false;
        state_ = DeviceMode::NotReady;
    }
    // Both are freed here or by the worker, never on the audio thread.
    if (old)
        old->cancel();
}

bool WaveDevice::isOpen() const {
    std::lock_guard lock(mutex_);
    return stream_ != nullptr;
}

std::string WaveDevice::takeProblem() {
    std::lock_guard lock(mutex_);
    if (problems_.empty())
        return {};
    std::string problem = std::move(problems_.front());
    problems_.pop_front();
    return problem;
}

void WaveDevice::settle() {
    std::shared_ptr<WaveStream> stream;
    {
        std::lock_guard lock(mutex_);
        stream = stream_;
    }
    // A stream that has finished has its task end soon; a waiting one never would.
    if (!stream || stream->settle())
        worker_.drain();
}

void WaveDevice::requireOpen() const {
    if (!stream_)
        throw DeviceError(Utf8ToCp932("WAVE デバイスが開かれていません"));
}

void WaveDevice::play() {
    engine_.wake();
    std::shared_ptr<RegularFile> again;
    {
        std::lock_guard lock(mutex_);
        requireOpen();
        if (ended_)
            again = file_;
        else
            state_ = DeviceMode::Playing;
    }
    if (!again)
        return;
    // After the end: from the start, decoded anew from the file already open.
    start(again);
    std::lock_guard lock(mutex_);
    state_ = DeviceMode::Playing;
}

void WaveDevice::stop() {
    std::lock_guard lock(mutex_);
    if (stream_)
        state_ = DeviceMode::Stopped;
}

void WaveDevice::pause() {
    std::lock_guard lock(mutex_);
    requireOpen();
    // Like a stopped wave player, one that has finished stays Stopped.
    if (state_ == DeviceMode::Playing)
        state_ = DeviceMode::Paused;
}

void WaveDevice::playFrom(std::uint32_t) {
    {
        std::lock_guard lock(mutex_);
        requireOpen();
    }
    throw DeviceError(Utf8ToCp932("WAVE デバイスは位置を指定した再生に対応していません"));
}

void WaveDevice::previous() {
    {
        std::lock_guard lock(mutex_);
        requireOpen();
    }
    throw DeviceError(Utf8ToCp932("WAVE デバイスは前の曲に対応していません"));
}

void WaveDevice::eject() {
    {
        std::lock_guard lock(mutex_);
        requireOpen();
    }
    throw DeviceError(Utf8ToCp932("WAVE デバイスはイジェクトに対応していません"));
}

DeviceMode WaveDevice::mode() const {
    std::lock_guard lock(mutex_);
    return state_;
}

int WaveDevice::tracks() const {
    std::lock_guard lock(mutex_);
    requireOpen();
    return 1;
}

std::uint32_t WaveDevice::trackLength(int) const {
    return length();
}

std::uint32_t WaveDevice::position() const {
    std::lock_guard lock(mutex_);
    requireOpen();
    return FramesToMs(cursor_);
}

std::uint32_t WaveDevice::length() const {
    std::lock_guard lock(mutex_);
    requireOpen();
    return FramesToMs(stream_->frames());
}

bool WaveDevice::sounding() const {
    std::lock_guard lock(mutex_);
    return state_ == DeviceMode::Playing;
}

void WaveDevice::renderAudio(float* out, std::size_t frames) {
    std::size_t done = 0;
    {
        std::lock_guard lock(mutex_);
        if (state_ == DeviceMode::Playing) {
            done = stream_->take(out, frames);
            cursor_ += done;
            if (done < frames && stream_->drained()) {
                state_ = DeviceMode::Stopped;
                ended_ = true;
            }
        }
    }
    std::fill(out + done * AudioEngine::kChannels, out + frames * AudioEngine::kChannels, 0.0f);
}

} // namespace tobira
