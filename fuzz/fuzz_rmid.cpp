// SPDX-License-Identifier: GPL-3.0-or-later
// RIFF-wrapped MIDI: the SMF found inside lies within the file and is the data chunk's content
// cut at the file's end; what is not RIFF RMID passes through untouched; and the reader takes
// the wrapped file exactly as it takes the SMF inside.
#include "fuzz_support.h"
#include "media/midi/smf_reader.h"

#include <algorithm>

using namespace tobira;

namespace {

// The song, or the fault and its reason.
std::string Outcome(std::span<const std::uint8_t> bytes) {
    try {
        const SmfSong song = ParseSmf(bytes);
        return "song " + std::to_string(song.trackCount()) + " " + std::to_string(song.lastTick());
    } catch (const SmfError& e) {
        return e.what();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const std::span<const std::uint8_t> smf = UnwrapRmid(file);
    const bool riff =
        size >= 12 && std::equal(data, data + 4, "RIFF") && std::equal(data + 8, data + 12, "RMID");
    if (!riff) {
        FUZZ_CHECK(smf.data() == data && smf.size() == size);
        return 0;
    }
    FUZZ_CHECK(smf.data() >= data + 20 || smf.empty());
    FUZZ_CHECK(smf.data() + smf.size() <= data + size);
    if (!smf.empty())
        FUZZ_CHECK(std::equal(smf.data() - 8, smf.data() - 4, "data"));
    const std::span<const std::uint8_t> again = UnwrapRmid(smf);
    FUZZ_CHECK(again.size() <= smf.size());
    if (again.data() != smf.data() || again.size() != smf.size())
        return 0; // RMID inside RMID: read through both wrappers
    // Faults are reported at places in the file, so only the song itself is compared.
    const std::string wrapped = Outcome(file);
    const std::string inner = Outcome(smf);
    if (wrapped.rfind("song ", 0) == 0 || inner.rfind("song ", 0) == 0)
        FUZZ_CHECK(wrapped == inner);
    return 0;
}
