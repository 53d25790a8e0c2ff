#include "text/search.h"

#include "text/cp932_chars.h"
#include "text/full_width.h"
#include "text/upper_case.h"

namespace tobira {

std::string NormaliseForLooseSearch(std::string_view text) {
    std::string result = ToFullWidth(text);
    UpperCaseCp932InPlace(result);
    return result;
}

bool ContainsAt(std::string_view keyword, std::string_view text) {
    if (keyword.empty() || text.empty())
        return false;
    // Let the library's byte search find candidates, and walk the characters only as far as a
    // candidate to see whether it starts one: most lines of a search hold no candidate at all.
    std::size_t boundary = 0;
    for (std::size_t hit = text.find(keyword); hit != std::string_view::npos;
         hit = text.find(keyword, hit + 1)) {
        while (boundary < hit)
            boundary += CharLengthAt(text, boundary);
        if (boundary == hit)
            return true;
    }
    return false;
}

} // namespace tobira
