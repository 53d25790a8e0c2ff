#include "midi_windows/midi_title.h"

#include "media/midi/smf_reader.h"
#include "text/cp932_convert.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

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

// Up to `limit` bytes from the start of the file.
std::string readHead(const std::string& path, std::size_t limit) {
    auto fsPath = PathFromCp932(path);
    int fd = ::open(fsPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), path);
    std::string head(limit, '\0');
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
    return head;
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
