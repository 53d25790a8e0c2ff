// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/full_width.h" // NormaliseForLooseSearch, for the loose search

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tobira {

// Whether `keyword` occurs in `text` starting at a character boundary; an occurrence that would
// begin on the second byte of a double-byte character does not count. False when either is
// empty.
bool ContainsAt(std::string_view keyword, std::string_view text);

// Many lines kept end to end in one text, each followed by an LF, so that one pass searches
// them all. Lines hold no LF.
class LineBlock final {
  public:
    void add(std::string_view line);
    std::size_t size() const { return starts_.size(); }
    std::string_view line(std::size_t i) const;

  private:
    friend std::vector<std::size_t> LinesContaining(std::string_view, const LineBlock&);
    std::string text_;
    std::vector<std::size_t> starts_;
};

// The numbers of the lines `line` of `block` for which ContainsAt(keyword, line), ascending.
std::vector<std::size_t> LinesContaining(std::string_view keyword, const LineBlock& block);

} // namespace tobira
