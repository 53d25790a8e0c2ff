// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mixer panel: one column per line (the speakers destination first, then the wanted source
// lines), each with a vertical slider, a "Mute" box and a label. This is the panel's model; the
// Qt view lays the columns out and forwards slider moves and box clicks.

#include "controls/custom_mixer_ctrl.h"

#include <set>
#include <string>
#include <vector>

namespace tobira {

enum class TMixerCtrlLine {
    mclWave,
    mclMIDI,
    mclCD,
    mclDigital,
    mclAux,
    mclLine,
    mclMIC,
    mclAnalog,
    mclPCSpeaker,
    mclTelephone,
    mclUndefined,
};

std::uint32_t ComponentTypeOf(TMixerCtrlLine line);

// The slider settings shared by every column.
struct TMixerCtrlTrackBarProperty {
    int Frequency = 17;
    int LineSize = 3;
    int PageSize = 51;
    int Max = 255;
    int Min = 0;
};

struct MixerColumn {
    int Tag = -1; // line index: destination for column 0, else source; <0 disabled
    bool IsDestination = false;
    int Position = 0; // slider position, Min at the top (loudest)
    bool Mute = false;
    bool MuteEnabled = false;
    std::string Label; // code page 932
};

class TMixerCtrl final : public TCustomMixerCtrl {
  public:
    explicit TMixerCtrl(AudioEngine* engine = nullptr);

    TMixerCtrlTrackBarProperty TrackBar;
    bool HideLabel = false;
    bool HideMute = false;
    std::set<TMixerCtrlLine> Lines{TMixerCtrlLine::mclWave, TMixerCtrlLine::mclMIDI,
                                   TMixerCtrlLine::mclCD, TMixerCtrlLine::mclLine,
                                   TMixerCtrlLine::mclMIC};
    // Column captions; after a rebuild the device's short line names, in column order.
    std::vector<std::string> LineLabels{"Volume", "Mic", "Line", "CD", "Wave", "Midi"};

    const std::vector<MixerColumn>& Columns() const { return columns_; }

    void SetLines(std::set<TMixerCtrlLine> lines);
    void SetLineLabels(std::vector<std::string> labels);
    // Refused (false) when Max - Min would exceed 32768.
    bool SetTrackBarMax(int value);
    bool SetTrackBarMin(int value);

    void RefreshValues();

    // User input from the view; ignored while the columns are being refreshed.
    void SliderChange(int column, int position);
    void MuteClick(int column, bool on);

    // The scale between device values 0..65535 and slider positions.
    int PositionFromValue(std::uint32_t value) const;
    std::uint32_t ValueFromPosition(int position) const;

  protected:
    void UpdateLines() override;
    void MixerControlChange(std::intptr_t controlId) override;

  private:
    std::vector<MixerColumn> columns_;
    bool refreshing_ = false;
};

} // namespace tobira
