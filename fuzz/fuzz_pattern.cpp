// SPDX-License-Identifier: GPL-3.0-or-later
// The pattern file TOBIRA.DAT: lines survive a join, an added record is found by its key, a
// removed one takes exactly one line, and a track order reads back the way it was written.
#include "cd_windows/pattern_file.h"
#include "cd_windows/pattern_record.h"
#include "fuzz_support.h"

#include <vector>
#include <algorithm>

using namespace tobira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    const auto views = SplitPatternLines(bytes);
    const std::vector<std::string> lines(views.begin(), views.end());
    FUZZ_CHECK(SplitPatternLines(JoinPatternLines(lines)) == views);

    // A key and a text cut from the input; lines and keys cannot hold a line end.
    std::string key(bytes.substr(0, std::min<std::size_t>(size, 11)));
    std::erase_if(key, [](char c) { return c == '\r' || c == '\n'; });
    const std::string text = lines.empty() ? std::string("01 02 .T") : lines.back();

    const auto table = BuildPatternTable(views, key.substr(0, key.size() ? key.size() - 1 : 0));
    for (const auto& slotText : table)
        FUZZ_CHECK(slotText.size() <= kPatternTextLimit);

    const std::string appended = AppendRecordBytes(bytes, key, text);
    const auto after = SplitPatternLines(appended);
    FUZZ_CHECK(after.size() == views.size() + 1);
    const auto found = FindPatternLine(after, key);
    FUZZ_CHECK(found.has_value() == IsUsablePatternKey(key));
    if (found) {
        FUZZ_CHECK(after[*found].find(key) != std::string_view::npos);
        const auto removed = RemoveRecordBytes(appended, key);
        FUZZ_CHECK(removed && SplitPatternLines(*removed).size() == views.size());
    }

    const PatternTextParts parts = SplitPatternText(text);
    const TrackOrder order = ReadTrackOrder(parts.order);
    FUZZ_CHECK(order.tracks.size() <= static_cast<std::size_t>(kMaxTrackOrderEntries));
    std::vector<int> nonZero;
    std::copy_if(order.tracks.begin(), order.tracks.end(), std::back_inserter(nonZero),
                 [](int t) { return t != 0; });
    FUZZ_CHECK(ReadTrackOrder(FormatTrackOrder(order.tracks)).tracks == nonZero);
    FUZZ_CHECK(CutText(text, size % 50).size() <= size % 50);
    return 0;
}
