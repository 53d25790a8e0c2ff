#include "text/search.h"

#include "text/cp932_chars.h"

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

} // namespace tobira
