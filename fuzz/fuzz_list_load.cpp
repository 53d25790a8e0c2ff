// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a song list file: the lines survive a write and a read, and the sorted order is a
// total order that sorts to itself.
#include "fuzz_support.h"
#include "text/list_collation.h"
#include "midi_windows/list_file.h"

#include <vector>
#include <algorithm>

using namespace tobira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    std::vector<std::string> lines = SplitListText(bytes);
    for (const auto& line : lines)
        FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    FUZZ_CHECK(SplitListText(JoinListText(lines)) == lines);

    std::vector<std::string> sorted = lines;
    SortListLines(sorted);
    FUZZ_CHECK(std::is_permutation(sorted.begin(), sorted.end(), lines.begin(), lines.end()));
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        const std::string& a = sorted[i - 1];
        const std::string& b = sorted[i];
        const int ab = CompareListLines(a, b);
        FUZZ_CHECK(ab <= 0);
        FUZZ_CHECK((ab == 0) == (a == b));
        FUZZ_CHECK((CompareListLines(b, a) > 0) == (ab < 0));
        // The key orders as the comparison does, up to the tie-break by bytes.
        const int keys = ListCollationKey(a).compare(ListCollationKey(b));
        FUZZ_CHECK(keys < 0 || (keys == 0 && a <= b));
    }
    std::vector<std::string> again = sorted;
    SortListLines(again);
    FUZZ_CHECK(again == sorted);
    return 0;
}
