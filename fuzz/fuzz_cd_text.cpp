// SPDX-License-Identifier: GPL-3.0-or-later
// CD-Text packs from a drive or a CD-Text file: at most eight blocks and 99 tracks, text that is
// valid code page 932, and a chosen block that exists.
#include "fuzz_support.h"
#include "media/cd/cd_text_packs.h"
#include "text/cp932_convert.h"

using namespace tobira;

namespace {

bool Clean(const std::string& cp932) {
    return Utf8ToCp932(Cp932ToUtf8(cp932)) == cp932;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<CdTextBlock> blocks = ParseCdTextPacks(fuzz::AsText(data, size));
    FUZZ_CHECK(blocks.size() <= 8);
    for (const CdTextBlock& block : blocks) {
        FUZZ_CHECK(block.language >= 0 && block.language <= 0xFF);
        FUZZ_CHECK(block.text.tracks.size() <= 99);
        FUZZ_CHECK(Clean(block.text.disc.title) && Clean(block.text.disc.performer));
        for (const CdText& t : block.text.tracks)
            FUZZ_CHECK(Clean(t.title) && Clean(t.performer));
    }
    for (const char* locale : {"ja_JP.UTF-8", "C", ""})
        FUZZ_CHECK(blocks.empty() || PreferredCdTextBlock(blocks, locale) < blocks.size());
    return 0;
}
