// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_key_index.h"

#include "settings/ini_document.h"

#include <algorithm>
#include <bit>

namespace tobira {

namespace {

std::uint64_t HashOf(std::string_view key) {
    return IniDocument::NameHash{}(key);
}

// The high half of the hash, the better mixed one, places a key and is kept in its slot, so
// that growing the table never hashes a key again.
std::uint32_t Tag(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash >> 32);
}

} // namespace

void IniKeyIndex::reserve(std::size_t entries) {
    entries_.reserve(entries);
    // At most half full: probes stay short.
    const std::size_t wanted = std::bit_ceil(std::max<std::size_t>(16, 2 * entries));
    if (wanted > slots_.size())
        grow(wanted);
}

// The slot that holds `key`, or the free slot where it would go.
std::size_t IniKeyIndex::slotOf(std::string_view key, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const IniDocument::NameEqual equal;
    for (std::size_t at = Tag(hash) & mask;; at = (at + 1) & mask) {
        const Slot slot = slots_[at];
        const auto entry = static_cast<std::uint32_t>(slot);
        if (entry == 0)
            return at;
        if (static_cast<std::uint32_t>(slot >> 32) == Tag(hash) &&
            equal(entries_[entry - 1].first, key))
            return at;
    }
}

void IniKeyIndex::grow(std::size_t slots) {
    std::vector<Slot> old(slots, 0);
    old.swap(slots_);
    const std::size_t mask = slots - 1;
    for (const Slot slot : old) {
        if (slot == 0)
            continue;
        std::size_t at = (slot >> 32) & mask;
        while (slots_[at] != 0)
            at = (at + 1) & mask;
        slots_[at] = slot;
    }
}

bool IniKeyIndex::add(std::string_view key, std::string_view value) {
    if (2 * (entries_.size() + 1) > slots_.size())
        grow(std::max<std::size_t>(16, 2 * slots_.size()));
    const std::uint64_t hash = HashOf(key);
    const std::size_t at = slotOf(key, hash);
    if (slots_[at] != 0)
        return false;
    entries_.emplace_back(key, value);
    slots_[at] = (Slot{Tag(hash)} << 32) | entries_.size();
    return true;
}

IniKeyIndex::const_iterator IniKeyIndex::find(std::string_view key) const {
    if (slots_.empty())
        return end();
    const std::uint64_t hash = HashOf(key);
    const auto entry = static_cast<std::uint32_t>(slots_[slotOf(key, hash)]);
    return entry == 0 ? end() : begin() + (entry - 1);
}

} // namespace tobira
