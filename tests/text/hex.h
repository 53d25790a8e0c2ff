// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test helper: bytes written as hex pairs ("82 60 41"), so expectations pin exact bytes.

#include <stdexcept>
#include <string>
#include <string_view>

namespace tobira::test {

inline std::string Hex(std::string_view pairs) {
    std::string bytes;
    std::size_t i = 0;
    while (i < pairs.size()) {
        if (pairs[i] == ' ') {
            ++i;
            continue;
        }
        if (i + 1 >= pairs.size())
            throw std::invalid_argument("odd hex digit count");
        bytes.push_back(static_cast<char>(std::stoi(std::string(pairs.substr(i, 2)), nullptr, 16)));
        i += 2;
    }
    return bytes;
}

// The opposite, for readable failure messages.
inline std::string ToHex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

} // namespace tobira::test
