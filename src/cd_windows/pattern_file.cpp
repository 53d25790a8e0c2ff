// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/pattern_file.h"

#include "files/whole_file.h"
#include "text/cp932_convert.h"
#include "text/crlf_lines.h"

#include <stdexcept>

namespace tobira {
namespace {

bool holdsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

void appendLine(std::string& out, std::string_view line) {
    out.append(line).append("\r\n");
}

} // namespace

std::vector<std::string_view> SplitPatternLines(std::string_view bytes) {
    return SplitLines(bytes);
}

std::string JoinPatternLines(const std::vector<std::string>& lines) {
    return JoinCrLfLines(lines);
}

std::optional<std::size_t> FindPatternLine(const std::vector<std::string_view>& lines,
                                           std::string_view key) {
    if (!IsUsablePatternKey(key))
        return std::nullopt;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(key) != std::string_view::npos)
            return i;
    }
    return std::nullopt;
}

PatternTable BuildPatternTable(const std::vector<std::string_view>& lines,
                               std::string_view discId) {
    PatternTable table;
    if (!IsUsablePatternKey(PatternKey(discId, 0)))
        return table;
    // One pass instead of ten: every occurrence of the DiscId followed by a digit is the key of
    // that digit's slot, and the first line to show a slot's key wins it. Same result as
    // searching the ten keys one after another.
    std::array<bool, kPatternSlots> found{};
    int remaining = kPatternSlots;
    for (std::string_view line : lines) {
        for (std::size_t at = line.find(discId); at != std::string_view::npos;
             at = line.find(discId, at + 1)) {
            std::size_t digitAt = at + discId.size();
            if (digitAt >= line.size())
                break;
            char digit = line[digitAt];
            if (digit < '0' || digit > '9')
                continue;
            int slot = digit - '0';
            if (found[slot])
                continue;
            found[slot] = true;
            table[slot] = PatternTextOfLine(line);
            if (--remaining == 0)
                return table;
        }
    }
    return table;
}

std::string AppendRecordBytes(std::string_view bytes, std::string_view key,
                              std::string_view patternText) {
    std::string out;
    out.reserve(bytes.size() + key.size() + patternText.size() + 5);
    out.append(bytes);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r')
        out.append("\r\n");
    appendLine(out, PatternRecordLine(key, patternText));
    return out;
}

std::optional<std::string> RemoveRecordBytes(std::string_view bytes, std::string_view key) {
    auto lines = SplitPatternLines(bytes);
    auto found = FindPatternLine(lines, key);
    if (!found)
        return std::nullopt;
    std::string out;
    out.reserve(bytes.size() + lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != *found)
            appendLine(out, lines[i]);
    }
    return out;
}

std::optional<std::vector<std::string>> ReadPatternLines(const std::string& path) {
    auto bytes = ReadWholeFile(PathFromCp932(path), read_limit::Pattern);
    if (!bytes)
        return std::nullopt;
    auto views = SplitPatternLines(*bytes);
    return std::vector<std::string>(views.begin(), views.end());
}

void WritePatternLines(const std::string& path, const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        if (holdsLineBreak(line))
            throw std::invalid_argument("a pattern line cannot hold a line break");
    }
    WriteFileAtomically(PathFromCp932(path), JoinPatternLines(lines));
}

void AppendPatternRecord(const std::string& path, std::string_view key,
                         std::string_view patternText) {
    if (!IsUsablePatternKey(key))
        throw std::invalid_argument("pattern key without a disc identity");
    if (holdsLineBreak(key) || holdsLineBreak(patternText))
        throw std::invalid_argument("a pattern record cannot hold a line break");
    auto file = PathFromCp932(path);
    auto bytes = ReadWholeFile(file, read_limit::Pattern);
    WriteFileAtomically(file, AppendRecordBytes(bytes.value_or(std::string()), key, patternText));
}

bool DeletePatternRecord(const std::string& path, std::string_view key) {
    auto file = PathFromCp932(path);
    auto bytes = ReadWholeFile(file, read_limit::Pattern);
    if (!bytes)
        return false;
    auto rest = RemoveRecordBytes(*bytes, key);
    if (!rest)
        return false;
    WriteFileAtomically(file, *rest);
    return true;
}

} // namespace tobira
