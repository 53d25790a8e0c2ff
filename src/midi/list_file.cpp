#include "midi/list_file.h"

#include "midi/list_collation.h"
#include "settings/whole_file.h"
#include "text/cp932_convert.h"
#include "text/crlf_lines.h"

namespace tobira {

std::vector<std::string> SplitListText(std::string_view bytes) {
    const std::vector<std::string_view> views = SplitLines(bytes.substr(0, bytes.find('\0')));
    return std::vector<std::string>(views.begin(), views.end());
}

std::string JoinListText(const std::vector<std::string>& lines) {
    return JoinCrLfLines(lines);
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
