// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/output/sound_output.h"

#include "media/audio_engine.h"
#include "media/output/pulse_audio_output.h"
#include "media/output/sdl_audio_output.h"
#include "media/output/silent_pump.h"
#include "ports/ports.h"
#include "text/cp932_convert.h"

#include <cstdio>
#include <string_view>

namespace tobira {

std::vector<OutputKind> SoundOutput::Choice(const char* environment) {
    const std::string_view value = environment ? environment : "";
    if (value == "pulse")
        return {OutputKind::Pulse};
    if (value == "sdl")
        return {OutputKind::Sdl};
    if (value == "none")
        return {OutputKind::Silent};
    return {OutputKind::Pulse, OutputKind::Sdl};
}

SoundOutput::Factory SoundOutput::RealOutputs(AudioEngine& engine) {
    return [&engine](OutputKind kind) -> std::unique_ptr<AudioOutput> {
        switch (kind) {
        case OutputKind::Pulse:
            return std::make_unique<PulseAudioOutput>(engine);
        case OutputKind::Sdl:
            return std::make_unique<SdlAudioOutput>(engine);
        case OutputKind::Silent:
            break;
        }
        return std::make_unique<SilentPump>(engine);
    };
}

SoundOutput::SoundOutput(AudioEngine& engine, UiPostPort& uiPost,
                         std::function<void(const std::string&)> tell,
                         std::vector<OutputKind> choice, Factory factory)
    : engine_(engine), tell_(std::move(tell)), choice_(std::move(choice)),
      factory_(std::move(factory)) {
    failureWake_ = uiPost.makeWake([this] { failed(); });
    engine_.setWakeHandler([this] { wake(); });
    engine_.setPauseHandler([this] {
        playing_ = false;
        if (current_)
            current_->pause();
    });
    engine_.setFlushHandler([this] {
        stopped_ = true;
        if (current_)
            current_->flush();
    });
    listener_ = engine_.addControlListener([this](MixerLine, MixerChange what) {
        if (what != MixerChange::Source && current_)
            current_->volumeChanged();
    });
}

SoundOutput::~SoundOutput() {
    engine_.removeControlListener(listener_);
    engine_.setWakeHandler(nullptr);
    engine_.setPauseHandler(nullptr);
    engine_.setFlushHandler(nullptr);
    // The output first: its thread may still raise the wake until it is closed.
    if (current_)
        current_->close();
    failureWake_.reset();
}

void SoundOutput::open() {
    std::string reason;
    for (const OutputKind kind : choice_) {
        if (tryOpen(kind, reason))
            return;
        std::fprintf(stderr, "TOBIRA: sound output not opened (%s)\n", reason.c_str());
    }
    const bool chosen = choice_.size() == 1 && choice_.front() != OutputKind::Silent;
    standIn();
    if (chosen) {
        // The output the user asked for: tell, and try it again at the next play.
        broken_ = true;
        brokenKind_ = choice_.front();
        tell_(
            Utf8ToCp932("音声出力を開けません（" + reason + "）。\n音を出さずに再生を続けます。"));
    } else {
        std::fprintf(stderr, "TOBIRA: no sound output found; playing silently\n");
    }
}

bool SoundOutput::tryOpen(OutputKind kind, std::string& reason) {
    std::unique_ptr<AudioOutput> output = factory_(kind);
    const int generation = ++generation_;
    output->setFailureHandler([this, generation](const std::string& why) {
        {
            std::lock_guard lock(failureMutex_);
            failure_ = why;
            failedGeneration_ = generation;
        }
        failureWake_->raise();
    });
    const std::string why = output->open();
    if (!why.empty()) {
        reason = output->name() + ": " + why;
        return false;
    }
    if (current_)
        current_->close();
    current_ = std::move(output);
    currentKind_ = kind;
    currentGeneration_ = generation;
    if (playing_)
        current_->play();
    return true;
}

void SoundOutput::standIn() {
    std::string reason;
    tryOpen(OutputKind::Silent, reason);
}

void SoundOutput::wake() {
    playing_ = true;
    if (broken_ && stopped_) {
        std::string reason;
        if (tryOpen(brokenKind_, reason))
            broken_ = false;
        else
            std::fprintf(stderr, "TOBIRA: sound output not opened again (%s)\n", reason.c_str());
    }
    stopped_ = false;
    if (current_)
        current_->play();
}

void SoundOutput::failed() {
    std::string reason;
    int generation;
    {
        std::lock_guard lock(failureMutex_);
        reason = failure_;
        generation = failedGeneration_;
    }
    if (!current_ || generation != currentGeneration_)
        return; // an output already replaced
    const std::string name = current_->name();
    broken_ = true;
    brokenKind_ = currentKind_;
    standIn();
    tell_(Utf8ToCp932("音声出力（" + name + "）が使えなくなりました（" + reason +
                      "）。\n音を出さずに再生を続けます。"));
}

} // namespace tobira
