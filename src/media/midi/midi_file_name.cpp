// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/midi_file_name.h"

#include "text/upper_case.h"

namespace tobira {

bool IsMidiFileName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string extension = UpperCaseCp932(name.substr(dot));
    return extension == ".MID" || extension == ".MIDI" || extension == ".KAR" ||
           extension == ".RMI";
}

} // namespace tobira
