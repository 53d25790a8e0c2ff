// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tobira {

// Hands the heap pages freed since the last call back to the system. The C library keeps freed
// memory for later allocations; after a synthesizer and its SoundFont (tens of megabytes of
// samples) have gone, that would leave the player that much larger for the rest of the run.
// Takes a few milliseconds: call it off the UI and audio threads.
void ReturnFreedMemory();

} // namespace tobira
