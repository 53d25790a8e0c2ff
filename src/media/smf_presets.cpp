#include "media/smf_presets.h"

#include <algorithm>
#include <array>
#include <set>

namespace tobira {

namespace {

constexpr int kDrumBank = 128;
constexpr int kDrumChannel = 9;

class Bytes {
  public:
    explicit Bytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool more() const { return at_ < bytes_.size(); }
    std::size_t left() const { return more() ? bytes_.size() - at_ : 0; }
    std::uint8_t next() { return more() ? bytes_[at_++] : 0; }
    void skip(std::size_t n) { at_ += std::min(n, left()); }
    std::span<const std::uint8_t> take(std::size_t n) {
        const auto part = bytes_.subspan(std::min(at_, bytes_.size()), std::min(n, left()));
        skip(n);
        return part;
    }
    std::uint32_t varNumber() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4 && more(); ++i) {
            const std::uint8_t b = next();
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80))
                break;
        }
        return value;
    }
    std::uint32_t be(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 8) | next();
        return v;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

enum class Kind { BankMsb, BankLsb, Program };

struct Selection {
    std::uint64_t tick;
    int channel;
    Kind kind;
    int value;
};

// GS "use for rhythm part" (F0 41 dev 42 12 40 1x 15 ...) makes any part a drum part.
bool IsGsRhythmPart(std::span<const std::uint8_t> body) {
    return body.size() >= 7 && body[0] == 0x41 && body[2] == 0x42 && body[3] == 0x12 &&
           body[4] == 0x40 && (body[5] & 0xF0) == 0x10 && body[6] == 0x15;
}

void ScanTrack(Bytes track, std::vector<Selection>& out, bool& rhythmParts) {
    std::uint64_t tick = 0;
    std::uint8_t status = 0;
    while (track.more()) {
        tick += track.varNumber();
        const std::uint8_t b = track.next();
        if (b == 0xFF) {
            track.next();
            track.skip(track.varNumber());
            continue;
        }
        if (b == 0xF0 || b == 0xF7) {
            rhythmParts = IsGsRhythmPart(track.take(track.varNumber())) || rhythmParts;
            continue;
        }
        int data1 = b;
        if (b & 0x80) {
            status = b;
            data1 = track.next();
        }
        const int kind = status & 0xF0;
        const int channel = status & 0x0F;
        if (kind == 0xC0) {
            out.push_back({tick, channel, Kind::Program, data1});
            continue;
        }
        if (kind == 0xD0)
            continue;
        const int data2 = track.next();
        if (kind == 0xB0 && data1 == 0)
            out.push_back({tick, channel, Kind::BankMsb, data2});
        else if (kind == 0xB0 && data1 == 32)
            out.push_back({tick, channel, Kind::BankLsb, data2});
    }
}

} // namespace

std::vector<SynthPreset> SongPresets(std::span<const std::uint8_t> smf) {
    Bytes file(smf);
    file.skip(10); // "MThd", length, format
    const int tracks = static_cast<int>(file.be(2));
    file.skip(2); // division
    std::vector<Selection> selections;
    bool rhythmParts = false;
    for (int t = 0; t < tracks && file.more();) {
        const std::uint32_t name = file.be(4);
        const std::uint32_t length = file.be(4);
        const auto body = file.take(length);
        if (name != 0x4D54726B) // other chunks than "MTrk" are skipped, as by the reader
            continue;
        ScanTrack(Bytes(body), selections, rhythmParts);
        ++t;
    }
    // Bank selects and the program change they go with may sit in different tracks.
    std::stable_sort(selections.begin(), selections.end(),
                     [](const Selection& a, const Selection& b) { return a.tick < b.tick; });

    std::set<SynthPreset> presets{{0, 0}, {kDrumBank, 0}};
    std::array<int, 16> msb{}, lsb{};
    std::array<bool, 16> drums{};
    for (int c = 0; c < 16; ++c)
        drums[c] = rhythmParts || c == kDrumChannel;
    for (const Selection& s : selections) {
        switch (s.kind) {
        case Kind::BankMsb:
            msb[s.channel] = s.value;
            // XG makes a part a drum part with bank MSB 120 and above.
            drums[s.channel] = drums[s.channel] || s.value >= 120;
            break;
        case Kind::BankLsb:
            lsb[s.channel] = s.value;
            break;
        case Kind::Program: {
            const int p = s.value;
            // GM ignores bank selects, GS reads the MSB, XG the LSB, the rest both.
            for (int bank :
                 {0, msb[s.channel], lsb[s.channel], msb[s.channel] * 128 + lsb[s.channel]})
                presets.insert({bank, p});
            if (drums[s.channel])
                presets.insert({kDrumBank, p});
            break;
        }
        }
    }
    return {presets.begin(), presets.end()};
}

} // namespace tobira
