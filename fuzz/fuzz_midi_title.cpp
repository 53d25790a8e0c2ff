// SPDX-License-Identifier: GPL-3.0-or-later
// The title of a new list record: never a control byte, never empty or blank, never longer
// than one event can hold, and read from the head of the file only.
#include "fuzz_support.h"
#include "midi_windows/midi_title.h"

using namespace tobira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view head = fuzz::AsText(data, size);
    const std::string_view fileName = "SONG.MID";
    const std::string title = MidiTitleFromHead(head, fileName);
    FUZZ_CHECK(!title.empty());
    for (unsigned char c : title)
        FUZZ_CHECK(c >= 32);
    FUZZ_CHECK(title == fileName || title.size() <= 255);
    FUZZ_CHECK(title.find_first_not_of(' ') != std::string::npos);
    // The head is all the reader looks at.
    if (size > kMidiTitleHeadBytes)
        FUZZ_CHECK(MidiTitleFromHead(head.substr(0, kMidiTitleHeadBytes), fileName) == title);
    FUZZ_CHECK(FileNameOfPath(head).find('/') == std::string_view::npos);
    return 0;
}
