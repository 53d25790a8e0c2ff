// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/play_list_builder.h"

#include "files/regular_file.h"
#include "text/list_collation.h"
#include "midi_windows/list_file.h"
#include "midi_windows/song_record.h"

#include <algorithm>
#include <iterator>
#include <system_error>

namespace tobira {
namespace {

void appendRecord(PlayList& playList, SongRecord&& record) {
    std::string text;
    text.reserve(record.Vol.size() + 1 + record.Title.size());
    text.append(record.Vol).append(1, ' ').append(record.Title);
    playList.append(std::move(text), std::move(record.Path), std::move(record.Vol),
                    std::move(record.Feel));
}

// Feel 0 twice, 1 once, 2 by a coin of random(10) < 5, anything else never. Empty when a Feel
// is not a number.
std::optional<std::vector<std::string>> weightedLines(std::vector<std::string>& lines,
                                                      RandomPort& random) {
    std::vector<std::string> weighted;
    weighted.reserve(lines.size() + lines.size() / 4);
    for (auto& line : lines) {
        auto feel = ParseListNumber(SplitListLine(line).Feel);
        if (!feel)
            return std::nullopt;
        switch (*feel) {
        case 0:
            weighted.push_back(line);
            weighted.push_back(std::move(line));
            break;
        case 1:
            weighted.push_back(std::move(line));
            break;
        case 2:
            if (random.random(10) < 5)
                weighted.push_back(std::move(line));
            break;
        default:
            break;
        }
    }
    return weighted;
}

} // namespace

bool BuildPlayList(std::vector<std::string> workList, MidiOrder order, RandomPort& random,
                   PlayList& playList) {
    std::size_t first = 0; // lines before it have been taken already
    switch (order) {
    case MidiOrder::Nor:
        for (auto& line : workList) {
            // The mark is part of the title: a title shorter than a mark must not take the
            // path's first bytes with it, or the wrong file would play.
            if (HasNewSongMark(line))
                line.erase(0, std::min<std::size_t>(3, line.find('\t')));
        }
        break;
    case MidiOrder::New: {
        while (first < workList.size() && HasNewSongMark(workList[first])) {
            appendRecord(playList, SplitListLine(workList[first]));
            ++first;
        }
        ShuffleEntries(workList.size() - first, random, [&](std::size_t i, std::size_t j) {
            std::swap(workList[first + i], workList[first + j]);
        });
        break;
    }
    case MidiOrder::Rnd: {
        auto weighted = weightedLines(workList, random);
        if (!weighted)
            return false;
        workList = std::move(*weighted);
        ShuffleVector(workList, random);
        break;
    }
    }
    for (std::size_t i = first; i < workList.size(); ++i) {
        SongRecord record = SplitListLine(workList[i]);
        if (record.Feel != "3")
            appendRecord(playList, std::move(record));
    }
    return true;
}

std::optional<std::vector<std::string>> LoadWorkList(MidiListSource source,
                                                     const std::string& list0Path,
                                                     const std::string& list1Path,
                                                     MessagePort& messages, BusyCursorPort& busy) {
    std::vector<std::string> paths;
    if (source != MidiListSource::List1)
        paths.push_back(list0Path);
    if (source != MidiListSource::List0)
        paths.push_back(list1Path);

    std::vector<std::string> lines;
    bool anyFile = false;
    try {
        busy.runBusy([&paths, &lines, &anyFile] {
            for (const auto& path : paths) {
                auto fileLines = ReadListFile(path);
                if (!fileLines)
                    continue;
                anyFile = true;
                auto middle = static_cast<std::ptrdiff_t>(lines.size());
                lines.insert(lines.end(), std::make_move_iterator(fileLines->begin()),
                             std::make_move_iterator(fileLines->end()));
                // Each file comes sorted: merging keeps the union sorted as one list.
                std::inplace_merge(lines.begin(), lines.begin() + middle, lines.end(),
                                   [](const std::string& a, const std::string& b) {
                                       return CompareListLines(a, b) < 0;
                                   });
            }
        });
    } catch (const std::system_error& error) {
        messages.showMessage(ListUnreadableMessage(source) + FileFailureReason(error));
        return std::nullopt;
    }
    if (!anyFile) {
        messages.showMessage(ListMissingMessage(source));
        return std::nullopt;
    }
    if (lines.empty()) {
        messages.showMessage(ListUnreadableMessage(source));
        return std::nullopt;
    }
    return lines;
}

bool LoadPlayList(MidiListSource source, MidiOrder order, const std::string& list0Path,
                  const std::string& list1Path, RandomPort& random, MessagePort& messages,
                  BusyCursorPort& busy, PlayList& playList) {
    playList.clear();
    auto workList = LoadWorkList(source, list0Path, list1Path, messages, busy);
    if (!workList)
        return false;
    if (!BuildPlayList(std::move(*workList), order, random, playList))
        messages.showMessage(ListUnreadableMessage(source));
    return !playList.empty();
}

} // namespace tobira
