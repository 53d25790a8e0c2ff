// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/loaders/sndfile_api.h"

#include "media/loaders/shared_library.h"

namespace tobira {

SndfileApi LoadSndfileApi(const char* file) {
    LibraryBinder bind(file);
    SndfileApi api{};
    bind(api.open_fd, "sf_open_fd");
    bind(api.close, "sf_close");
    bind(api.seek, "sf_seek");
    bind(api.readf_short, "sf_readf_short");
    bind.keep();
    return api;
}

const SndfileApi& Sndfile() {
    static const SndfileApi api = LoadSndfileApi(kSndfileLibrary);
    return api;
}

} // namespace tobira
