// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form_set.h"

#include "forms/window_placement.h"
#include "settings/ini_file.h"
#include "settings/settings_keys.h"

#include <utility>

namespace tobira {

FormSet::FormSet(Ports ports, DataPaths paths, MediaDevices devices, TCustomMixerCtrl& mixer,
                 MidiDevice* synth)
    : FormMain(ports, std::move(paths), devices, mixer),
      FormSetUp(ports, FormMain.Paths.SettingsPath), FormManage(ports), FormPattern(ports),
      FormView(ports, FormMain.Paths), FormMidi(ports, FormMain.Paths, FormMain, FormView, FormMsg),
      FormReader(ports.messages, ports.busy, ports.screen, FormMain.Paths.SettingsPath),
      FormLyrics(ports.screen, FormMain.Paths.SettingsPath, devices.MIDI, FormMain.LabelMidiTitle,
                 FormSetUp),
      FormParts(ports.screen, FormMain.Paths.SettingsPath, synth), ports_(ports) {
    FormMain.SetPeers({.List = FormList,
                       .Pattern = FormPattern,
                       .Mode = FormMode,
                       .View = FormView,
                       .Midi = FormMidi,
                       .Reader = FormReader,
                       .SetUp = FormSetUp,
                       .Lyrics = &FormLyrics,
                       .Parts = &FormParts});
    FormManage.SetPeers(FormMain, FormList, FormPattern);
    FormPattern.SetPeers(FormMain, FormList);
    FormSetUp.SetPeers({.Main = FormMain, .View = FormView, .Reader = FormReader, .Msg = FormMsg});
    FormView.SetPeers({.Main = FormMain,
                       .Options = FormSetUp,
                       .Reader = FormReader,
                       .Msg = FormMsg,
                       .Lyrics = &FormLyrics,
                       .Parts = &FormParts});
    FormView.MirrorModeButtons = [this] { FormMidi.CopyButtonsFrom(FormView); };
    FormList.SetPeers(
        {.Main = FormMain, .Msg = FormMsg, .Manage = FormManage, .Options = FormSetUp}, ports_);
}

void FormSet::CreateAll() {
    CreateAll(IniSnapshot(FormMain.Paths.SettingsPath));
}

void FormSet::CreateAll(const IniSnapshot& settings) {
    FormMain.FormCreate(settings);
    FormSetUp.FormCreate(settings);
    FormView.FormCreate(settings);
    // Windows without stored positions open centred on the screen.
    const ScreenSize screen = ports_.screen.screenSize();
    // The control window and the reader place themselves.
    FormModel* sideWindows[] = {&FormSetUp,   &FormList, &FormManage, &FormMsg,
                                &FormPattern, &FormMode, &FormMidi};
    for (FormModel* form : sideWindows)
        form->CentreOn(screen);
    FormList.FormCreate(settings);
    FormMidi.FormCreate(settings);
    // The control window's creation ends with the start in MIDI mode; it comes after the
    // placing above so that the announcement stays beside the main window.
    FormView.StartInChosenMode();
    FormReader.FormCreate(settings);
    FormLyrics.FormCreate(settings);
    FormParts.FormCreate(settings);
    // Side windows without a stored position open beside the main window, wherever that is by
    // the time they first show, and clear of the others open then. (The mode announcement
    // comes and goes and places itself.)
    const std::pair<FormModel*, IntegerKey> besideMain[] = {
        {&FormList, keys::HPOSITION},   {&FormView, keys::LPOSITION},
        {&FormMidi, keys::POSITION0},   {&FormReader, keys::SPOSITION},
        {&FormLyrics, keys::LYRICPOSX}, {&FormParts, keys::PARTPOSX}};
    for (auto [form, key] : besideMain)
        if (!HasSetting(settings, key))
            form->PlaceWhenFirstShown([this](FormModel& side) {
                const std::vector<const FormModel*> open = {
                    &FormSetUp, &FormList, &FormManage, &FormMsg,    &FormPattern,
                    &FormView,  &FormMidi, &FormReader, &FormLyrics, &FormParts};
                const ScreenPoint at = PlaceBeside(FormMain, side, ports_.screen.workArea(), open);
                side.Left = at.x;
                side.Top = at.y;
            });
}

} // namespace tobira
