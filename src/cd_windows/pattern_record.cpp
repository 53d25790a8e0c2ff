// SPDX-License-Identifier: GPL-3.0-or-later
#include "cd_windows/pattern_record.h"

#include "text/cp932_chars.h"

#include <algorithm>
#include <stdexcept>

namespace tobira {

std::string PatternKey(std::string_view discId, int slot) {
    if (slot < 0 || slot >= kPatternSlots)
        throw std::out_of_range("pattern slot " + std::to_string(slot));
    std::string key(discId);
    key += static_cast<char>('0' + slot);
    return key;
}

std::string PatternRecordLine(std::string_view key, std::string_view patternText) {
    std::string line;
    line.reserve(key.size() + 1 + patternText.size());
    line.append(key).append("=").append(patternText);
    return line;
}

std::string PatternTextOfLine(std::string_view line) {
    if (line.size() <= kPatternTextOffset)
        return {};
    return std::string(CutText(line.substr(kPatternTextOffset), kPatternTextLimit));
}

std::string_view CutText(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    // Walk by characters so that a cut never leaves half a kanji behind for the display.
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + CharLengthAt(text, end);
        if (next > maxBytes)
            break;
        end = next;
    }
    return text.substr(0, end);
}

PatternTextParts SplitPatternText(std::string_view patternText) {
    auto stop = patternText.find('.');
    if (stop == std::string_view::npos)
        return {patternText, {}, false};
    return {patternText.substr(0, stop), patternText.substr(stop + 1), true};
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

TrackOrder ReadTrackOrder(std::string_view order) {
    TrackOrder result;
    while (order.size() >= 2 &&
           result.tracks.size() < static_cast<std::size_t>(kMaxTrackOrderEntries)) {
        if (!isDigit(order[0]) || !isDigit(order[1])) {
            result.complete = false;
            break;
        }
        result.tracks.push_back((order[0] - '0') * 10 + (order[1] - '0'));
        order.remove_prefix(std::min<std::size_t>(3, order.size()));
    }
    return result;
}

std::string FormatTrackOrder(std::span<const int> tracks) {
    std::string order;
    order.reserve(tracks.size() * 3);
    for (int track : tracks) {
        // Three characters per entry is what the reader steps by; a wider number would shift
        // every entry after it.
        if (track <= 0 || track > 99)
            continue;
        order += static_cast<char>('0' + track / 10);
        order += static_cast<char>('0' + track % 10);
        order += ' ';
    }
    return order;
}

} // namespace tobira
