// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/memory_return.h"

#include <malloc.h>

namespace tobira {

void ReturnFreedMemory() {
    // Trims every arena, also the loader thread's own, and releases free pages inside the heap,
    // not only at its top.
    malloc_trim(0);
}

} // namespace tobira
