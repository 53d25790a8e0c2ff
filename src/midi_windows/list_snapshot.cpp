// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/list_snapshot.h"

#include "midi_windows/list_file.h"
#include "text/cp932_convert.h"
#include "text/full_width.h"

namespace tobira {

bool ListSnapshot::Refresh(const std::string& cp932Path) {
    const auto identity = IdentityOf(cp932Path);
    if (identity && identity_ && *identity == *identity_)
        return true;
    identity_.reset();
    lines_.clear();
    normalised_ = LineBlock();
    normalisedReady_ = false;
    if (!identity)
        return false;
    auto lines = ReadListFile(cp932Path);
    if (!lines)
        return false;
    lines_ = std::move(*lines);
    identity_ = identity;
    return true;
}

const LineBlock& ListSnapshot::Normalised() {
    if (!normalisedReady_) {
        std::string normalised;
        for (const std::string& line : lines_) {
            NormaliseForLooseSearch(line, normalised);
            normalised_.add(normalised);
        }
        normalisedReady_ = true;
    }
    return normalised_;
}

} // namespace tobira
