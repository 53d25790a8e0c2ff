// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The runs of soak_memory_bench.

namespace tobira::testing {

// Prints the growth of the resident set from `warmKb` to `endKb` against the budget; whether
// it is within.
bool Report(const char* run, long warmKb, long endKb);
// A thousand MIDI songs, each after its reset song, in name order and then at random.
bool MidiThousandSongs();

} // namespace tobira::testing
