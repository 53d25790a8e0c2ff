// SPDX-License-Identifier: GPL-3.0-or-later
#include "response_analysis.h"

#include "sound_alignment.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>
#include <stdexcept>

namespace tobira::bench {
namespace {

constexpr double kRate = 44100.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<char> ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Le32(const char* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

// Left + right of a 16-bit stereo WAV file.
std::vector<float> ReadReference(const std::filesystem::path& file) {
    const std::vector<char> bytes = ReadAll(file);
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::uint32_t size = Le32(&bytes[at + 4]);
        if (std::string(&bytes[at], 4) == "data") {
            const std::size_t frames = std::min<std::size_t>(size, bytes.size() - at - 8) / 4;
            std::vector<float> mono(frames);
            const char* p = &bytes[at + 8];
            for (std::size_t i = 0; i < frames; ++i) {
                const auto left = static_cast<std::int16_t>(Le32(p + 4 * i) & 0xFFFF);
                const auto right = static_cast<std::int16_t>(Le32(p + 4 * i) >> 16);
                mono[i] = static_cast<float>(left + right) / 65534.0f;
            }
            return mono;
        }
        at += 8 + size + (size & 1);
    }
    throw std::runtime_error(file.string() + " has no sound");
}

std::vector<float> ReadMonitor(const std::filesystem::path& file) {
    const std::vector<char> bytes = ReadAll(file);
    std::vector<float> mono(bytes.size() / 8);
    for (std::size_t i = 0; i < mono.size(); ++i) {
        float lr[2];
        std::copy_n(&bytes[8 * i], 8, reinterpret_cast<char*>(lr));
        mono[i] = (lr[0] + lr[1]) / 2.0f;
    }
    return mono;
}

// The monotonic time of recording sample 0. A piece arrives soon after the sink has rendered
// it, never before; the sink renders a piece (the monitor's fragment) ahead of its clock. So the
// earliest arrival against its sample count, one fragment later, places the whole recording.
double ClockStartNs(const std::filesystem::path& file) {
    std::ifstream in(file);
    double start = std::numeric_limits<double>::infinity();
    long long ns = 0, bytes = 0, before = 0;
    std::vector<double> pieces;
    while (in >> ns >> bytes) {
        start =
            std::min(start, static_cast<double>(ns) - static_cast<double>(bytes / 8) * 1e9 / kRate);
        pieces.push_back(static_cast<double>(bytes - before) / 8);
        before = bytes;
    }
    if (pieces.empty())
        throw std::runtime_error("no time stamps in " + file.string());
    std::nth_element(pieces.begin(), pieces.begin() + static_cast<long>(pieces.size() / 2),
                     pieces.end());
    return start + pieces[pieces.size() / 2] * 1e9 / kRate;
}

std::vector<CallRecord> ReadCalls(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<CallRecord> calls;
    CallRecord c;
    while (in >> c.label >> c.sentNs >> c.repliedNs)
        calls.push_back(c);
    return calls;
}

double Median(std::vector<double> v) {
    v.erase(std::remove_if(v.begin(), v.end(), [](double x) { return x < 0; }), v.end());
    if (v.empty())
        return kNaN;
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

class Listener {
  public:
    Listener(std::vector<float> rec, std::vector<float> ref, double startNs, double accept)
        : rec_(std::move(rec)), ref_(std::move(ref)), startNs_(startNs),
          alignment_(Align(rec_, ref_, accept)) {}

    // What was heard, for a look by hand: sound and the reference's places, in ms.
    void describe(std::FILE* out, const std::vector<CallRecord>& calls) const {
        auto ms = [this](long frame) { return msAfter(frame, 0) - startNs_ / 1e6; };
        for (const CallRecord& c : calls)
            std::fprintf(out, "call %s %.1f\n", c.label.c_str(), ms(frameAt(c.sentNs)));
        for (const SoundInterval& s : alignment_.sound)
            std::fprintf(out, "sound %.1f .. %.1f\n", ms(s.begin), ms(s.end));
        for (const AlignedPiece& p : alignment_.pieces)
            std::fprintf(out, "piece %.1f .. %.1f = reference %.1f .. %.1f\n", ms(p.begin),
                         ms(p.end), ms(p.begin + p.offset), ms(p.end + p.offset));
    }

    long frameAt(long long ns) const {
        return static_cast<long>(std::floor((static_cast<double>(ns) - startNs_) * kRate / 1e9));
    }
    double msAfter(long frame, long long ns) const {
        return (startNs_ + static_cast<double>(frame) * 1e9 / kRate - static_cast<double>(ns)) /
               1e6;
    }

    // Where the sound playing at `frame` (or ended just before it) ends; with `until`, where the
    // monitor falls silent for good before `until`, after whatever rang on. -1 when none.
    long soundEnd(long frame, long until = -1) const {
        long end = -1;
        for (const SoundInterval& s : alignment_.sound) {
            if (s.end <= frame - static_cast<long>(0.05 * kRate))
                continue;
            if (until < 0 && s.begin <= frame)
                return s.end;
            if (until >= 0 && s.begin < until)
                end = s.end;
        }
        return end;
    }
    // The start of the sound holding `frame`.
    long soundBegin(long frame) const {
        for (const SoundInterval& s : alignment_.sound)
            if (s.begin <= frame && frame < s.end)
                return s.begin;
        return frame;
    }
    // The start of the first sound after `frame`; -1 when none.
    long soundStart(long frame) const {
        for (const SoundInterval& s : alignment_.sound)
            if (s.begin >= frame)
                return s.begin;
        return -1;
    }

    long silentBetween(long a, long b) const {
        long sounding = 0;
        for (const SoundInterval& s : alignment_.sound)
            sounding += std::max(0L, std::min(b, s.end) - std::max(a, s.begin));
        return std::max(0L, b - a - sounding);
    }

    // Milliseconds of the reference missing (positive) or heard twice (negative) between the
    // last piece heard that starts before `before` and the first one that reaches past `after`,
    // where the sound between them that is not silent counts as played.
    double skipMs(long before, long after) const {
        const AlignedPiece* a = lastBefore(before);
        const AlignedPiece* b = firstAfter(after);
        if (!a || !b)
            return kNaN;
        if (a == b)
            return 0.0;
        const long gap = silentBetween(a->end, std::max(a->end, b->begin));
        return static_cast<double>(b->offset - a->offset + gap) * 1000.0 / kRate;
    }

    // The same for a sound that comes back at `resumed`, taken to go on from there as the first
    // piece heard after it; what rang on in the pause does not count.
    double resumeSkipMs(long resumed) const {
        const AlignedPiece* a = lastBefore(resumed);
        const AlignedPiece* b = firstAfter(resumed);
        if (!a || !b || a == b)
            return kNaN;
        return static_cast<double>(resumed + b->offset - a->end - a->offset) * 1000.0 / kRate;
    }

    const AlignedPiece* lastBefore(long frame) const {
        const AlignedPiece* found = nullptr;
        for (const AlignedPiece& p : alignment_.pieces)
            if (p.begin < frame)
                found = &p;
        return found;
    }
    const AlignedPiece* firstAfter(long frame) const {
        for (const AlignedPiece& p : alignment_.pieces)
            if (p.end > frame)
                return &p;
        return nullptr;
    }

    double gapMs(long from, long to) const {
        return static_cast<double>(silentBetween(from, to)) * 1000.0 / kRate;
    }

    // Gains of the recording against the reference in steps of `step` frames over [a, b).
    std::vector<std::pair<long, double>> gains(long a, long b, long step) const {
        std::vector<std::pair<long, double>> out;
        for (long n = std::max(0L, a); n + step <= b && n + step <= static_cast<long>(rec_.size());
             n += step) {
            const AlignedPiece* p = PieceAt(alignment_, n);
            if (p && n + step <= p->end)
                out.emplace_back(n, GainAt(rec_, ref_, n, n + step, p->offset));
        }
        return out;
    }

  private:
    std::vector<float> rec_;
    std::vector<float> ref_;
    double startNs_;
    Alignment alignment_;
};

double VolumeHeardMs(const Listener& l, long k, long long sentNs) {
    const long s = static_cast<long>(0.05 * kRate);
    std::vector<double> before, after;
    for (auto [n, g] : l.gains(k - 12 * s, k - s, 512))
        before.push_back(g);
    for (auto [n, g] : l.gains(k + 16 * s, k + 32 * s, 512))
        after.push_back(g);
    const double gb = Median(before), ga = Median(after);
    if (std::isnan(gb) || std::isnan(ga) || std::fabs(ga - gb) < 0.1 * std::max(ga, gb))
        return kNaN;
    const auto steps = l.gains(k - s, k + 32 * s, 128);
    auto moved = [&](double g) { return g >= 0 && std::fabs(g - gb) > 0.5 * std::fabs(ga - gb); };
    // Four steps in a row at the new level, with no gap between them.
    for (std::size_t i = 0; i + 4 <= steps.size(); ++i) {
        bool held = steps[i + 3].first - steps[i].first == 3 * 128;
        for (std::size_t j = i; held && j < i + 4; ++j)
            held = moved(steps[j].second);
        // Sound that comes back after a silence comes back at the new level, though the first
        // of it may not be found in the reference (a synthesizer restarted cuts its notes).
        if (held) {
            const long back = l.soundBegin(steps[i].first);
            return l.msAfter(back > k ? back : steps[i].first, sentNs);
        }
    }
    return kNaN;
}

} // namespace

std::vector<std::pair<std::string, double>> AnalyzeResponse(const std::filesystem::path& reference,
                                                            const std::filesystem::path& folder,
                                                            double accept) {
    const Listener l(ReadMonitor(folder / "monitor.f32"), ReadReference(reference),
                     ClockStartNs(folder / "stamps.txt"), accept);
    if (std::getenv("OUTPUT_RESPONSE_DESCRIBE"))
        l.describe(stderr, ReadCalls(folder / "calls.txt"));
    std::vector<std::pair<std::string, double>> figures;
    const std::vector<CallRecord> calls = ReadCalls(folder / "calls.txt");
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const CallRecord& c = calls[i];
        figures.emplace_back(c.label + ".reply", static_cast<double>(c.repliedNs - c.sentNs) / 1e6);
        const long k = l.frameAt(c.sentNs);
        const long next = i + 1 < calls.size() ? l.frameAt(calls[i + 1].sentNs)
                                               : std::numeric_limits<long>::max();
        const std::string kind = c.label.substr(0, c.label.find_first_of("0123456789_"));
        const long s = static_cast<long>(0.05 * kRate);
        if (kind == "pause" || kind == "stop") {
            const long end = l.soundEnd(k);
            // Sound that starts just before the next call may be that call's, placed early.
            const long quiet = l.soundEnd(k, next - s);
            figures.emplace_back(c.label + ".silent_after",
                                 end < 0 ? kNaN : l.msAfter(end, c.sentNs));
            figures.emplace_back(c.label + ".quiet_after",
                                 quiet < 0 ? kNaN : l.msAfter(quiet, c.sentNs));
        } else if (kind == "resume" || kind == "start") {
            const long begin = l.soundStart(k - s / 2);
            figures.emplace_back(c.label + ".sound_after",
                                 begin < 0 ? kNaN : l.msAfter(begin, c.sentNs));
            // Where the music stopped at the pause against where it goes on.
            if (kind == "resume")
                figures.emplace_back(c.label + ".skip", begin < 0 ? kNaN : l.resumeSkipMs(begin));
        } else if (kind == "volume") {
            figures.emplace_back(c.label + ".heard_after", VolumeHeardMs(l, k, c.sentNs));
            figures.emplace_back(c.label + ".skip", l.skipMs(k - 2 * s, k + 32 * s));
            figures.emplace_back(c.label + ".gap", l.gapMs(k, k + 32 * s));
        }
    }
    return figures;
}

} // namespace tobira::bench
