// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keys of one INI section with their raw values, as views into the file's bytes: the first
// of equal keys counts, names compare as key names do (ASCII case ignored, double-byte characters
// whole). Built for a few lookups among very many keys (a file that a runaway writer grew to
// millions of lines): the entries lie in one array in file order, and the table that finds them
// holds a piece of each key's hash and its entry's number, so that adding a key touches one
// small slot, not a node of its own.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace tobira {

class IniKeyIndex final {
  public:
    using Entry = std::pair<std::string_view, std::string_view>; // key, raw value
    using const_iterator = const Entry*;

    // Room for `entries` keys without growing the table.
    void reserve(std::size_t entries);
    // Adds the key unless an equal one is there already; true when added.
    bool add(std::string_view key, std::string_view value);

    const_iterator find(std::string_view key) const;
    const_iterator begin() const { return entries_.data(); }
    const_iterator end() const { return entries_.data() + entries_.size(); }
    std::size_t size() const { return entries_.size(); }

  private:
    // A slot: the hash's high 32 bits, then the entry's number + 1 (0 marks a free slot).
    using Slot = std::uint64_t;
    std::size_t slotOf(std::string_view key, std::uint64_t hash) const;
    void grow(std::size_t slots);

    std::vector<Entry> entries_;
    std::vector<Slot> slots_;
};

} // namespace tobira
