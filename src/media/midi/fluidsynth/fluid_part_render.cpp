// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/fluidsynth/fluid_part_render.h"

#include <algorithm>
#include <cmath>

namespace tobira {

void FluidPartRender::Configure(fluid_settings_t* settings) {
    fluid_settings_setint(settings, "synth.audio-channels", kParts);
    fluid_settings_setint(settings, "synth.audio-groups", kParts);
}

FluidPartRender::FluidPartRender() : planes_((4 + 2 * kParts) * kBlock) {}

void FluidPartRender::meter(bool on) {
    metering_ = on;
    if (!on)
        peaks_.fill(0.0f);
}

void FluidPartRender::render(fluid_synth_t* synth, float* out, std::size_t frames, float left,
                             float right) {
    if (metering_)
        peaks_.fill(0.0f);
    while (frames > 0) {
        const std::size_t n = std::min(frames, kBlock);
        renderBlock(synth, out, n, left, right);
        out += 2 * n;
        frames -= n;
    }
}

void FluidPartRender::renderBlock(fluid_synth_t* synth, float* out, std::size_t n, float left,
                                  float right) {
    float* mixL = planes_.data();
    float* mixR = mixL + kBlock;
    float* fxL = mixR + kBlock;
    float* fxR = fxL + kBlock;
    std::fill(mixL, fxR + kBlock, 0.0f);
    // Reverb and chorus of the one effects unit, added to the parts last: the mix comes out
    // the same to the bit whether the parts are metered or not.
    float* fx[2] = {fxL, fxR};
    const int frames = static_cast<int>(n);
    if (!metering_) {
        // Every group folds onto the one stereo pair: FluidSynth adds them up itself.
        float* dry[2] = {mixL, mixR};
        fluid_synth_process(synth, frames, 2, fx, 2, dry);
    } else {
        float* dry[2 * kParts];
        for (int i = 0; i < 2 * kParts; ++i) {
            dry[i] = planes_.data() + static_cast<std::size_t>(4 + i) * kBlock;
            std::fill(dry[i], dry[i] + n, 0.0f);
        }
        fluid_synth_process(synth, frames, 2, fx, 2 * kParts, dry);
        for (int part = 0; part < kParts; ++part) {
            const float* l = dry[2 * part];
            const float* r = dry[2 * part + 1];
            float peak = peaks_[static_cast<std::size_t>(part)];
            for (std::size_t i = 0; i < n; ++i) {
                mixL[i] += l[i];
                mixR[i] += r[i];
                peak = std::max({peak, std::fabs(l[i]), std::fabs(r[i])});
            }
            peaks_[static_cast<std::size_t>(part)] = peak;
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        out[2 * i] = (mixL[i] + fxL[i]) * left;
        out[2 * i + 1] = (mixR[i] + fxR[i]) * right;
    }
}

} // namespace tobira
