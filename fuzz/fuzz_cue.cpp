// SPDX-License-Identifier: GPL-3.0-or-later
// A CUE sheet beside a small BIN named disc.bin (as the seeds name it): either no disc with a
// reason, or a table of contents that makes sense and whose first audio sector reads.
#include "fuzz_support.h"
#include "media/cd/cd_medium.h"

#include <vector>
#include <unistd.h>

#include <filesystem>
#include <fstream>

using namespace tobira;

namespace {

std::filesystem::path g_cue;
constexpr std::int32_t kBinSectors = 150;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    CdMedium::silenceLibraryLog();
    const auto folder =
        std::filesystem::temp_directory_path() / ("tobira-fuzz-cue-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    // Gone again when the run ends, as the replay test runs this at every build's tests.
    static const struct Removal {
        std::filesystem::path folder;
        ~Removal() {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } removal{folder};
    g_cue = folder / "disc.cue";
    std::ofstream bin(folder / "disc.bin", std::ios::binary);
    const std::string sector(kCdSectorBytes, '\x11');
    for (int i = 0; i < kBinSectors; ++i)
        bin << sector;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream cue(g_cue, std::ios::binary | std::ios::trunc);
        cue.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    CdMedium::ImageOpen opened = CdMedium::openImage(g_cue);
    FUZZ_CHECK(opened.medium || !opened.problem.empty());
    if (!opened.medium)
        return 0;
    auto& medium = opened.medium;
    const auto toc = medium->readToc();
    if (!toc)
        return 0;
    FUZZ_CHECK(toc->count() >= 1 && toc->count() <= CdToc::kMaxTracks);
    std::int32_t previous = -1;
    for (int n = 1; n <= toc->count(); ++n) {
        const CdTrack* track = toc->track(n);
        if (!track) {
            FUZZ_CHECK(toc->lengthMsf(n) == 0 && n < toc->count()); // a number the disc leaves out
            continue;
        }
        FUZZ_CHECK(track->number == n);
        FUZZ_CHECK(track->start > previous && track->sectors > 0);
        FUZZ_CHECK(track->start + track->sectors <= toc->leadout());
        previous = track->start;
    }
    FUZZ_CHECK(toc->leadout() <= CdToc::kMaxSectors);
    const CdTrack* audio = toc->firstAudioFrom(1);
    FUZZ_CHECK(audio && audio->audio);
    FUZZ_CHECK(toc->audioEnd(audio->number) > audio->start);
    if (audio->start < kBinSectors) {
        std::vector<unsigned char> out(kCdSectorBytes);
        (void)medium->readAudio(audio->start, 1, out.data());
    }
    return 0;
}
