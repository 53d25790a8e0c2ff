#include "midi_windows/midi_title.h"

#include "files/regular_file.h"
#include "text/cp932_convert.h"
#include "text/upper_case.h"

#include <system_error>

namespace tobira {
namespace {

constexpr std::size_t kWindow = 255;  // an event must start at 1-based position 1..255
constexpr std::size_t kCollect = 256; // lines are joined until this many bytes
constexpr std::size_t kEnough = 512;  // nothing after this can belong to a counted event

// The head as the text-line reader sees it, up to kEnough bytes.
std::string collectText(std::string_view head) {
    std::string collected;
    std::size_t pos = 0;
    bool ended = false;
    while (!ended && collected.size() < kCollect && collected.size() < kEnough) {
        std::size_t start = pos;
        while (pos < head.size() && head[pos] != '\r' && head[pos] != '\x1A')
            ++pos;
        std::size_t lineLength = pos - start;
        if (pos >= head.size() || head[pos] == '\x1A') {
            ended = true;
        } else {
            ++pos; // the CR
            if (pos < head.size() && head[pos] == '\n')
                ++pos;
        }
        if (lineLength == 0)
            break;
        collected.append(head.substr(start, lineLength));
    }
    if (collected.size() > kEnough)
        collected.resize(kEnough);
    return collected;
}

struct Event {
    std::size_t start = std::string_view::npos; // 0-based position of FF
    std::string_view text;
};

Event findEvent(std::string_view collected, char type) {
    const char pair[2] = {'\xFF', type};
    Event event;
    std::size_t at = collected.find(std::string_view(pair, 2));
    if (at == std::string_view::npos || at >= kWindow)
        return event;
    event.start = at;
    std::size_t lengthAt = at + 2;
    if (lengthAt < collected.size()) {
        std::size_t length = static_cast<unsigned char>(collected[lengthAt]);
        event.text = collected.substr(lengthAt + 1, length);
    }
    return event;
}

} // namespace

std::string_view FileNameOfPath(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsMidiFileName(std::string_view path) {
    const std::string_view name = FileNameOfPath(path);
    const std::size_t dot = name.rfind('.');
    return dot != std::string_view::npos && UpperCaseCp932(name.substr(dot)) == ".MID";
}

std::string MidiTitleFromHead(std::string_view head, std::string_view fileName) {
    std::string collected = collectText(head);
    Event name = findEvent(collected, '\x03');
    Event text = findEvent(collected, '\x01');

    const Event* chosen = nullptr;
    for (const Event* e : {&name, &text}) {
        if (e->text.empty())
            continue;
        if (!chosen || e->start < chosen->start)
            chosen = e;
    }

    std::string title;
    if (chosen) {
        for (char c : chosen->text) {
            if (static_cast<unsigned char>(c) > 31)
                title.push_back(c);
        }
    }
    if (title.find_first_not_of(' ') == std::string::npos)
        return std::string(fileName);
    return title;
}

std::string ReadMidiTitle(const std::string& path) {
    const std::string head =
        RegularFile::open(PathFromCp932(path), read_limit::Song).readHead(kMidiTitleHeadBytes);
    return MidiTitleFromHead(head, FileNameOfPath(path));
}

} // namespace tobira
