// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace tobira {

// Replaces every half-width character that has a full-width form by that form: ASCII letters,
// digits, space and symbols, half-width katakana (with a following sound mark folded in where
// the pair has a single full-width form) and half-width punctuation. Double-byte characters and
// everything without a full-width form (control bytes, ｢ ｣, a sound mark standing alone) are
// copied unchanged. Code page 932 in and out.
std::string ToFullWidth(std::string_view text);

// ToFullWidth, then upper-casing (UpperCaseCp932), in one pass: texts that differ only in
// half-width/full-width form or in letter case normalise to the same bytes. The loose search
// puts both the keyword and every candidate through it.
std::string NormaliseForLooseSearch(std::string_view text);
// The same into `out`, whose storage is reused: a search over many lines normalises each into
// one buffer instead of allocating a string per line.
void NormaliseForLooseSearch(std::string_view text, std::string& out);

} // namespace tobira
