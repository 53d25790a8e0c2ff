// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/song_record.h"

#include <charconv>

namespace tobira {

SongRecord SplitListLine(std::string_view line) {
    SongRecord record;
    std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos)
        return record;
    record.Title = std::string(line.substr(0, tab));
    std::string_view rest = line.substr(tab + 1);

    // Path and Vol count only when a TAB closes them.
    for (std::string* field : {&record.Path, &record.Vol}) {
        tab = rest.find('\t');
        if (tab == std::string_view::npos)
            return record;
        *field = std::string(rest.substr(0, tab));
        rest = rest.substr(tab + 1);
    }
    tab = rest.find('\t');
    if (tab != std::string_view::npos)
        record.Feel = std::string(rest.substr(0, tab));
    else if (!rest.empty())
        record.Feel = std::string(rest);
    return record;
}

std::string JoinListLine(const SongRecord& record) {
    std::string line;
    line.reserve(record.Title.size() + record.Path.size() + record.Vol.size() + record.Feel.size() +
                 3);
    line.append(record.Title).append(1, '\t').append(record.Path).append(1, '\t');
    line.append(record.Vol).append(1, '\t').append(record.Feel);
    return line;
}

std::optional<int> ParseListNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // Parse the magnitude unsigned so that INT_MIN and "-0" come out right.
    unsigned long long magnitude = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    constexpr unsigned long long limit = 2147483647ULL;
    if (magnitude > limit + (negative ? 1 : 0))
        return std::nullopt;
    long long value =
        negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return static_cast<int>(value);
}

} // namespace tobira
