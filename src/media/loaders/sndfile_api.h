// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// libsndfile, opened on first use: the functions this program calls, bound from the real library.

#include <sndfile.h>

namespace tobira {

inline constexpr const char* kSndfileLibrary = "libsndfile.so.1";

struct SndfileApi {
    decltype(&::sf_open_fd) open_fd;
    decltype(&::sf_close) close;
    decltype(&::sf_seek) seek;
    decltype(&::sf_readf_short) readf_short;
};

// Binds every function from the given library file; throws LibraryError naming the file.
SndfileApi LoadSndfileApi(const char* file);

// The program's libsndfile, loaded once on the first call; throws LibraryError when it cannot be
// (a later call tries again). Any thread.
const SndfileApi& Sndfile();

} // namespace tobira
