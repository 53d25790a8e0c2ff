// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/library_facts.h"

#include "media/loaders/sdl_api.h"
#include "media/loaders/shared_library.h"
#include "media/midi/synth_module.h"
#include "text/cp932_convert.h"

#include <cdio/cdio.h>
#include <cdio/version.h>

#include <memory>

namespace tobira {

LibraryVersions MediaLibraryVersions() {
    std::string sdlVersion;
    try {
        SDL_version sdl{};
        Sdl().GetVersion(&sdl);
        sdlVersion = std::to_string(sdl.major) + "." + std::to_string(sdl.minor) + "." +
                     std::to_string(sdl.patch);
    } catch (const LibraryError& e) {
        sdlVersion = e.what();
    }
    return {SynthLibraryVersion(), cdio_version_string, sdlVersion};
}

std::vector<std::string> CdDriveNames() {
    std::vector<std::string> drives;
    std::unique_ptr<char*, void (*)(char**)> list(cdio_get_devices(DRIVER_DEVICE),
                                                  [](char** l) { cdio_free_device_list(l); });
    for (char** drive = list.get(); drive && *drive; ++drive)
        if (auto name = Cp932FromPath(*drive))
            drives.push_back(*name);
    return drives;
}

} // namespace tobira
