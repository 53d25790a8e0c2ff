// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi_windows/midi_title.h"

#include "files/regular_file.h"
#include "media/midi/smf_reader.h"
#include "text/cp932_convert.h"
#include "text/title_text.h"

#include <system_error>

namespace tobira {
namespace {

constexpr std::size_t kWindow = 255; // an event must start at 1-based position 1..255
// Big enough for the RIFF chunks an RMID file may carry before its SMF.
constexpr std::size_t kRmidHeadBytes = 1u << 20;

struct Event {
    std::size_t start = std::string_view::npos; // 0-based position of FF
    std::string_view text;
};

Event findEvent(std::string_view head, char type) {
    const char pair[2] = {'\xFF', type};
    Event event;
    std::size_t at = head.substr(0, kWindow + 1).find(std::string_view(pair, 2));
    if (at == std::string_view::npos || at >= kWindow)
        return event;
    event.start = at;
    const std::size_t lengthAt = at + 2;
    if (lengthAt < head.size()) {
        const std::size_t length = static_cast<unsigned char>(head[lengthAt]);
        event.text = head.substr(lengthAt + 1, length);
    }
    return event;
}

// Up to `limit` bytes from the start of the file; only a regular file is read.
std::string readHead(const std::string& path, std::size_t limit) {
    return RegularFile::open(PathFromCp932(path), read_limit::Song).readHead(limit);
}

} // namespace

std::string_view FileNameOfPath(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string MidiTitleFromHead(std::string_view head, std::string_view fileName) {
    Event name = findEvent(head, '\x03');
    Event text = findEvent(head, '\x01');

    const Event* chosen = nullptr;
    for (const Event* e : {&name, &text}) {
        if (e->text.empty())
            continue;
        if (!chosen || e->start < chosen->start)
            chosen = e;
    }

    std::string title;
    if (chosen) {
        std::string_view chosenText = chosen->text;
        // A Soft Karaoke (.kar) title header: "@T" and the title.
        if (chosenText.starts_with("@T"))
            chosenText.remove_prefix(2);
        for (char c : ShortTextToCp932(chosenText)) {
            if (static_cast<unsigned char>(c) > 31)
                title.push_back(c);
        }
    }
    if (title.find_first_not_of(' ') == std::string::npos)
        return std::string(fileName);
    return title;
}

std::string ReadMidiTitle(const std::string& path) {
    std::string head = readHead(path, kMidiTitleHeadBytes);
    const auto bytes = [](const std::string& text) {
        return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    };
    if (UnwrapRmid(bytes(head)).size() != head.size()) {
        head = readHead(path, kRmidHeadBytes);
        const auto smf = UnwrapRmid(bytes(head));
        head = std::string(reinterpret_cast<const char*>(smf.data()), smf.size());
    }
    return MidiTitleFromHead(head, FileNameOfPath(path));
}

} // namespace tobira
