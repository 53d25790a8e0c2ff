// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The MIDI play list: four parallel columns, index i in each being the same entry. The play
// page of the control window shows EntryText; Path and Vol are read while playing; Feel is
// carried along.

#include "ports/ports.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tobira {

class PlayList final {
  public:
    // `entryText` is what the play page shows: for list songs Vol, a space and Title.
    void append(std::string entryText, std::string path, std::string vol, std::string feel);
    void clear();
    std::size_t size() const { return entryTexts_.size(); }
    bool empty() const { return entryTexts_.empty(); }

    // Swaps two whole entries, all four columns together.
    void swapEntries(std::size_t i, std::size_t j);

    const std::string& entryText(std::size_t i) const { return entryTexts_.at(i); }
    const std::string& path(std::size_t i) const { return paths_.at(i); }
    const std::string& vol(std::size_t i) const { return vols_.at(i); }
    const std::string& feel(std::size_t i) const { return feels_.at(i); }

    const std::vector<std::string>& entryTexts() const { return entryTexts_; }
    const std::vector<std::string>& paths() const { return paths_; }
    const std::vector<std::string>& vols() const { return vols_; }
    const std::vector<std::string>& feels() const { return feels_; }

  private:
    std::vector<std::string> entryTexts_;
    std::vector<std::string> paths_;
    std::vector<std::string> vols_;
    std::vector<std::string> feels_;
};

// The program's one shuffle: for i from n-1 down to 1, swap entry i with entry random(i-1)
// (so j lies in 0..i-2, and is 0 for i = 1). `swap(i, j)` exchanges two entries.
template <typename Swap> void ShuffleEntries(std::size_t n, RandomPort& random, Swap&& swap) {
    for (std::size_t i = n > 0 ? n - 1 : 0; i >= 1; --i) {
        auto j = static_cast<std::size_t>(random.random(static_cast<int>(i) - 1));
        swap(i, j);
    }
}

template <typename T> void ShuffleVector(std::vector<T>& items, RandomPort& random) {
    ShuffleEntries(items.size(), random,
                   [&items](std::size_t i, std::size_t j) { std::swap(items[i], items[j]); });
}

// Shuffles a filled play list. Every column moves with its entry, Feel included, so the
// columns never fall out of step.
void ShufflePlayList(PlayList& playList, RandomPort& random);

} // namespace tobira
