// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_document.h"

#include <cstdint>
#include <stdexcept>

namespace tobira {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Trail bytes of code page 932 include "[", "]" and the ASCII letters, so every scan that
// looks for those must step over double-byte characters whole.
bool isLeadByte(char c) {
    auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isLeadByte(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            ++i;
            continue;
        }
        auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

// The name of a "[name]" header line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    std::string_view t = trimBlanks(line);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    for (std::size_t i = 1; i < t.size(); ++i) {
        if (t[i] == ']')
            return trimBlanks(t.substr(1, i - 1));
        if (isLeadByte(t[i]))
            ++i;
    }
    return std::nullopt;
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

std::optional<Entry> entryOf(std::string_view line) {
    std::string_view t = trimBlanks(line);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return std::nullopt;
    std::size_t eq = t.find('='); // "=" is never a trail byte
    if (eq == std::string_view::npos)
        return std::nullopt;
    return Entry{trimBlanks(t.substr(0, eq)), trimBlanks(t.substr(eq + 1))};
}

std::string quotedIfNeeded(std::string_view value) {
    bool quote =
        !value.empty() && (isBlank(value.front()) || isBlank(value.back()) ||
                           (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
    if (!quote)
        return std::string(value);
    return '"' + std::string(value) + '"';
}

void checkName(std::string_view name, const char* what) {
    if (name.empty() || trimBlanks(name) != name || name.find_first_of("\r\n") != name.npos)
        throw std::invalid_argument(std::string("unusable INI ") + what);
}

void checkEntry(std::string_view section, std::string_view key, std::string_view value) {
    checkName(section, "section name");
    checkName(key, "key");
    if (key.find('=') != key.npos || key.front() == '[' || key.front() == ';')
        throw std::invalid_argument("unusable INI key");
    if (value.find_first_of("\r\n") != value.npos)
        throw std::invalid_argument("INI value with a line break");
}

std::string unquoted(std::string_view v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

} // namespace

std::string FoldIniName(std::string_view name) {
    std::string folded(name);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (isLeadByte(folded[i]) && i + 1 < folded.size()) {
            ++i;
            continue;
        }
        if (folded[i] >= 'a' && folded[i] <= 'z')
            folded[i] = static_cast<char>(folded[i] - 32);
    }
    return folded;
}

IniDocument IniDocument::parse(std::string_view bytes) {
    IniDocument doc;
    while (!bytes.empty()) {
        std::size_t lf = bytes.find('\n');
        if (lf == std::string_view::npos) {
            doc.lines_.push_back({std::string(bytes), ""});
            break;
        }
        std::string_view text = bytes.substr(0, lf);
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
            doc.lines_.push_back({std::string(text), "\r\n"});
        } else {
            doc.lines_.push_back({std::string(text), "\n"});
        }
        bytes.remove_prefix(lf + 1);
    }
    return doc;
}

std::string IniDocument::bytes() const {
    std::size_t size = 0;
    for (const Line& line : lines_)
        size += line.text.size() + line.ending.size();
    std::string out;
    out.reserve(size);
    for (const Line& line : lines_) {
        out += line.text;
        out += line.ending;
    }
    return out;
}

std::optional<IniDocument::Span> IniDocument::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto name = sectionName(lines_[i].text);
        if (!name || !equalsIgnoringCase(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && !sectionName(lines_[end].text))
            ++end;
        return Span{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::findKey(const Span& span, std::string_view key) const {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        auto entry = entryOf(lines_[i].text);
        if (entry && equalsIgnoringCase(entry->key, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    auto span = findSection(section);
    if (!span)
        return std::nullopt;
    auto index = findKey(*span, key);
    if (!index)
        return std::nullopt;
    return unquoted(entryOf(lines_[*index].text)->value);
}

std::size_t IniDocument::NameHash::operator()(std::string_view name) const {
    std::size_t hash = 14695981039346656037u;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (isLeadByte(c) && i + 1 < name.size()) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
            c = name[++i];
        } else if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 32);
        }
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    }
    return hash;
}

bool IniDocument::NameEqual::operator()(std::string_view a, std::string_view b) const {
    return equalsIgnoringCase(a, b);
}

std::string IniDocument::Unquoted(std::string_view value) {
    return unquoted(value);
}

IniDocument::SectionIndex IniDocument::indexSection(std::string_view bytes,
                                                    std::string_view section) {
    SectionIndex index;
    // About one entry per 32 bytes: growing the table step by step costs more than the scan.
    index.reserve(bytes.size() / 32);
    bool inside = false;
    while (!bytes.empty()) {
        // The lines as parse() splits them.
        const std::size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (auto name = sectionName(line)) {
            if (inside)
                break; // only the first section of that name counts
            inside = equalsIgnoringCase(*name, section);
            continue;
        }
        if (!inside)
            continue;
        if (auto entry = entryOf(line))
            index.add(entry->key, entry->value);
    }
    return index;
}

IniDocument::FileIndex IniDocument::indexSections(std::string_view bytes) {
    FileIndex sections;
    // About one entry per 32 bytes: growing the table step by step costs more than the scan.
    const std::size_t expected = bytes.size() / 32;
    SectionIndex* current = nullptr;
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (auto name = sectionName(line)) {
            // Only the first section of a name counts; the keys of a later one are passed over.
            auto [section, added] = sections.try_emplace(FoldIniName(*name));
            current = added ? &section->second : nullptr;
            if (current && sections.size() == 1)
                current->reserve(expected);
            continue;
        }
        if (!current)
            continue;
        if (auto entry = entryOf(line))
            current->add(entry->key, entry->value);
    }
    return sections;
}

void IniDocument::setValues(std::string_view section,
                            const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [key, value] : values)
        checkEntry(section, key, value);
    if (values.empty())
        return;
    auto span = findSection(section);
    if (!span) {
        setValue(section, values.front().first, values.front().second);
        span = findSection(section);
    }
    // Where each key to set has its line, and where new keys go: after the section's last
    // entry. Only the keys being set are looked for, so a huge section costs one plain pass.
    std::unordered_map<std::string_view, std::size_t, NameHash, NameEqual> lineOfKey;
    for (const auto& [key, value] : values)
        lineOfKey.emplace(key, SIZE_MAX);
    std::size_t after = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        if (auto entry = entryOf(lines_[i].text)) {
            if (auto found = lineOfKey.find(entry->key);
                found != lineOfKey.end() && found->second == SIZE_MAX)
                found->second = i;
            after = i;
        }
    }
    std::vector<Line> added;
    std::unordered_map<std::string_view, std::size_t, NameHash, NameEqual> addedOfKey;
    for (const auto& [key, value] : values) {
        Line line{key + '=' + quotedIfNeeded(value), "\r\n"};
        if (auto found = lineOfKey.find(key); found->second != SIZE_MAX) {
            lines_[found->second] = std::move(line);
        } else if (auto again = addedOfKey.find(key); again != addedOfKey.end()) {
            added[again->second] = std::move(line);
        } else {
            addedOfKey.emplace(key, added.size());
            added.push_back(std::move(line));
        }
    }
    if (added.empty())
        return;
    if (lines_[after].ending.empty())
        lines_[after].ending = "\r\n";
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after) + 1,
                  std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    checkEntry(section, key, value);

    std::string text = std::string(key) + '=' + quotedIfNeeded(value);
    auto span = findSection(section);
    if (!span) {
        if (!lines_.empty() && lines_.back().ending.empty())
            lines_.back().ending = "\r\n";
        lines_.push_back({'[' + std::string(section) + ']', "\r\n"});
        lines_.push_back({std::move(text), "\r\n"});
        return;
    }
    if (auto index = findKey(*span, key)) {
        lines_[*index] = {std::move(text), "\r\n"};
        return;
    }
    // After the section's last entry, so blank lines and comments that lead into the next
    // section stay in front of it.
    std::size_t after = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        if (entryOf(lines_[i].text))
            after = i;
    }
    if (lines_[after].ending.empty())
        lines_[after].ending = "\r\n";
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after) + 1,
                  Line{std::move(text), "\r\n"});
}

} // namespace tobira
