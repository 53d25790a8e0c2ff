// SPDX-License-Identifier: GPL-3.0-or-later
// An album (a list file played as a play list) in every order: the four columns stay in step,
// nothing is played that the album does not hold, and the random order honours each Feel.
#include "app/seeded_random.h"
#include "fuzz_support.h"
#include "text/list_collation.h"
#include "midi_windows/list_file.h"
#include "midi_windows/play_list_builder.h"
#include "midi_windows/song_record.h"

#include <vector>
#include <set>

using namespace tobira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines = SplitListText(fuzz::AsText(data, size));
    SortListLines(lines);
    std::set<std::string> paths;
    for (const auto& line : lines)
        paths.insert(SplitListLine(line).Path);

    for (MidiOrder order : {MidiOrder::Nor, MidiOrder::New, MidiOrder::Rnd}) {
        SeededRandom random;
        random.seed(size);
        PlayList list;
        const bool built = BuildPlayList(lines, order, random, list);
        FUZZ_CHECK(built || order == MidiOrder::Rnd);
        FUZZ_CHECK(list.paths().size() == list.size() && list.vols().size() == list.size() &&
                   list.feels().size() == list.size());
        FUZZ_CHECK(list.size() <= (order == MidiOrder::Rnd ? 2 : 1) * lines.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            FUZZ_CHECK(paths.count(list.path(i)) == 1);
            if (order == MidiOrder::Rnd) {
                const auto feel = ParseListNumber(list.feel(i));
                FUZZ_CHECK(feel && *feel >= 0 && *feel <= 2);
            }
        }
        if (!built)
            FUZZ_CHECK(list.empty());
    }
    return 0;
}
