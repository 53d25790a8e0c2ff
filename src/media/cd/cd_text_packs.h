// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CD-Text as a disc carries it: 18-byte packs in up to eight language blocks, read from a drive
// or from the binary file a CUE sheet names (CDTEXTFILE). And the choice of the block to show.

#include "media/cd/cd_text.h"

#include <string>
#include <string_view>
#include <vector>

namespace tobira {

// The blocks in block order, each with its titles and performers in code page 932. A drive's
// 4-byte header is passed over; packs whose checksum fails are left out; a block of
// double-byte text is taken as Shift-JIS, as Japanese discs write it.
std::vector<CdTextBlock> ParseCdTextPacks(std::string_view bytes);

// The block in the language of `locale` ("ja_JP.UTF-8" picks Japanese), else the first; 0 for
// no blocks at all.
std::size_t PreferredCdTextBlock(const std::vector<CdTextBlock>& blocks, std::string_view locale);

// The locale that names the user's language: LC_ALL, else LC_MESSAGES, else LANG.
std::string MessagesLocale();

// "English", "Japanese", ...; empty for an unknown code.
std::string CdTextLanguageName(int language);

} // namespace tobira
