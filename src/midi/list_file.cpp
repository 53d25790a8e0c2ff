#include "midi/list_file.h"

#include "midi/list_collation.h"
#include "settings/whole_file.h"
#include "text/cp932_convert.h"

namespace tobira {

std::vector<std::string> SplitListText(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines;
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    // One pass over the bytes; a search for "either of CR and LF" per line would scan the set
    // for every byte.
    const char* start = begin;
    for (const char* p = begin; p < end; ++p) {
        if (*p != '\r' && *p != '\n')
            continue;
        lines.emplace_back(start, p);
        if (*p == '\r' && p + 1 < end && p[1] == '\n')
            ++p;
        start = p + 1;
    }
    if (start < end)
        lines.emplace_back(start, end);
    return lines;
}

std::string JoinListText(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines)
        text.append(line).append("\r\n");
    return text;
}

std::optional<std::vector<std::string>> ReadListFile(const std::string& path) {
    auto bytes = ReadWholeFile(PathFromCp932(path));
    if (!bytes)
        return std::nullopt;
    auto lines = SplitListText(*bytes);
    SortListLines(lines);
    return lines;
}

void WriteListFile(const std::string& path, const std::vector<std::string>& lines) {
    WriteFileAtomically(PathFromCp932(path), JoinListText(lines));
}

} // namespace tobira
