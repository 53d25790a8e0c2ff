// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/list_file.h"

#include "text/list_collation.h"
#include "files/whole_file.h"
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
    auto bytes = ReadWholeFile(PathFromCp932(path), read_limit::List);
    if (!bytes)
        return std::nullopt;
    // Sorted as views into the file's bytes, so each line is copied once, into its place.
    const std::string_view text = *bytes;
    const std::vector<std::string_view> views = SplitLines(text.substr(0, text.find('\0')));
    std::vector<std::string> lines;
    lines.reserve(views.size());
    const std::vector<std::uint32_t> order = ListSortOrder(views);
    for (std::size_t k = 0; k < order.size(); ++k) {
        // The lines are taken far apart from each other: ask early for the view of one a few
        // places ahead and for the text of a nearer one, whose view has arrived by then.
        if (k + 16 < order.size())
            __builtin_prefetch(&views[order[k + 16]]);
        if (k + 8 < order.size())
            __builtin_prefetch(views[order[k + 8]].data());
        lines.emplace_back(views[order[k]]);
    }
    return lines;
}

void WriteListFile(const std::string& path, const std::vector<std::string>& lines) {
    WriteFileAtomically(PathFromCp932(path), JoinListText(lines));
}

} // namespace tobira
