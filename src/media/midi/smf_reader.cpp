// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/smf_reader.h"

#include "files/regular_file.h"
#include "media/midi/smf_track_parser.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

namespace tobira {

namespace {

// Real songs are a few hundred kilobytes; this only guards against reading a wrong, huge file.
constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;

std::string FaultText(SmfFault fault, std::size_t offset) {
    switch (fault) {
    case SmfFault::NotSmf:
        return Utf8ToCp932("ＭＩＤＩファイル（SMF）ではありません");
    case SmfFault::BadHeader:
        return Utf8ToCp932("ヘッダーが壊れています");
    case SmfFault::BadDivision:
        return Utf8ToCp932("分解能が０です");
    case SmfFault::NoTracks:
        return Utf8ToCp932("トラックがありません");
    case SmfFault::BrokenTrack:
        return Utf8ToCp932("トラックが壊れています（") + std::to_string(offset + 1) +
               Utf8ToCp932(" バイト目）");
    case SmfFault::NoEvents:
        return Utf8ToCp932("演奏するイベントがありません");
    case SmfFault::Unreadable:
        return Utf8ToCp932("ファイルがないか、読めません");
    case SmfFault::TooLarge:
        return Utf8ToCp932("ファイルが大きすぎます");
    }
    return {};
}

std::uint32_t Be32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

std::uint32_t Le32(const std::uint8_t* p) {
    return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) |
           p[0];
}

std::uint16_t Be16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

bool IsId(const std::uint8_t* p, const char* id) {
    return std::equal(p, p + 4, id);
}

// "MTrk" with one byte damaged: still a track, as other players read it.
bool IsDamagedTrackId(const std::uint8_t* p) {
    int same = 0;
    for (int i = 0; i < 4; ++i)
        same += p[i] == "MTrk"[i];
    return same == 3;
}

// A chunk id of four printable ASCII characters: an unknown chunk, skipped by its length.
// Anything else is not a chunk at all.
bool IsChunkId(const std::uint8_t* p) {
    return std::all_of(p, p + 4, [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; });
}

// Time code: `division` frames of `ticksPerFrame` ticks each second. The player and the
// synthesizer count quarter notes, so a quarter becomes a second at the nominal frame rate
// and the tempo stretches it to the real one (29 means 29.97 frames).
struct Timing {
    int division = 0;
    std::optional<std::uint32_t> fixedTempo;
};

Timing TimingOf(std::uint16_t division) {
    if (!(division & 0x8000))
        return {division, std::nullopt};
    const int fps = -static_cast<std::int8_t>(division >> 8);
    const int ticksPerFrame = division & 0xFF;
    if (fps <= 0 || ticksPerFrame == 0)
        return {0, std::nullopt};
    const double realFps = fps == 29 ? 30000.0 / 1001.0 : fps;
    const auto tempo = static_cast<std::uint32_t>(std::lround(1e6 * fps / realFps));
    return {fps * ticksPerFrame, tempo};
}

class Reader final {
  public:
    Reader(std::span<const std::uint8_t> file, std::vector<SmfMessage>* events,
           std::vector<SmfRepair>* repairs)
        : smf_(UnwrapRmid(file)), base_(static_cast<std::size_t>(smf_.data() - file.data())),
          events_(events), repairs_(repairs) {}

    SmfSong read();
    // Text meta events go to `texts` as well.
    void collectTexts(std::vector<SmfText>* texts) { texts_ = texts; }
    void filter(SmfMessageFilter keep) { keep_ = keep; }
    void collectTracks(std::vector<SmfTrackSpan>* tracks) { spans_ = tracks; }

  private:
    void repair(std::size_t offset, const char* utf8) {
        if (repairs_)
            repairs_->push_back(SmfRepair{base_ + offset, Utf8ToCp932(utf8)});
    }
    void readTrack(std::size_t begin, std::size_t end);
    SmfSong finish(int announced);

    std::span<const std::uint8_t> smf_;
    std::size_t base_ = 0; // where the SMF starts in the file
    std::vector<SmfMessage>* events_;
    std::vector<SmfRepair>* repairs_;
    std::vector<SmfText>* texts_ = nullptr;
    SmfMessageFilter keep_ = nullptr;
    std::vector<SmfTrackSpan>* spans_ = nullptr;

    int format_ = 0;
    Timing timing_;
    std::vector<SmfTempo> tempos_;
    int tracks_ = 0;
    std::uint64_t lastTick_ = 0;
    std::size_t playable_ = 0;
    std::optional<std::size_t> firstBreak_;
    SmfLoopMarks loopMarks_;
};

void Reader::readTrack(std::size_t begin, std::size_t end) {
    // Format 2 holds independent sequences: each starts where the one before ended, at the
    // tempo a song starts with unless it sets its own.
    const bool sequential = format_ == 2;
    const std::uint64_t start = sequential ? lastTick_ : 0;
    std::vector<SmfTempo>* tempos = timing_.fixedTempo ? nullptr : &tempos_;
    if (sequential && tracks_ > 0 && tempos)
        tempos->push_back(SmfTempo{start, SmfTempo{}.microsPerQuarter});
    SmfTrackParser parser(smf_, base_, begin, end, start, tempos, events_);
    parser.collectTexts(texts_, tracks_);
    parser.filter(keep_);
    if (spans_)
        spans_->push_back(SmfTrackSpan{begin, end, start});
    const SmfTrackResult track = parser.parse();
    ++tracks_;
    loopMarks_.merge(track.loop);
    playable_ += track.playable;
    lastTick_ = std::max(lastTick_, track.endTick);
    if (track.brokenAt) {
        if (!firstBreak_)
            firstBreak_ = base_ + *track.brokenAt;
        repair(*track.brokenAt, "トラックが途中で壊れています：そこまでを演奏します");
    }
    if (track.strayBytes > 0)
        repair(begin, "トラックにＭＩＤＩファイルでは使えないバイトがあります：読み飛ばします");
    if (track.clampedBytes > 0)
        repair(begin, "トラックに 127 を超えるデータバイトがあります：127 として読みます");
}

SmfSong Reader::read() {
    if (smf_.size() < 4 || !IsId(smf_.data(), "MThd"))
        throw SmfError(SmfFault::NotSmf);
    if (smf_.size() < 14 || Be32(&smf_[4]) < 6)
        throw SmfError(SmfFault::BadHeader);
    format_ = Be16(&smf_[8]);
    const int announced = Be16(&smf_[10]);
    timing_ = TimingOf(Be16(&smf_[12]));
    if (timing_.division <= 0)
        throw SmfError(SmfFault::BadDivision);
    if (timing_.fixedTempo)
        tempos_.push_back(SmfTempo{0, *timing_.fixedTempo});

    // A longer header keeps its extra bytes to itself.
    std::size_t pos = 8 + std::min<std::size_t>(Be32(&smf_[4]), smf_.size() - 8);
    while (smf_.size() - pos >= 8) {
        const std::uint8_t* id = &smf_[pos];
        const std::size_t length = Be32(&smf_[pos + 4]);
        const std::size_t body = pos + 8;
        const std::size_t room = smf_.size() - body;
        if (IsId(id, "MTrk") || IsDamagedTrackId(id)) {
            if (!IsId(id, "MTrk"))
                repair(pos, "トラックの名前が壊れています：トラックとして読みます");
            if (length > room)
                repair(pos, "トラックの長さがファイルの終わりを越えています：終わりまで読みます");
            readTrack(body, body + std::min(length, room));
        } else if (!IsChunkId(id)) {
            // Not a chunk: a track length that was wrong, or garbage. The next track, if any,
            // is found by its name.
            static constexpr std::uint8_t kMTrk[] = {'M', 'T', 'r', 'k'};
            const auto next = std::search(smf_.begin() + static_cast<std::ptrdiff_t>(pos) + 1,
                                          smf_.end(), kMTrk, kMTrk + 4);
            if (next == smf_.end()) {
                repair(pos, "ファイルの終わりにＭＩＤＩでないデータがあります：読み飛ばします");
                return finish(announced);
            }
            repair(pos, "トラックの間にＭＩＤＩでないデータがあります：読み飛ばします");
            pos = static_cast<std::size_t>(next - smf_.begin());
            continue;
        }
        if (length >= room)
            break;
        pos = body + length;
    }
    return finish(announced);
}

SmfSong Reader::finish(int announced) {
    if (tracks_ == 0)
        throw SmfError(SmfFault::NoTracks);
    // A song of silence that lasts is played as the silence it is, as other players do; one
    // that is over before it starts has nothing to play.
    if (playable_ == 0 && lastTick_ == 0) {
        if (firstBreak_)
            throw SmfError(SmfFault::BrokenTrack, *firstBreak_);
        throw SmfError(SmfFault::NoEvents);
    }
    if (announced != tracks_ && repairs_)
        repairs_->insert(
            repairs_->begin(),
            SmfRepair{base_ + 10, Utf8ToCp932("ヘッダーのトラック数 ") + std::to_string(announced) +
                                      Utf8ToCp932(" と実際のトラック数 ") +
                                      std::to_string(tracks_) +
                                      Utf8ToCp932(" が違います：あるトラックだけを演奏します")});
    SmfSong song(format_, tracks_, timing_.division, std::move(tempos_), lastTick_);
    song.setLoop(loopMarks_.loop(lastTick_));
    return song;
}

// The messages come track after track, each track in playing order. A stable sort by tick
// interleaves them and keeps both the track order and each track's own order at equal ticks.
// Radix passes over the ticks: a merge of hundreds of tracks jumps between as many places in
// memory for every message, these passes only stream through it.
std::vector<SmfMessage> SortByTick(std::vector<SmfMessage> found) {
    const auto byTick = [](const SmfMessage& a, const SmfMessage& b) { return a.tick < b.tick; };
    if (std::is_sorted(found.begin(), found.end(), byTick))
        return found;
    std::uint64_t last = 0;
    for (const SmfMessage& m : found)
        last = std::max(last, m.tick);
    constexpr int kBits = 11;
    constexpr std::size_t kBuckets = std::size_t{1} << kBits;
    std::vector<SmfMessage> other(found.size());
    std::vector<std::size_t> place(kBuckets);
    for (int shift = 0; shift < 64 && (last >> shift) != 0; shift += kBits) {
        std::fill(place.begin(), place.end(), 0);
        for (const SmfMessage& m : found)
            ++place[(m.tick >> shift) & (kBuckets - 1)];
        std::size_t sum = 0;
        for (std::size_t& p : place)
            sum += std::exchange(p, sum);
        for (const SmfMessage& m : found)
            other[place[(m.tick >> shift) & (kBuckets - 1)]++] = m;
        found.swap(other);
    }
    return found;
}

SmfSong ParseWith(std::span<const std::uint8_t> bytes, std::vector<SmfMessage>* messages,
                  std::vector<SmfRepair>* repairs, std::vector<SmfText>* texts = nullptr,
                  SmfMessageFilter keep = nullptr, std::vector<SmfTrackSpan>* tracks = nullptr) {
    std::vector<SmfMessage> found;
    if (messages && !keep)
        found.reserve(bytes.size() / 4);
    Reader reader(bytes, messages ? &found : nullptr, repairs);
    reader.collectTexts(texts);
    reader.filter(keep);
    reader.collectTracks(tracks);
    SmfSong song = reader.read();
    if (texts)
        std::stable_sort(texts->begin(), texts->end(),
                         [](const SmfText& a, const SmfText& b) { return a.tick < b.tick; });
    if (messages)
        *messages = SortByTick(std::move(found));
    return song;
}

std::vector<SmfEvent> EventsOf(std::span<const std::uint8_t> bytes,
                               const std::vector<SmfMessage>& messages) {
    std::vector<SmfEvent> events;
    events.reserve(messages.size());
    for (const SmfMessage& m : messages)
        events.push_back(SmfEvent{m.tick, MessageBytes(bytes, m)});
    return events;
}

} // namespace

SmfError::SmfError(SmfFault fault, std::size_t offset)
    : std::runtime_error(FaultText(fault, offset)), fault_(fault) {}

std::span<const std::uint8_t> UnwrapRmid(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 12 || !IsId(bytes.data(), "RIFF") || !IsId(&bytes[8], "RMID"))
        return bytes;
    std::size_t pos = 12;
    while (bytes.size() - pos >= 8) {
        const std::size_t length = Le32(&bytes[pos + 4]);
        const std::size_t body = pos + 8;
        const std::size_t room = bytes.size() - body;
        if (IsId(&bytes[pos], "data"))
            return bytes.subspan(body, std::min(length, room));
        if (length >= room)
            break;
        // RIFF chunks are padded to an even length.
        pos = body + length + (length & 1);
    }
    return bytes.subspan(bytes.size());
}

SmfSong ParseSmf(std::span<const std::uint8_t> bytes) {
    return ParseWith(bytes, nullptr, nullptr);
}

SmfSong ParseSmf(std::span<const std::uint8_t> bytes, std::vector<SmfEvent>& events) {
    std::vector<SmfMessage> messages;
    SmfSong song = ParseWith(bytes, &messages, nullptr);
    events = EventsOf(bytes, messages);
    return song;
}

SmfSong ParseSmf(std::span<const std::uint8_t> bytes, std::vector<SmfEvent>& events,
                 std::vector<SmfRepair>& repairs) {
    repairs.clear();
    std::vector<SmfMessage> messages;
    SmfSong song = ParseWith(bytes, &messages, &repairs);
    events = EventsOf(bytes, messages);
    return song;
}

SmfSong ParseSmfTexts(std::span<const std::uint8_t> bytes, std::vector<SmfText>& texts) {
    texts.clear();
    return ParseWith(bytes, nullptr, nullptr, &texts);
}

SmfSong ParseSmfMessages(std::span<const std::uint8_t> bytes, std::vector<SmfMessage>& messages,
                         std::vector<SmfRepair>* repairs) {
    if (repairs)
        repairs->clear();
    return ParseWith(bytes, &messages, repairs);
}

SmfSong ParseSmfLayout(std::span<const std::uint8_t> bytes, std::vector<SmfMessage>& messages,
                       SmfMessageFilter keep, std::vector<SmfTrackSpan>& tracks) {
    tracks.clear();
    return ParseWith(bytes, &messages, nullptr, nullptr, keep, &tracks);
}

std::vector<std::uint8_t> MessageBytes(std::span<const std::uint8_t> bytes, const SmfMessage& m) {
    std::vector<std::uint8_t> message;
    message.reserve(m.length + 2);
    message.push_back(m.status);
    message.insert(message.end(), bytes.begin() + m.offset, bytes.begin() + m.offset + m.length);
    if (m.status < 0xF0)
        for (std::size_t i = 1; i < message.size(); ++i)
            message[i] = SmfDataByte(message[i]);
    // A module waits for F7 and would swallow what follows a message that lacks it.
    if (m.status == 0xF0 && message.back() != 0xF7)
        message.push_back(0xF7);
    return message;
}

RegularFile OpenSmfFile(const std::filesystem::path& path) {
    try {
        return RegularFile::open(path, kMaxFileBytes);
    } catch (const FileError& e) {
        throw SmfError(e.problem() == FileProblem::TooLarge ? SmfFault::TooLarge
                                                            : SmfFault::Unreadable);
    }
}

std::string ReadOpenedSmf(RegularFile& file) {
    try {
        return file.readAll();
    } catch (const FileError& e) {
        throw SmfError(e.problem() == FileProblem::TooLarge ? SmfFault::TooLarge
                                                            : SmfFault::Unreadable);
    }
}

std::vector<std::uint8_t> ReadSmfBytes(const std::filesystem::path& path) {
    RegularFile file = OpenSmfFile(path);
    const std::string read = ReadOpenedSmf(file);
    return std::vector<std::uint8_t>(read.begin(), read.end());
}

std::string SmfOpenMessage(const std::string& cp932Path, const SmfError& error) {
    return Utf8ToCp932("ＭＩＤＩファイル【") + cp932Path + Utf8ToCp932("】を開けません：") +
           error.what();
}

SmfSong ReadSmfFile(const std::filesystem::path& path) {
    return ParseSmf(ReadSmfBytes(path));
}

} // namespace tobira
