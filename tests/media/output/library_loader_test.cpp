// SPDX-License-Identifier: GPL-3.0-or-later
// SDL2 and libsndfile opened at run time: a library that is missing or is the wrong one gives an
// error naming it, and the real ones bind to working functions.

#include "media/loaders/sdl_api.h"
#include "media/loaders/shared_library.h"
#include "media/loaders/sndfile_api.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

namespace tobira {
namespace {

TEST(LibraryLoader, UnusableLibraryGivesAnErrorNamingIt) {
    const struct {
        const char* what;
        std::function<void()> load;
        std::string expectedFile;
        std::string expectedReason;
    } cases[] = {
        {"SDL2 missing", [] { LoadSdlApi("libSDL2-not-here.so.0"); }, "libSDL2-not-here.so.0",
         "No such file"},
        {"libsndfile missing", [] { LoadSndfileApi("libsndfile-not-here.so.1"); },
         "libsndfile-not-here.so.1", "No such file"},
        {"another library for SDL2", [] { LoadSdlApi("libm.so.6"); }, "libm.so.6",
         "SDL_GetVersion"},
        {"another library for libsndfile", [] { LoadSndfileApi("libm.so.6"); }, "libm.so.6",
         "sf_open"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.load();
            ADD_FAILURE() << "loaded";
        } catch (const LibraryError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find(c.expectedFile), std::string::npos) << text;
            EXPECT_NE(text.find(c.expectedReason), std::string::npos) << text;
        }
    }
}

TEST(LibraryLoader, RealLibrariesBindWorkingFunctions) {
    SDL_version version{};
    Sdl().GetVersion(&version);
    EXPECT_EQ(version.major, 2);
    EXPECT_EQ(&Sdl(), &Sdl());

    SF_INFO info{};
    std::FILE* empty = std::tmpfile();
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(Sndfile().open_fd(fileno(empty), SFM_READ, &info, SF_FALSE), nullptr);
    std::fclose(empty);
}

} // namespace
} // namespace tobira
