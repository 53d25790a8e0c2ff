#pragma once

#include <string>
#include <string_view>

namespace tobira {

// ToFullWidth, then UpperCaseCp932: two texts that differ only in half-width/full-width form or
// in letter case normalise to the same bytes. Both the keyword and the candidate go through it.
std::string NormaliseForLooseSearch(std::string_view text);

// Whether `keyword` occurs in `text` starting at a character boundary; an occurrence that would
// begin on the second byte of a double-byte character does not count. False when either is
// empty.
bool ContainsAt(std::string_view keyword, std::string_view text);

} // namespace tobira
