#include "midi_windows/midi_title.h"

#include "text/cp932_convert.h"
#include "text/upper_case.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

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
    auto fsPath = PathFromCp932(path);
    int fd = ::open(fsPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), path);
    std::string head(kMidiTitleHeadBytes, '\0');
    std::size_t got = 0;
    int error = 0;
    while (got < head.size()) {
        ssize_t n = ::read(fd, head.data() + got, head.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (error != 0)
        throw std::system_error(error, std::generic_category(), path);
    head.resize(got);
    return MidiTitleFromHead(head, FileNameOfPath(path));
}

} // namespace tobira
