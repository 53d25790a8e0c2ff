#pragma once

#include "text/full_width.h" // NormaliseForLooseSearch, for the loose search

#include <string_view>

namespace tobira {

// Whether `keyword` occurs in `text` starting at a character boundary; an occurrence that would
// begin on the second byte of a double-byte character does not count. False when either is
// empty.
bool ContainsAt(std::string_view keyword, std::string_view text);

} // namespace tobira
