// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/cp932_chars.h"

#include <limits>
#include <stdexcept>

namespace tobira {

bool IsTrailByte(std::string_view text, long long index) {
    if (index < 1 || static_cast<unsigned long long>(index) > text.size())
        throw std::out_of_range("Illegal Index");
    // A byte that is not a lead byte always ends a character, so a character starts right after
    // it; from there the lead-byte values pair up. An odd run means the byte at index completes
    // a pair. This reads backwards only as far as needed instead of walking from the start.
    std::size_t run = 0;
    for (auto pos = static_cast<std::size_t>(index - 1); pos > 0; --pos) {
        if (!IsLeadByte(static_cast<unsigned char>(text[pos - 1])))
            break;
        ++run;
    }
    return run % 2 == 1;
}

std::string CopyChars(std::string_view text, long long first, long long count) {
    std::string result;
    if (count <= 0)
        return result;
    // "To the end" is often written as a huge count: saturate instead of wrapping.
    constexpr long long kMax = std::numeric_limits<long long>::max();
    const long long last = first > 0 && count > kMax - first ? kMax : first + count - 1;
    std::size_t begin = text.size();
    std::size_t end = text.size();
    long long number = 1;
    for (std::size_t pos = 0; pos < text.size(); ++number) {
        if (number == first || (pos == 0 && first < 1))
            begin = pos;
        if (number > last) {
            end = pos;
            break;
        }
        pos += CharLengthAt(text, pos);
    }
    if (begin < end)
        result.assign(text.substr(begin, end - begin));
    return result;
}

} // namespace tobira
