// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/views/about_facts.h"

#include "media/midi/midi_device.h"
#include "media/midi/midi_soundfont.h"
#include "text/cp932_convert.h"
#include "media/library_facts.h"
#include "windows/media_setup_devices.h"

#include <QtGlobal>

namespace tobira {

AboutFacts GatherAboutFacts(const MidiDevice& midi, const MediaDevice& cd,
                            const std::string& cp932Folder) {
    const LibraryVersions versions = MediaLibraryVersions();
    AboutFacts facts;
    facts.Qt = qVersion();
    facts.FluidSynth = versions.fluidSynth;
    facts.Libcdio = versions.libcdio;
    facts.Sdl2 = versions.sdl2;
    facts.SoundFont = midi.soundFont();
    if (facts.SoundFont.empty()) {
        const auto standard = FindDefaultSoundFont();
        facts.SoundFont = standard.empty() ? Utf8ToCp932("（見つかりません）")
                                           : Cp932FromPath(standard).value_or(standard.string());
    }
    facts.CdDevice =
        cd.fileName().empty() ? Utf8ToCp932("最初に見つかったドライブ") : cd.fileName();
    facts.Folder = cp932Folder;
    return facts;
}

} // namespace tobira
