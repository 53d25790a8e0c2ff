#include "midi/list_file.h"

#include "midi/list_collation.h"
#include "settings/whole_file.h"
#include "text/cp932_convert.h"

namespace tobira {

std::vector<std::string> SplitListText(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
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
