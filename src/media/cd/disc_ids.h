// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The identities other programs look a disc up by, from its table of contents alone: the
// MusicBrainz disc ID and the freedb (CDDB) disc ID.

#include "media/cd/cd_toc.h"

#include <string>

namespace tobira {

// 28 characters of URL-safe base64. An Enhanced CD counts its audio session only, ending where
// the gap before its data session begins, as MusicBrainz does.
std::string MusicBrainzDiscId(const CdToc& toc);
// Eight lower-case hex digits; every track of the disc counts, data tracks too.
std::string FreedbDiscId(const CdToc& toc);

} // namespace tobira
