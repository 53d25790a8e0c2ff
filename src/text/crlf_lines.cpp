// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/crlf_lines.h"

#include <algorithm>
#include <cstring>

namespace tobira {

namespace {

const char* find(const char* from, const char* end, char c) {
    const void* at = std::memchr(from, c, static_cast<std::size_t>(end - from));
    return at ? static_cast<const char*>(at) : end;
}

} // namespace

std::vector<std::string_view> SplitLines(std::string_view bytes) {
    // List files of a million lines are read whole: memchr finds the next CR and the next LF
    // many bytes at a time, and the nearer one ends the line.
    std::vector<std::string_view> lines;
    if (bytes.empty())
        return lines; // and memchr is never handed a null pointer
    const char* start = bytes.data();
    const char* const end = start + bytes.size();
    const char* cr = find(start, end, '\r');
    const char* lf = find(start, end, '\n');
    while (start < end) {
        const char* stop = std::min(cr, lf);
        lines.emplace_back(start, static_cast<std::size_t>(stop - start));
        if (stop == end)
            break;
        start = stop + 1;
        if (*stop == '\r' && start < end && *start == '\n')
            ++start;
        if (cr < start)
            cr = find(start, end, '\r');
        if (lf < start)
            lf = find(start, end, '\n');
    }
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
