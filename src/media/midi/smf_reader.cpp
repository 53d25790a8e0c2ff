#include "media/midi/smf_reader.h"

#include "files/regular_file.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <system_error>

namespace tobira {

namespace {

// The player refuses anything longer; FluidSynth cannot hold more tracks.
constexpr int kMaxTracks = 128;
// Real songs are a few hundred kilobytes; this only guards against reading a wrong, huge file.
constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;

std::string FaultText(SmfFault fault) {
    const char* text = "";
    switch (fault) {
    case SmfFault::NotSmf:
        text = "ＭＩＤＩファイル（SMF）ではありません";
        break;
    case SmfFault::BadHeader:
        text = "ヘッダーが壊れています";
        break;
    case SmfFault::UnsupportedFormat:
        text = "フォーマット２以上のＭＩＤＩファイルは再生できません";
        break;
    case SmfFault::SmpteDivision:
        text = "SMPTE タイムコード形式の分解能には対応していません";
        break;
    case SmfFault::BadDivision:
        text = "分解能が０です";
        break;
    case SmfFault::BadTrackCount:
        text = "トラック数が正しくありません（１～１２８）";
        break;
    case SmfFault::MissingTrack:
        text = "トラックが足りません（ファイルが途中で切れています）";
        break;
    case SmfFault::ChunkTruncated:
        text = "チャンクがファイルの終わりを越えています（ファイルが途中で切れています）";
        break;
    case SmfFault::BadChunk:
        text = "チャンクの名前が壊れています";
        break;
    case SmfFault::EventTruncated:
        text = "イベントがトラックの終わりを越えています";
        break;
    case SmfFault::BadDeltaTime:
        text = "デルタタイムが壊れています";
        break;
    case SmfFault::NoRunningStatus:
        text = "ステータスバイトがありません";
        break;
    case SmfFault::UnsupportedEvent:
        text = "対応していないイベント（F7 またはシステムメッセージ）があります";
        break;
    case SmfFault::BadMetaEvent:
        text = "メタイベントの長さが正しくありません";
        break;
    case SmfFault::BadTempo:
        text = "テンポが０です";
        break;
    case SmfFault::Unreadable:
        text = "ファイルがないか、読めません";
        break;
    case SmfFault::TooLarge:
        text = "ファイルが大きすぎます";
        break;
    }
    return Utf8ToCp932(text);
}

std::uint32_t Be32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

std::uint16_t Be16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

// Meta events whose length FluidSynth checks; a wrong one makes it drop the whole file.
bool MetaLengthAllowed(std::uint8_t type, std::uint32_t length) {
    switch (type) {
    case 0x2F:
        return length == 0;
    case 0x51:
        return length == 3;
    case 0x54:
        return length == 5;
    case 0x58:
        return length == 4;
    case 0x59:
        return length == 2;
    default:
        return true;
    }
}

class TrackParser {
  public:
    TrackParser(std::span<const std::uint8_t> chunk, std::vector<SmfTempo>& tempos,
                std::vector<SmfEvent>* events)
        : chunk_(chunk), tempos_(tempos), events_(events) {}

    // Returns the tick of the track's last event.
    std::uint64_t parse() {
        std::uint64_t tick = 0;
        std::uint64_t last = 0;
        int running = -1; // none at the start of a track
        while (pos_ < chunk_.size()) {
            tick += readVarLen();
            need(1);
            std::uint8_t status = chunk_[pos_];
            if (status & 0x80) {
                ++pos_;
            } else {
                if (running < 0)
                    throw SmfError(SmfFault::NoRunningStatus);
                status = static_cast<std::uint8_t>(running);
            }
            // FluidSynth keeps even F0 and FF as the running status; do as it does.
            running = status;
            last = tick;
            if (status == 0xF0) {
                const std::uint32_t length = readVarLen();
                need(length);
                if (events_) {
                    std::vector<std::uint8_t> message{0xF0};
                    message.insert(message.end(), chunk_.begin() + pos_,
                                   chunk_.begin() + pos_ + length);
                    // Continuation packets are refused above, so a message that lacks its end
                    // byte is complete all the same: a module waits for F7 and would swallow
                    // what follows.
                    if (message.back() != 0xF7)
                        message.push_back(0xF7);
                    events_->push_back(SmfEvent{tick, std::move(message)});
                }
                pos_ += length;
            } else if (status == 0xFF) {
                need(1);
                const std::uint8_t type = chunk_[pos_++];
                const std::uint32_t length = readVarLen();
                need(length);
                if (!MetaLengthAllowed(type, length))
                    throw SmfError(SmfFault::BadMetaEvent);
                if (type == 0x51) {
                    const std::uint32_t tempo = (std::uint32_t{chunk_[pos_]} << 16) |
                                                (std::uint32_t{chunk_[pos_ + 1]} << 8) |
                                                chunk_[pos_ + 2];
                    if (tempo == 0)
                        throw SmfError(SmfFault::BadTempo);
                    tempos_.push_back(SmfTempo{tick, tempo});
                }
                pos_ += length;
                if (type == 0x2F)
                    break; // anything after the end of track is never played
            } else if (status >= 0xF0) {
                throw SmfError(SmfFault::UnsupportedEvent);
            } else {
                const std::uint8_t kind = status & 0xF0;
                const std::size_t length = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
                need(length);
                if (events_) {
                    std::vector<std::uint8_t> message{status};
                    message.insert(message.end(), chunk_.begin() + pos_,
                                   chunk_.begin() + pos_ + length);
                    events_->push_back(SmfEvent{tick, std::move(message)});
                }
                pos_ += length;
            }
        }
        return last;
    }

  private:
    void need(std::size_t n) const {
        if (chunk_.size() - pos_ < n)
            throw SmfError(SmfFault::EventTruncated);
    }
    std::uint32_t readVarLen() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            need(1);
            const std::uint8_t c = chunk_[pos_++];
            value = (value << 7) | (c & 0x7F);
            if (!(c & 0x80))
                return value;
        }
        throw SmfError(SmfFault::BadDeltaTime);
    }

    std::span<const std::uint8_t> chunk_;
    std::vector<SmfTempo>& tempos_;
    std::vector<SmfEvent>* events_;
    std::size_t pos_ = 0;
};

SmfSong ParseSmfInto(std::span<const std::uint8_t> bytes, std::vector<SmfEvent>* events);

} // namespace

SmfError::SmfError(SmfFault fault) : std::runtime_error(FaultText(fault)), fault_(fault) {}

SmfSong ParseSmf(std::span<const std::uint8_t> bytes) {
    return ParseSmfInto(bytes, nullptr);
}

SmfSong ParseSmf(std::span<const std::uint8_t> bytes, std::vector<SmfEvent>& events) {
    std::vector<SmfEvent> found;
    SmfSong song = ParseSmfInto(bytes, &found);
    // Tracks were read one after another; a stable sort by tick interleaves them and keeps
    // both the track order and each track's own order at equal ticks.
    std::stable_sort(found.begin(), found.end(),
                     [](const SmfEvent& a, const SmfEvent& b) { return a.tick < b.tick; });
    events = std::move(found);
    return song;
}

namespace {

SmfSong ParseSmfInto(std::span<const std::uint8_t> bytes, std::vector<SmfEvent>* events) {
    static constexpr std::uint8_t kMThd[] = {'M', 'T', 'h', 'd'};
    if (bytes.size() < 4 || !std::equal(kMThd, kMThd + 4, bytes.begin()))
        throw SmfError(SmfFault::NotSmf);
    if (bytes.size() < 14 || Be32(&bytes[4]) != 6)
        throw SmfError(SmfFault::BadHeader);
    const int format = Be16(&bytes[8]);
    const int trackCount = Be16(&bytes[10]);
    const std::uint16_t division = Be16(&bytes[12]);
    if (format > 1)
        throw SmfError(SmfFault::UnsupportedFormat);
    if (division & 0x8000)
        throw SmfError(SmfFault::SmpteDivision);
    if (division == 0)
        throw SmfError(SmfFault::BadDivision);
    if (trackCount < 1 || trackCount > kMaxTracks)
        throw SmfError(SmfFault::BadTrackCount);

    std::vector<SmfTempo> tempos;
    std::uint64_t lastTick = 0;
    std::size_t pos = 14;
    int tracksRead = 0;
    while (tracksRead < trackCount) {
        if (pos == bytes.size())
            throw SmfError(SmfFault::MissingTrack);
        if (bytes.size() - pos < 8)
            throw SmfError(SmfFault::ChunkTruncated);
        const std::uint8_t* id = &bytes[pos];
        if (std::any_of(id, id + 4, [](std::uint8_t c) { return c >= 0x80; }))
            throw SmfError(SmfFault::BadChunk);
        const std::uint32_t length = Be32(&bytes[pos + 4]);
        pos += 8;
        if (bytes.size() - pos < length)
            throw SmfError(SmfFault::ChunkTruncated);
        if (std::equal(id, id + 4, "MTrk")) {
            TrackParser parser(bytes.subspan(pos, length), tempos, events);
            lastTick = std::max(lastTick, parser.parse());
            ++tracksRead;
        }
        // Chunks of other kinds are skipped, as the file format asks.
        pos += length;
    }
    return SmfSong(format, trackCount, division, std::move(tempos), lastTick);
}

} // namespace

std::vector<std::uint8_t> ReadSmfBytes(const std::filesystem::path& path) {
    std::string read;
    try {
        read = RegularFile::open(path, kMaxFileBytes).readAll();
    } catch (const FileReadError& e) {
        throw SmfError(e.problem() == FileProblem::TooLarge ? SmfFault::TooLarge
                                                            : SmfFault::Unreadable);
    }
    return std::vector<std::uint8_t>(read.begin(), read.end());
}

SmfSong ReadSmfFile(const std::filesystem::path& path) {
    return ParseSmf(ReadSmfBytes(path));
}

} // namespace tobira
