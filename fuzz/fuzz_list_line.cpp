// SPDX-License-Identifier: GPL-3.0-or-later
// One song list line: split then join gives back a line that splits to the same record, and a
// line of exactly four fields comes back byte for byte.
#include "fuzz_support.h"
#include "midi_windows/list_file.h"
#include "midi_windows/song_record.h"

#include <algorithm>

using namespace tobira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line = fuzz::AsText(data, size);
    const SongRecord record = SplitListLine(line);
    const std::string joined = JoinListLine(record);
    // An empty Feel (a fourth TAB right after the third) is written as nothing, which reads
    // back as the default.
    SongRecord expected = record;
    // assign(count, char): GCC 12 warns falsely (-Wrestrict) on assigning a literal here.
    if (expected.Feel.empty())
        expected.Feel.assign(1, '1');
    FUZZ_CHECK(SplitListLine(joined) == expected);

    const auto tabs = std::count(line.begin(), line.end(), '\t');
    if (tabs == 3 && line.back() != '\t')
        FUZZ_CHECK(joined == line);

    for (const auto& field : {record.Title, record.Path, record.Vol, record.Feel})
        FUZZ_CHECK(field.find('\t') == std::string::npos);

    if (auto n = ParseListNumber(record.Vol))
        FUZZ_CHECK(std::to_string(*n).size() <= record.Vol.size());
    return 0;
}
