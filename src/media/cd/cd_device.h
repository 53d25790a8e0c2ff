// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CD audio device: a drive read through libcdio, or a disc image read through its CUE sheet
// (BIN, WAV or FLAC files, one for the disc or one per track), played through the audio
// engine's CD line.
//
// fileName(): a drive ("/dev/sr0"), a CUE sheet ("disc.cue"), or empty for the first drive
// found. Without any drive the device still
// opens and reports Open (no disc), and it keeps looking for a drive once a second.
//
// Threads: the MediaDevice methods run on the UI thread and never wait for the drive: opening
// the medium, reading the TOC, media checks (once a second), eject and reading audio ahead
// (10 s) happen on the device's own worker thread. mode() is NotReady until the TOC is in.
// A drive is asked once per disc to read at a low, steady speed (4x; one that refuses reads as
// it likes), so that it fills the read-ahead in long runs rather than spinning up and down.
// renderAudio runs on the audio thread and only copies from the read-ahead ring under a short
// lock; when stopped or when the ring ran dry it outputs silence and the position stands still.
//
// Units: position() is track/minute/second/frame packed (PackTmsf), relative to the track's
// start, and follows what has been rendered, not what was read ahead. trackLength(n) is MSF
// packed and runs to the next track's start, so it includes the next track's pregap, as the
// disc's TOC counts it. length() is the whole disc, first track's start to lead-out, MSF packed.
//
// Playing: playFrom(n) plays from track n's start (INDEX 01) to the end of the disc and then
// stops (mode Stopped). Asked while playing is about to reach track n by itself (less than 2 s
// before its start, no track between), it lets playing run on, so that the gap the disc holds
// before n plays whole; the position shows n's start meanwhile. Data tracks are never played:
// playFrom(data track) starts at the next audio track, and playing stops where a data track begins.
// pause() and stop() are the same for a CD (the mode becomes Stopped and the position is kept),
// except that a pause has the output hold what it has already been given, where a stop drops it;
// play() resumes there, or starts again at the first audio track when the end of the disc was
// reached. previous() acts only while playing; within the first second of a disc whose first track
// starts after the 2 s lead-in (hidden audio before it), it plays that audio from the disc's first
// sector on. No completion notification is sent: the player polls mode and position.
//
// Eject and insert: eject() on a drive opens the tray (the media check sees the next disc). On
// an image it takes the disc out: the mode is Open until insertDisc() or another eject() puts
// it back, or until the image's files change on disk (size or modification time), which counts
// as a new disc. insertDisc(), and eject() while there is no disc, close a drive's tray.
//
// Bad input: a TOC with 255 (invalid) tracks, more than 99 tracks, no audio track or other
// nonsense is treated as no disc (mode Open), as is a CUE sheet that cannot be used (missing,
// malformed, naming a missing or cut-off file, audio that is not 44.1 kHz stereo) and a named
// drive that cannot be opened; takeProblem() then says why (for a sheet, naming its line), once
// per attempt to read it. open() raises DeviceBusyError only for a drive held by another
// program.

#include "media/audio_source.h"
#include "media/cd/cd_play_state.h"
#include "media/cd/cd_text_packs.h"
#include "media/media_device.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tobira {

class AudioEngine;
class CdWorker;

struct CdDeviceOptions {
    // How often the worker checks for a new or removed disc.
    std::chrono::milliseconds pollInterval{1000};
    // Whose language the CD-Text is shown in, when the disc has several ("ja_JP.UTF-8").
    std::string textLocale = MessagesLocale();
};

class CdDevice final : public MediaDevice, public AudioSource {
  public:
    // Frames the read-ahead holds when full (10 s).
    static constexpr std::size_t kReadAheadFrames = CdPlayState::kRingSectors * kCdFramesPerSector;

    // Attaches itself to the engine's CD line (silent until a disc plays).
    explicit CdDevice(AudioEngine& engine, CdDeviceOptions options = {});
    ~CdDevice() override;
    CdDevice(const CdDevice&) = delete;
    CdDevice& operator=(const CdDevice&) = delete;

    // DeviceBusyError, naming the drive, when another program holds it. Opening while open
    // reopens.
    void open() override;
    void close() override;
    bool isOpen() const override { return worker_ != nullptr; }

    // These raise DeviceError only when the device is not open; otherwise a command that does
    // not apply (no disc, no such track) does nothing.
    void play() override;
    void playFrom(std::uint32_t track) override;
    // To the minute, second and frame of `position` within its track (the track's length at
    // most): from there on while playing, else at the next play.
    void seek(std::uint32_t position) override;
    void stop() override;
    void pause() override;
    void previous() override;
    void eject() override;
    // Puts an ejected image back (a drive: closes the tray).
    void insertDisc();
    // Asks the worker to look for a changed disc now rather than at its next check.
    void checkMedia();

    // NotReady when closed; 0 (or no tracks) without a disc.
    DeviceMode mode() const override;
    int tracks() const override;
    std::uint32_t trackLength(int track) const override;
    std::uint32_t position() const override;
    std::uint32_t length() const override;
    DiscText discText() const override;
    std::string takeProblem() override;

    // Returns once the worker has carried out every command given so far and, while playing,
    // has filled the read-ahead as far as it goes (kReadAheadFrames, or up to the end of the
    // disc). Rendering no more than that afterwards never runs dry. For tests and benchmarks.
    void waitIdle();
    // How many discs the drive was asked to read slowly for (an image has no speed to set, yet
    // counts: the asking is the same). For tests.
    std::uint64_t speedRequests() const;

    void renderAudio(float* out, std::size_t frames) override;
    bool sounding() const override;
    // Playing with the read-ahead still empty: after a start, a jump or a slow drive's stall.
    bool waiting() const override;

  private:
    void requireOpen() const;
    // Starts playing at audio track `number` or the next audio track after it. Holds the lock.
    void startAt(int number);
    // Whether playing reaches `target` by itself within moments, no other track between.
    bool runsInto(const CdTrack& target) const;
    // The track the position counts in. Both hold the lock.
    const CdTrack& shownTrack() const;
    void request(bool CdPlayState::*flag);

    AudioEngine& engine_;
    const CdDeviceOptions options_;
    mutable CdPlayState state_;
    std::uint64_t problemsTaken_ = 0;
    // The output holds what the last pause left (UI thread): a stop or jump must drop it.
    bool heldByPause_ = false;
    std::unique_ptr<CdWorker> worker_;
};

} // namespace tobira
