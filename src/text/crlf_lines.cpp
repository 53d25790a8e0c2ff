#include "text/crlf_lines.h"

namespace tobira {

std::vector<std::string_view> SplitLines(std::string_view bytes) {
    // One pass over the bytes: a search for "either of CR and LF" per line would scan the set
    // for every byte, and list files of a million lines are read whole.
    std::vector<std::string_view> lines;
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    const char* start = begin;
    for (const char* p = begin; p < end; ++p) {
        if (*p != '\r' && *p != '\n')
            continue;
        lines.emplace_back(start, static_cast<std::size_t>(p - start));
        if (*p == '\r' && p + 1 < end && p[1] == '\n')
            ++p;
        start = p + 1;
    }
    if (start < end)
        lines.emplace_back(start, static_cast<std::size_t>(end - start));
    return lines;
}

std::string JoinCrLfLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines)
        text.append(line).append("\r\n");
    return text;
}

} // namespace tobira
