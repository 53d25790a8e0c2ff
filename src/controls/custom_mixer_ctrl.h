// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Access to the program's mixer: the audio engine seen as mixer device 0, with one destination
// (the speakers) and the wave-out, synthesizer and CD source lines feeding it. This is the
// non-visual base of the mixer panel; the panel builds its columns from the line names and
// component types offered here.
//
// Every operation is safe while no mixer is open (no engine, no window yet, or an invalid
// MixerID): it then reports -1, 0 or false, or does nothing. UI thread only.

#include "media/audio_engine.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tobira {

// Component types of mixer lines.
namespace mixer_component {
constexpr std::uint32_t Speakers = 4; // destination
constexpr std::uint32_t Undefined = 0x1000;
constexpr std::uint32_t Digital = 0x1001;
constexpr std::uint32_t Line = 0x1002;
constexpr std::uint32_t Microphone = 0x1003;
constexpr std::uint32_t Synthesizer = 0x1004;
constexpr std::uint32_t CompactDisc = 0x1005;
constexpr std::uint32_t Telephone = 0x1006;
constexpr std::uint32_t PcSpeaker = 0x1007;
constexpr std::uint32_t WaveOut = 0x1008;
constexpr std::uint32_t Auxiliary = 0x1009;
constexpr std::uint32_t Analog = 0x100A;
} // namespace mixer_component

class TCustomMixerCtrl;

// sender, mixer handle, line or control identifier
using TMixerChangeEvent =
    std::function<void(TCustomMixerCtrl& sender, std::intptr_t mixer, std::intptr_t id)>;

class TCustomMixerCtrl {
  public:
    // Without an engine there is no mixer device at all.
    explicit TCustomMixerCtrl(AudioEngine* engine = nullptr);
    virtual ~TCustomMixerCtrl();
    TCustomMixerCtrl(const TCustomMixerCtrl&) = delete;
    TCustomMixerCtrl& operator=(const TCustomMixerCtrl&) = delete;

    // Number of mixer devices: 1 with an engine, else 0.
    int MixerDeviceCount() const { return engine_ ? 1 : 0; }

    // Closes any open mixer. Before the window exists, or for a value outside 0..device
    // count - 1, the mixer stays closed and the value is not kept; otherwise the value is kept
    // and the device opened with change notifications.
    void SetMixerID(int value);
    // The kept index while a mixer is open, else -1.
    int MixerID() const;
    // The open mixer as an integer (as the change events carry it); 0 when closed.
    std::intptr_t MixerHandle() const;

    // The component's window comes into being: reopens the kept MixerID, chooses the speakers
    // destination as the current one and rebuilds the lines.
    void CreateWnd();
    bool HandleAllocated() const { return hasWindow_; }

    int DestinationCount() const;
    int SourceCount() const; // of the current destination
    int CurrentDestination() const { return destination_; }
    int FindDestination(std::uint32_t componentType) const;
    // First source of the current destination with that type; -1 when none.
    int FindSource(std::uint32_t componentType) const;
    // The destination argument is accepted for callers that pass one; the search always uses
    // the current destination.
    int FindSource(int destination, std::uint32_t componentType) const;

    // Highest channel of the line's volume, 0..65535; 0 when it cannot be read.
    std::uint32_t GetDestinationVolume() const;
    std::uint32_t GetSourceVolume(int source) const;
    // Every channel to `value` (above 65535 counts as 65535); nothing when the line is absent.
    void SetDestinationVolume(int destination, std::uint32_t value);
    void SetSourceVolume(int source, std::uint32_t value);

    // A mute that cannot be read counts as off.
    bool GetDestinationMute(int destination) const;
    void SetDestinationMute(int destination, bool on);
    bool GetSourceMute(int source) const;
    void SetSourceMute(int source, bool on);
    // Whether the line (by identifier) has a mute control that can be read.
    bool HasMute(std::intptr_t lineId) const;

    // Line identifiers (as OnLineChange carries them and HasMute takes them); -1 when absent.
    std::intptr_t DestinationLineID(int destination) const;
    std::intptr_t SourceLineID(int source) const;
    // What the panel shows of a line: short name (code page 932) and component type; empty and
    // 0 when the line is absent.
    std::string DestinationShortName(int destination) const;
    std::string SourceShortName(int source) const;
    std::uint32_t DestinationComponentType(int destination) const;
    std::uint32_t SourceComponentType(int source) const;
    // The engine line behind a source index of the current destination.
    std::optional<MixerLine> SourceLine(int source) const;
    // The identifier of a line's volume or mute control, as OnControlChange carries it.
    static std::intptr_t ControlID(MixerLine line, MixerChange control);

    TMixerChangeEvent OnLineChange;
    TMixerChangeEvent OnControlChange;

  protected:
    // Rebuilds the visual columns; called when the window is created.
    virtual void UpdateLines() = 0;
    // The device's notifications. The panel refreshes itself before the event is raised.
    virtual void MixerLineChange(std::intptr_t lineId);
    virtual void MixerControlChange(std::intptr_t controlId);

  private:
    bool isOpen() const { return listener_ != 0; }
    void closeMixer();
    std::optional<MixerLine> destinationLine(int destination) const;

    AudioEngine* engine_;
    int mixerId_ = 0;
    int listener_ = 0; // engine listener id while open; 0 = closed
    bool hasWindow_ = false;
    int destination_ = 0;
};

} // namespace tobira
