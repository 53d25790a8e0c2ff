// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace tobira {

// Something that makes sound for one line of the audio engine's mixer.
//
// renderAudio() runs on the audio thread (or on the test's thread when a test drives the
// engine). It must fill all `frames` stereo frames of `out` (interleaved L R floats, nominally
// -1..1; silence as zeros) and must never block on a disk, a drive or the UI thread.
class AudioSource {
  public:
    virtual ~AudioSource() = default;
    virtual void renderAudio(float* out, std::size_t frames) = 0;

    // False only while renderAudio() would give silence and change nothing, and will go on doing
    // so until a control call starts sound again; that call first calls AudioEngine::wake(). The
    // output may then stop pulling. Any thread.
    virtual bool sounding() const { return true; }

    // True while the source plays but its sound is not there yet (a read-ahead still filling
    // after a start or a jump): the silence renderAudio() gives meanwhile takes no time from the
    // sound. An output that holds nothing of it yet may wait rather than queue that silence
    // ahead of the sound. Audio thread, after renderAudio().
    virtual bool waiting() const { return false; }
};

} // namespace tobira
