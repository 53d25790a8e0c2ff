// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sizes inside a WAV file checked against the file itself, before any decoder trusts them.

#include <optional>
#include <string>
#include <string_view>

namespace tobira {

// The reason, in words, when a chunk up to and including "data" declares more bytes than the
// file holds after its header (a cut-off or forged file: SDL would allocate the declared size,
// up to 4 GB, before finding out). Nullopt when the sizes fit, and for bytes that are no RIFF
// WAVE at all, which the decoder refuses in its own words. A file that starts with "WAVE"
// without the RIFF header is read as SDL reads it: its chunks follow at once.
std::optional<std::string> WaveSizeFault(std::string_view bytes);

} // namespace tobira
