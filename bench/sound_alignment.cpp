// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound_alignment.h"

#include <algorithm>
#include <cmath>

namespace tobira::bench {
namespace {

constexpr long kBlock = 1024;  // the step the recording is followed in (23 ms)
constexpr long kSearch = 4096; // a window long enough to be unlike any other place
constexpr long kStep = 4;      // the coarse search compares averages of four samples
constexpr long kNear = 5 * 44100;
constexpr float kSilent = 3e-5f; // about -90 dBFS: the server's silence is exact zeros
constexpr long kGapMerge = 88;   // shorter runs of zeros are the sound crossing zero
constexpr long kShortest = 220;

std::vector<SoundInterval> FindSound(const std::vector<float>& x) {
    std::vector<SoundInterval> found;
    const long n = static_cast<long>(x.size());
    for (long i = 0; i < n;) {
        while (i < n && std::fabs(x[i]) < kSilent)
            ++i;
        if (i >= n)
            break;
        const long begin = i;
        long loud = i;
        while (i < n && i - loud <= kGapMerge) {
            if (std::fabs(x[i]) >= kSilent)
                loud = i;
            ++i;
        }
        if (loud + 1 - begin >= kShortest)
            found.push_back({begin, loud + 1});
        i = loud + 1;
    }
    return found;
}

double Correlation(const float* x, const float* r, long w) {
    double xy = 0, xx = 0, rr = 0;
    for (long i = 0; i < w; ++i) {
        xy += double{x[i]} * r[i];
        xx += double{x[i]} * x[i];
        rr += double{r[i]} * r[i];
    }
    return xx > 0 && rr > 0 ? xy / std::sqrt(xx * rr) : 0.0;
}

std::vector<float> Decimated(const float* x, long frames) {
    std::vector<float> out(static_cast<std::size_t>(frames / kStep));
    for (std::size_t j = 0; j < out.size(); ++j) {
        float sum = 0;
        for (long k = 0; k < kStep; ++k)
            sum += x[static_cast<long>(j) * kStep + k];
        out[j] = sum;
    }
    return out;
}

struct Found {
    long offset = 0;
    double correlation = -1;
};

class Searcher {
  public:
    explicit Searcher(const std::vector<float>& reference)
        : ref_(reference),
          coarse_(Decimated(reference.data(), static_cast<long>(reference.size()))),
          energy_(coarse_.size() + 1, 0.0) {
        for (std::size_t i = 0; i < coarse_.size(); ++i)
            energy_[i + 1] = energy_[i] + double{coarse_[i]} * coarse_[i];
    }

    // The best place for recording samples [at, at + w) with the reference start in [lo, hi).
    Found search(const std::vector<float>& rec, long at, long w, long lo, long hi) const {
        const long refSize = static_cast<long>(ref_.size());
        lo = std::max(0L, lo);
        hi = std::min(hi, refSize - w);
        if (hi <= lo || w < kBlock / 2)
            return {};
        const std::vector<float> x = Decimated(rec.data() + at, w);
        const long taps = static_cast<long>(x.size());
        double xx = 0;
        for (float v : x)
            xx += double{v} * v;
        if (xx <= 0)
            return {};
        // The few best coarse places, each refined sample by sample.
        constexpr std::size_t kCandidates = 5;
        std::vector<Found> best;
        for (long m = lo / kStep; m * kStep < hi && m + taps <= static_cast<long>(coarse_.size());
             ++m) {
            const float* r = coarse_.data() + m;
            float part[8] = {}; // independent sums, so that the compiler can vectorize
            long j = 0;
            for (; j + 8 <= taps; j += 8)
                for (int q = 0; q < 8; ++q)
                    part[q] += x[j + q] * r[j + q];
            float xy = 0;
            for (; j < taps; ++j)
                xy += x[j] * r[j];
            for (float v : part)
                xy += v;
            const double rr = energy_[m + taps] - energy_[m];
            const double c = rr > 0 ? xy / std::sqrt(xx * rr) : 0.0;
            if (best.size() == kCandidates && c <= best.back().correlation)
                continue;
            auto near = std::find_if(best.begin(), best.end(),
                                     [m](const Found& f) { return std::labs(f.offset - m) < 4; });
            if (near != best.end()) {
                if (c > near->correlation)
                    *near = {m, c};
            } else {
                if (best.size() == kCandidates)
                    best.pop_back();
                best.push_back({m, c});
            }
            std::sort(best.begin(), best.end(),
                      [](const Found& a, const Found& b) { return a.correlation > b.correlation; });
        }
        Found result;
        for (const Found& candidate : best)
            for (long p = candidate.offset * kStep - kStep; p <= candidate.offset * kStep + kStep;
                 ++p) {
                if (p < 0 || p + w > refSize)
                    continue;
                const double c = Correlation(rec.data() + at, ref_.data() + p, w);
                if (c > result.correlation)
                    result = {p - at, c};
            }
        return result;
    }

  private:
    const std::vector<float>& ref_;
    std::vector<float> coarse_;
    std::vector<double> energy_;
};

// Where in [a, b) the recording turns from the reference at d1 to the reference at d2.
long Boundary(const std::vector<float>& x, const std::vector<float>& r, long a, long b, long d1,
              long d2) {
    const long size = static_cast<long>(r.size());
    const double g1 = std::max(0.0, GainAt(x, r, std::max(0L, a - kBlock), a, d1));
    const double g2 =
        std::max(0.0, GainAt(x, r, b, std::min<long>(b + kBlock, static_cast<long>(x.size())), d2));
    auto err = [&](long n, long d, double g) {
        const double ref = n + d >= 0 && n + d < size ? r[n + d] : 0.0;
        const double e = x[n] - g * ref;
        return e * e;
    };
    double after = 0;
    for (long n = a; n < b; ++n)
        after += err(n, d2, g2);
    double before = 0, lowest = after;
    long at = a;
    for (long n = a; n < b; ++n) {
        before += err(n, d1, g1);
        after -= err(n, d2, g2);
        if (before + after < lowest) {
            lowest = before + after;
            at = n + 1;
        }
    }
    return at;
}

} // namespace

double GainAt(const std::vector<float>& recording, const std::vector<float>& reference, long begin,
              long end, long offset) {
    double xr = 0, rr = 0;
    const long size = static_cast<long>(reference.size());
    for (long n = std::max(begin, -offset); n < end && n + offset < size; ++n) {
        xr += double{recording[n]} * reference[n + offset];
        rr += double{reference[n + offset]} * reference[n + offset];
    }
    return rr > 1e-6 ? xr / rr : -1.0;
}

const AlignedPiece* PieceAt(const Alignment& alignment, long n) {
    for (const AlignedPiece& p : alignment.pieces)
        if (n >= p.begin && n < p.end)
            return &p;
    return nullptr;
}

Alignment Align(const std::vector<float>& rec, const std::vector<float>& ref, double accept) {
    Alignment result;
    result.sound = FindSound(rec);
    const Searcher searcher(ref);
    const long refSize = static_cast<long>(ref.size());
    auto correlationAt = [&](long at, long w, long offset) {
        return at + offset >= 0 && at + offset + w <= refSize
                   ? Correlation(rec.data() + at, ref.data() + at + offset, w)
                   : -1.0;
    };
    bool known = false; // an offset was found before: a player moves little from it
    long last = 0;
    for (const SoundInterval& sound : result.sound) {
        bool following = false;
        for (long k = sound.begin; k < sound.end; k += kBlock) {
            const long w = std::min(kBlock, sound.end - k);
            if (following && (w < kBlock / 4 || correlationAt(k, w, last) >= accept)) {
                result.pieces.back().end = k + w;
                continue;
            }
            // Look past a jump inside this block: the window starts at the next one.
            const long at = following && k + 2 * kBlock <= sound.end ? k + kBlock : k;
            const long w2 = std::min(kSearch, sound.end - at);
            if (w2 < kBlock) {
                following = false;
                continue;
            }
            const double held = following ? correlationAt(at, w2, last) : -1.0;
            Found f;
            if (known)
                f = searcher.search(rec, at, w2, at + last - kNear, at + last + kNear);
            // Anywhere only at the start of a sound long enough to be told apart: a player
            // that starts again starts from the top.
            if (f.correlation < accept && k == sound.begin && w2 == kSearch)
                f = searcher.search(rec, at, w2, 0, refSize);
            // Another place must match clearly better than the one followed so far: a
            // synthesizer that has just cut its notes sounds a little unlike the reference.
            if (f.correlation < accept || (following && f.correlation < held + 0.1)) {
                if (following && held >= accept / 2)
                    result.pieces.back().end = k + w;
                else
                    following = false;
                continue;
            }
            if (following && f.offset == last) {
                result.pieces.back().end = k + w;
                continue;
            }
            if (following && at != k) {
                const long j = Boundary(rec, ref, k, k + w, last, f.offset);
                result.pieces.back().end = j;
                result.pieces.push_back({j, k + w, f.offset});
            } else {
                result.pieces.push_back({k, k + w, f.offset});
            }
            last = f.offset;
            known = following = true;
        }
    }
    return result;
}

} // namespace tobira::bench
