// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/trim.h"

#include "text/cp932_chars.h"

namespace tobira {
namespace {

std::size_t LeftSpacesEnd(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ')
            pos += 1;
        else if (text.compare(pos, 2, "\x81\x40") == 0)
            pos += 2;
        else
            break;
    }
    return pos;
}

std::size_t RightSpacesBegin(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0) {
        if (IsTrailByte(text.substr(0, end), static_cast<long long>(end))) {
            if (text.compare(end - 2, 2, "\x81\x40") != 0)
                break;
            end -= 2;
        } else if (text[end - 1] == ' ') {
            end -= 1;
        } else {
            break;
        }
    }
    return end;
}

} // namespace

std::string TrimLeftSpaces(std::string_view text) {
    return std::string(text.substr(LeftSpacesEnd(text)));
}

std::string TrimRightSpaces(std::string_view text) {
    return std::string(text.substr(0, RightSpacesBegin(text)));
}

std::string TrimSpaces(std::string_view text) {
    const std::string_view left = text.substr(LeftSpacesEnd(text));
    return std::string(left.substr(0, RightSpacesBegin(left)));
}

} // namespace tobira
