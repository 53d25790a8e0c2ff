// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/play_list.h"

namespace tobira {

void PlayList::append(std::string entryText, std::string path, std::string vol, std::string feel) {
    entryTexts_.push_back(std::move(entryText));
    paths_.push_back(std::move(path));
    vols_.push_back(std::move(vol));
    feels_.push_back(std::move(feel));
}

void PlayList::clear() {
    entryTexts_.clear();
    paths_.clear();
    vols_.clear();
    feels_.clear();
}

void PlayList::swapEntries(std::size_t i, std::size_t j) {
    std::swap(entryTexts_.at(i), entryTexts_.at(j));
    std::swap(paths_.at(i), paths_.at(j));
    std::swap(vols_.at(i), vols_.at(j));
    std::swap(feels_.at(i), feels_.at(j));
}

void ShufflePlayList(PlayList& playList, RandomPort& random) {
    ShuffleEntries(playList.size(), random,
                   [&playList](std::size_t i, std::size_t j) { playList.swapEntries(i, j); });
}

} // namespace tobira
