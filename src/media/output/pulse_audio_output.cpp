// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/output/pulse_audio_output.h"

#include "media/audio_engine.h"
#include "media/output/pulse_api.h"
#include "media/loaders/shared_library.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace tobira {

namespace {

constexpr std::size_t kFrameBytes = sizeof(float) * AudioEngine::kChannels;
constexpr pa_usec_t kOpenDeadlineUs = 2'000'000;
// How often the output looks again while a source waits for its first sound (a drive's first
// read): about a sector's worth of time.
constexpr pa_usec_t kRetryUs = 5'000;
// Handed to the server at a time while filling, and what it waits for before it plays.
constexpr std::size_t kWriteFrames = 4 * AudioOutput::kStepFrames;

std::uint32_t BytesForMs(int ms) {
    return static_cast<std::uint32_t>(std::size_t{AudioEngine::kSampleRate} *
                                      static_cast<std::size_t>(ms) / 1000 * kFrameBytes);
}

} // namespace

struct PulseAudioOutput::Callbacks {
    static void contextState(pa_context*, void* self) {
        static_cast<PulseAudioOutput*>(self)->stateChanged();
    }
    static void streamState(pa_stream*, void* self) {
        static_cast<PulseAudioOutput*>(self)->stateChanged();
    }
    static void writable(pa_stream*, std::size_t, void* self) {
        static_cast<PulseAudioOutput*>(self)->fill();
    }
    static void requests(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self) {
        std::uint64_t count;
        while (::read(fd, &count, sizeof count) > 0) {
        }
        static_cast<PulseAudioOutput*>(self)->serve();
    }
    static void retry(pa_mainloop_api* api, pa_time_event* event, const struct timeval*,
                      void* self) {
        auto* output = static_cast<PulseAudioOutput*>(self);
        api->time_free(event);
        output->retry_ = nullptr;
        output->fill();
    }
    static void deadline(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self) {
        auto* output = static_cast<PulseAudioOutput*>(self);
        output->timedOut_ = true;
        output->pa_->mainloopSignal(output->loop_, 0);
    }
};

PulseAudioOutput::PulseAudioOutput(AudioEngine& engine) : PulseAudioOutput(engine, &Pulse) {}

PulseAudioOutput::PulseAudioOutput(AudioEngine& engine, std::function<const PulseApi&()> library)
    : engine_(engine), library_(std::move(library)) {}

PulseAudioOutput::~PulseAudioOutput() {
    close();
}

std::string PulseAudioOutput::serverReason() const {
    if (timedOut_)
        return "the sound server did not answer";
    return pa_->strerror(pa_->contextErrno(context_));
}

template <typename Done> bool PulseAudioOutput::awaitServer(Done done) {
    while (!done()) {
        const auto context = pa_->contextState(context_);
        const bool streamFailed = stream_ && !PA_STREAM_IS_GOOD(pa_->streamState(stream_));
        if (timedOut_ || !PA_CONTEXT_IS_GOOD(context) || streamFailed)
            return false;
        pa_->mainloopWait(loop_);
    }
    return true;
}

std::string PulseAudioOutput::open() {
    try {
        pa_ = &library_();
    } catch (const LibraryError& e) {
        return e.what();
    }
    requestsFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    loop_ = pa_->mainloopNew();
    if (requestsFd_ < 0 || !loop_) {
        close();
        return "out of resources";
    }
    // The name under which tools and benchmarks find the thread that renders.
    pa_->mainloopSetName(loop_, "tobira-audio");
    pa_mainloop_api* api = pa_->mainloopApi(loop_);
    context_ = pa_->contextNew(api, "TOBIRA");
    pa_->contextSetStateCallback(context_, &Callbacks::contextState, this);
    // Never start a server of our own: a desktop without one gets another output.
    if (pa_->contextConnect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        std::string reason = serverReason();
        close();
        return reason;
    }
    pa_->mainloopLock(loop_);
    std::string reason;
    if (pa_->mainloopStart(loop_) < 0) {
        reason = "cannot start its thread";
    } else {
        deadline_ = pa_->contextRttimeNew(context_, pa_->rtclockNow() + kOpenDeadlineUs,
                                          &Callbacks::deadline, this);
        if (!awaitServer([&] { return pa_->contextState(context_) == PA_CONTEXT_READY; })) {
            reason = serverReason();
        } else {
            const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, AudioEngine::kSampleRate,
                                      AudioEngine::kChannels};
            stream_ = pa_->streamNew(context_, "TOBIRA", &spec, nullptr);
            pa_->streamSetStateCallback(stream_, &Callbacks::streamState, this);
            pa_->streamSetWriteCallback(stream_, &Callbacks::writable, this);
            pa_buffer_attr attr{};
            attr.maxlength = static_cast<std::uint32_t>(-1);
            attr.tlength = BytesForMs(kBufferMs);
            attr.prebuf = static_cast<std::uint32_t>(kWriteFrames * kFrameBytes);
            attr.minreq = BytesForMs(kRequestMs);
            attr.fragsize = static_cast<std::uint32_t>(-1);
            // No timing updates: each would wake the thread, and nothing here needs them.
            const auto flags =
                static_cast<pa_stream_flags_t>(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY);
            if (pa_->streamConnectPlayback(stream_, nullptr, &attr, flags, nullptr, nullptr) < 0 ||
                !awaitServer([&] { return pa_->streamState(stream_) == PA_STREAM_READY; }))
                reason = serverReason();
        }
        if (deadline_) {
            api->time_free(deadline_);
            deadline_ = nullptr;
        }
    }
    if (reason.empty()) {
        const pa_buffer_attr* held = pa_->streamBufferAttr(stream_);
        const std::size_t buffer = std::max<std::size_t>(held ? held->tlength / kFrameBytes : 0,
                                                         BytesForMs(kBufferMs) / kFrameBytes);
        // Whatever the server may still hold can be mixed again; and a rest starts only once all
        // it holds is silence.
        bufferFrames_ = buffer;
        history_.reset(2 * buffer, kStepFrames);
        idleFrames_ = buffer + AudioEngine::kSampleRate / 2;
        mixed_.assign((2 * buffer + 3 * kStepFrames) * AudioEngine::kChannels, 0.0f);
        carry_.assign(kStepFrames * AudioEngine::kChannels, 0.0f);
        requestsEvent_ =
            api->io_new(api, requestsFd_, PA_IO_EVENT_INPUT, &Callbacks::requests, this);
        seen_ = requests_.take();
    }
    pa_->mainloopUnlock(loop_);
    if (!reason.empty())
        close();
    return reason;
}

void PulseAudioOutput::poke() {
    const std::uint64_t one = 1;
    if (requestsFd_ >= 0) [[maybe_unused]]
        auto written = ::write(requestsFd_, &one, sizeof one);
}

void PulseAudioOutput::play() {
    requests_.play();
    poke();
}

void PulseAudioOutput::pause() {
    requests_.pause();
    poke();
}

void PulseAudioOutput::flush() {
    requests_.flush();
    poke();
}

void PulseAudioOutput::volumeChanged() {
    requests_.volumeChanged();
    poke();
}

std::chrono::microseconds PulseAudioOutput::delay() const {
    // The server keeps its buffer full while playing.
    return std::chrono::microseconds(static_cast<std::int64_t>(bufferFrames_) * 1'000'000 /
                                     AudioEngine::kSampleRate);
}

void PulseAudioOutput::close() {
    if (!pa_)
        return;
    closing_ = true;
    requests_.quit();
    if (loop_) {
        // Takes the loop's lock: waits for a render step at most, since fill() stops at the
        // quit request.
        pa_->mainloopStop(loop_);
        pa_mainloop_api* api = pa_->mainloopApi(loop_);
        if (requestsEvent_)
            api->io_free(requestsEvent_);
        requestsEvent_ = nullptr;
        if (retry_)
            api->time_free(retry_);
        retry_ = nullptr;
    }
    if (stream_) {
        pa_->streamSetStateCallback(stream_, nullptr, nullptr);
        pa_->streamSetWriteCallback(stream_, nullptr, nullptr);
        pa_->streamDisconnect(stream_);
        pa_->streamUnref(stream_);
        stream_ = nullptr;
    }
    if (context_) {
        pa_->contextSetStateCallback(context_, nullptr, nullptr);
        pa_->contextDisconnect(context_);
        pa_->contextUnref(context_);
        context_ = nullptr;
    }
    if (loop_) {
        pa_->mainloopFree(loop_);
        loop_ = nullptr;
    }
    if (requestsFd_ >= 0)
        ::close(requestsFd_);
    requestsFd_ = -1;
    pa_ = nullptr;
}

void PulseAudioOutput::stateChanged() {
    pa_->mainloopSignal(loop_, 0);
    if (closing_ || dead_ || !requestsEvent_)
        return; // opening: open() reads the state itself
    const bool contextGood = PA_CONTEXT_IS_GOOD(pa_->contextState(context_));
    const bool streamGood = stream_ && PA_STREAM_IS_GOOD(pa_->streamState(stream_));
    if (contextGood && streamGood)
        return;
    dead_ = true;
    fail(contextGood ? "the sound server closed the stream" : serverReason());
}

void PulseAudioOutput::cork(bool on) {
    if (corked_ == on)
        return;
    corked_ = on;
    if (pa_operation* op = pa_->streamCork(stream_, on ? 1 : 0, nullptr, nullptr))
        pa_->operationUnref(op);
}

void PulseAudioOutput::serve() {
    if (dead_ || closing_)
        return;
    const OutputRequests::Snapshot now = requests_.take();
    bool flushed = false;
    if (now.flushes != seen_.flushes) {
        if (pa_operation* op = pa_->streamFlush(stream_, nullptr, nullptr))
            pa_->operationUnref(op);
        history_.clear();
        carried_ = 0;
        flushed = true;
        starting_ = true;
    }
    if (now.wakes != seen_.wakes) {
        silentFrames_ = 0;
        if (idle_) {
            idle_ = false;
            // What the rest left in the server is silence: the new sound goes first.
            if (!flushed) {
                if (pa_operation* op = pa_->streamFlush(stream_, nullptr, nullptr))
                    pa_->operationUnref(op);
                history_.clear();
                carried_ = 0;
                starting_ = true;
            }
        }
    }
    cork(!now.playing || idle_);
    if (now.volumes != seen_.volumes)
        rewrite();
    seen_ = now;
    fill();
}

void PulseAudioOutput::fill() {
    if (dead_ || closing_ || corked_ || requests_.pending(seen_))
        return;
    const std::size_t bytes = pa_->streamWritableSize(stream_);
    if (bytes == static_cast<std::size_t>(-1) || bytes < kFrameBytes)
        return;
    constexpr std::size_t step = kStepFrames;
    constexpr std::size_t channels = AudioEngine::kChannels;
    // Exactly what the server asks for: more would make it ask more often.
    const std::size_t wanted = std::min(bytes / kFrameBytes, mixed_.size() / channels - 2 * step);
    // First what the last step rendered beyond the last request.
    std::size_t done = std::min(carried_, wanted);
    std::copy_n(carry_.begin(), done * channels, mixed_.begin());
    std::copy(carry_.begin() + static_cast<std::ptrdiff_t>(done * channels),
              carry_.begin() + static_cast<std::ptrdiff_t>(carried_ * channels), carry_.begin());
    carried_ -= done;
    std::size_t written = 0;
    bool rest = false;
    const auto write = [&](std::size_t upTo) {
        pa_->streamWrite(stream_, mixed_.data() + written * channels,
                         (upTo - written) * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE);
        written = upTo;
    };
    // Step by step, so that a request that comes meanwhile acts before the rest is rendered.
    // Handed on in one piece (each piece costs a wake-up when the server gives its memory
    // back), but a few steps at a time while the stream waits for its first sound.
    while (done < wanted && !requests_.pending(seen_)) {
        const LineBuffers lines = history_.next();
        engine_.renderLines(lines, step);
        if (starting_ && written == 0 && done == 0 && engine_.waiting()) {
            // The source plays but its sound is not there yet: queueing this silence would put
            // it ahead of the sound. The step took no time from the source and is dropped.
            retryLater();
            break;
        }
        ConstLineBuffers mixLines{};
        for (int line = 1; line < kMixerLineCount; ++line)
            mixLines[line] = lines[line];
        engine_.mixLines(mixLines, mixed_.data() + done * channels, step);
        history_.commit();
        done += step;
        silentFrames_ = engine_.sounding() ? 0 : silentFrames_ + step;
        if (silentFrames_ >= idleFrames_) {
            rest = true;
            break;
        }
        if (starting_ && std::min(done, wanted) - written >= kWriteFrames)
            write(std::min(done, wanted));
    }
    // A rest hands on all it rendered (silence); otherwise what passes the request is kept.
    const std::size_t give = rest ? done : std::min(done, wanted);
    if (give > written)
        write(give);
    // Rendering happens only once the carried frames are all taken, so these go after none.
    const std::size_t extra = done - give;
    std::copy_n(mixed_.begin() + static_cast<std::ptrdiff_t>(give * channels), extra * channels,
                carry_.begin() + static_cast<std::ptrdiff_t>(carried_ * channels));
    carried_ += extra;
    if (done > 0)
        starting_ = false;
    if (rest) {
        // Nothing sounds: the stream rests corked until the next play, and costs nothing.
        idle_ = true;
        cork(true);
    }
}

void PulseAudioOutput::retryLater() {
    if (!retry_)
        retry_ =
            pa_->contextRttimeNew(context_, pa_->rtclockNow() + kRetryUs, &Callbacks::retry, this);
}

void PulseAudioOutput::rewrite() {
    // All the server may still hold, however much of it has played meanwhile: writing over sound
    // already played is harmless, the server drops that part. The history ends with what was
    // rendered and not yet handed on: that part is kept, mixed anew.
    const std::size_t frames = history_.mixLast(
        engine_, std::min(bufferFrames_ + 2 * kStepFrames + carried_, history_.frames()),
        mixed_.data());
    if (frames <= carried_)
        return;
    const std::size_t held = frames - carried_;
    pa_->streamWrite(stream_, mixed_.data(), held * kFrameBytes, nullptr,
                     -static_cast<std::int64_t>(held * kFrameBytes), PA_SEEK_RELATIVE);
    std::copy_n(mixed_.begin() + static_cast<std::ptrdiff_t>(held * AudioEngine::kChannels),
                carried_ * AudioEngine::kChannels, carry_.begin());
}

} // namespace tobira
