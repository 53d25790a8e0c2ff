// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/search.h"

#include "text/cp932_chars.h"

#include <algorithm>
#include <string.h>

namespace tobira {

bool ContainsAt(std::string_view keyword, std::string_view text) {
    if (keyword.empty() || text.empty())
        return false;
    // glibc's memmem finds candidates quickly even where the keyword's first byte is common (a
    // katakana lead byte); the characters are walked only as far as a candidate, to see whether
    // it starts one.
    const char* const base = text.data();
    const char* const end = base + text.size();
    std::size_t boundary = 0;
    for (const char* from = base; from < end;) {
        const auto* hit = static_cast<const char*>(
            memmem(from, static_cast<std::size_t>(end - from), keyword.data(), keyword.size()));
        if (hit == nullptr)
            break;
        const auto pos = static_cast<std::size_t>(hit - base);
        while (boundary < pos)
            boundary += CharLengthAt(text, boundary);
        if (boundary == pos)
            return true;
        from = hit + 1;
    }
    return false;
}

void LineBlock::add(std::string_view line) {
    starts_.push_back(text_.size());
    text_.append(line).push_back('\n');
}

std::string_view LineBlock::line(std::size_t i) const {
    const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : text_.size();
    return std::string_view(text_).substr(starts_[i], end - starts_[i] - 1);
}

std::vector<std::size_t> LinesContaining(std::string_view keyword, const LineBlock& block) {
    std::vector<std::size_t> found;
    if (keyword.empty())
        return found;
    // One memmem over all the lines finds the candidates; each is then checked inside its own
    // line, which also rules out a match running into the next line.
    const char* const base = block.text_.data();
    const char* const end = base + block.text_.size();
    for (const char* from = base; from < end;) {
        const auto* hit = static_cast<const char*>(
            memmem(from, static_cast<std::size_t>(end - from), keyword.data(), keyword.size()));
        if (hit == nullptr)
            break;
        const auto pos = static_cast<std::size_t>(hit - base);
        const auto after = std::upper_bound(block.starts_.begin(), block.starts_.end(), pos);
        const auto i = static_cast<std::size_t>(after - block.starts_.begin()) - 1;
        if (ContainsAt(keyword, block.line(i))) {
            found.push_back(i);
            from = after == block.starts_.end() ? end : base + *after;
        } else {
            from = hit + 1;
        }
    }
    return found;
}

} // namespace tobira
