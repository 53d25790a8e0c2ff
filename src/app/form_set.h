// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player/form_main.h"
#include "player/form_mode.h"
#include "windows/form_msg.h"
#include "cd_windows/form_list.h"
#include "cd_windows/form_manage.h"
#include "cd_windows/form_pattern.h"
#include "midi_windows/form_lyrics.h"
#include "midi_windows/form_parts.h"
#include "midi_windows/form_view.h"
#include "windows/form_setup.h"
#include "windows/form_midi.h"
#include "windows/form_reader.h"

namespace tobira {

class IniSnapshot;

// The program's twelve windows. They are made once, in this order (members are constructed in
// declaration order), and live until the program ends; later windows read the earlier ones.
class FormSet final {
  public:
    // `synth` is the built-in synthesizer, whose parts the part display shows; none without.
    FormSet(Ports ports, DataPaths paths, MediaDevices devices, TCustomMixerCtrl& mixer,
            MidiDevice* synth = nullptr);

    // Runs the creation handlers in window order, each reading its keys from `settings`, the
    // one read of the settings file at the start. Throws what a window's creation throws (the
    // CD device that cannot be opened).
    void CreateAll(const IniSnapshot& settings);
    // The same over a read of its own.
    void CreateAll();

    TFormMain FormMain;
    TFormSetUp FormSetUp;
    TFormList FormList;
    TFormManage FormManage;
    TFormMsg FormMsg;
    TFormPattern FormPattern;
    TFormMode FormMode;
    TFormView FormView;
    TFormMidi FormMidi;
    TFormReader FormReader;
    TFormLyrics FormLyrics;
    TFormParts FormParts;

  private:
    Ports ports_;
};

} // namespace tobira
