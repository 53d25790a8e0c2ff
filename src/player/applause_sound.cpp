// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/applause_sound.h"

#include "files/whole_file.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <numbers>

namespace tobira {
namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 4.0;
constexpr double kFadeSeconds = 1.6;
constexpr int kClappers = 32;
// Loudness of the full crowd (RMS), and the soft ceiling over which single slaps are rounded.
constexpr double kLoudness = 0.12;
constexpr double kKnee = 0.5;
constexpr double kCeiling = 0.9;

// splitmix64: a fixed sequence, so the sound is the same on every machine.
class Noise {
  public:
    explicit Noise(std::uint64_t seed) : state_(seed) {}
    double uniform() { // 0 <= u < 1
        return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
    }
    double between(double low, double high) { return low + (high - low) * uniform(); }
    double white() { return uniform() * 2.0 - 1.0; }

  private:
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint64_t state_;
};

// Band-pass with 0 dB at the centre: the hollow of two palms rings around one pitch.
class BandPass {
  public:
    BandPass(double centre, double q) {
        const double w0 = 2.0 * std::numbers::pi * centre / kRate;
        const double alpha = std::sin(w0) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0_ = alpha / a0;
        a1_ = -2.0 * std::cos(w0) / a0;
        a2_ = (1.0 - alpha) / a0;
    }
    double operator()(double x) {
        const double y = b0_ * (x - x2_) - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_, x1_ = x;
        y2_ = y1_, y1_ = y;
        return y;
    }

  private:
    double b0_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

struct Clapper {
    double start, stop; // seconds
    double pace;        // claps per second
    double pitch, q;    // of the palms' ring
    double decay;       // seconds
    double loudness;
    double left, right; // equal-power pan gains
};

Clapper makeClapper(Noise& rnd) {
    Clapper c;
    c.start = rnd.between(0.0, 0.35);
    // Most stop during the last two seconds; a few keep going nearly to the end.
    c.stop = rnd.between(2.0, kSeconds - 0.3);
    c.pace = rnd.between(3.4, 5.2);
    c.pitch = rnd.between(850.0, 2600.0);
    c.q = rnd.between(1.2, 2.6);
    c.decay = rnd.between(0.004, 0.009);
    // Near and far seats.
    c.loudness = rnd.between(0.35, 1.0);
    const double angle = (rnd.between(-0.85, 0.85) + 1.0) * std::numbers::pi / 4.0;
    c.left = std::cos(angle);
    c.right = std::sin(angle);
    return c;
}

void addClap(std::vector<double>& mix, const Clapper& c, double at, Noise& rnd) {
    const auto first = static_cast<std::size_t>(at * kRate);
    const auto length = static_cast<std::size_t>(0.045 * kRate);
    const std::size_t frames = mix.size() / 2;
    BandPass ring(c.pitch * rnd.between(0.9, 1.1), c.q);
    const double strength = c.loudness * rnd.between(0.65, 1.0);
    const double attack = 0.0006 * kRate;
    double crisp = 0.0; // a first-order high-pass of the noise: the slap of the skin
    double previous = 0.0;
    for (std::size_t n = 0; n < length && first + n < frames; ++n) {
        const double t = static_cast<double>(n);
        const double envelope =
            std::min(1.0, t / attack) * std::exp(-t / (c.decay * static_cast<double>(kRate)));
        const double x = rnd.white();
        crisp = 0.85 * (crisp + x - previous);
        previous = x;
        const double s = strength * envelope * (ring(x) * 2.2 + 0.12 * crisp);
        mix[2 * (first + n)] += s * c.left;
        mix[2 * (first + n) + 1] += s * c.right;
    }
}

// A small Schroeder hall: four combs and two all-passes per side, with different lengths on
// each side so that the room spreads the sound out.
class Hall {
  public:
    explicit Hall(int spread) {
        constexpr std::array<int, 4> combs{1116, 1188, 1277, 1356};
        constexpr std::array<int, 2> passes{556, 441};
        for (std::size_t i = 0; i < combs.size(); ++i)
            combs_[i].assign(static_cast<std::size_t>(combs[i] + spread), 0.0);
        for (std::size_t i = 0; i < passes.size(); ++i)
            passes_[i].assign(static_cast<std::size_t>(passes[i] + spread), 0.0);
    }
    double operator()(double x) {
        double sum = 0.0;
        for (std::size_t i = 0; i < combs_.size(); ++i) {
            auto& line = combs_[i];
            std::size_t& at = combAt_[i];
            const double out = line[at];
            damped_[i] = out * 0.75 + damped_[i] * 0.25;
            line[at] = x + damped_[i] * 0.78;
            at = (at + 1) % line.size();
            sum += out;
        }
        double y = sum * 0.25;
        for (std::size_t i = 0; i < passes_.size(); ++i) {
            auto& line = passes_[i];
            std::size_t& at = passAt_[i];
            const double delayed = line[at];
            line[at] = y + delayed * 0.5;
            y = delayed - y * 0.5;
            at = (at + 1) % line.size();
        }
        return y;
    }

  private:
    std::array<std::vector<double>, 4> combs_;
    std::array<std::size_t, 4> combAt_{};
    std::array<double, 4> damped_{};
    std::array<std::vector<double>, 2> passes_;
    std::array<std::size_t, 2> passAt_{};
};

void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

PcmSound MakeApplause() {
    const auto frames = static_cast<std::size_t>(kSeconds * kRate);
    std::vector<double> mix(frames * 2, 0.0);
    Noise rnd(0x7A3C5E91D2B4F608ull);
    for (int i = 0; i < kClappers; ++i) {
        const Clapper c = makeClapper(rnd);
        // Nobody claps like a metronome: each interval wanders a little.
        for (double t = c.start; t < c.stop; t += rnd.between(0.88, 1.12) / c.pace)
            addClap(mix, c, t, rnd);
    }

    Hall leftHall(0), rightHall(23);
    // One-pole low-pass near 7 kHz.
    const double air = 1.0 - std::exp(-2.0 * std::numbers::pi * 7000.0 / kRate);
    std::array<double, 2> soft{};
    double power = 0.0;
    const auto fullFrom = static_cast<std::size_t>(0.5 * kRate);
    const auto fullTo = static_cast<std::size_t>(2.0 * kRate);
    for (std::size_t f = 0; f < frames; ++f) {
        const double dry = (mix[2 * f] + mix[2 * f + 1]) * 0.5;
        const double seconds = static_cast<double>(f) / kRate;
        // Swell in, then die away over the last stretch as the last hands stop.
        const double in = std::min(1.0, seconds / 0.12);
        const double outStart = kSeconds - kFadeSeconds;
        const double out =
            seconds < outStart
                ? 1.0
                : 0.5 + 0.5 * std::cos(std::numbers::pi * (seconds - outStart) / kFadeSeconds);
        // Air takes the edge off the highest hiss on its way to the listener.
        soft[0] += air * ((mix[2 * f] * 0.8 + leftHall(dry) * 0.35) - soft[0]);
        soft[1] += air * ((mix[2 * f + 1] * 0.8 + rightHall(dry) * 0.35) - soft[1]);
        mix[2 * f] = soft[0] * in * out;
        mix[2 * f + 1] = soft[1] * in * out;
        if (f >= fullFrom && f < fullTo)
            power += mix[2 * f] * mix[2 * f] + mix[2 * f + 1] * mix[2 * f + 1];
    }

    // Claps are all peaks: set the level by the loudness of the full crowd and round off the
    // few loudest slaps instead of letting them decide it.
    const double rms = std::sqrt(power / (2.0 * static_cast<double>(fullTo - fullFrom)));
    const double gain = rms > 0.0 ? kLoudness / rms : 0.0;
    PcmSound sound;
    sound.rate = kRate;
    sound.channels = 2;
    sound.samples.resize(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) {
        double v = mix[i] * gain;
        const double over = std::abs(v) - kKnee;
        if (over > 0.0)
            v = std::copysign(kKnee + (kCeiling - kKnee) * std::tanh(over / (kCeiling - kKnee)), v);
        sound.samples[i] = static_cast<std::int16_t>(std::lround(v * 32767.0));
    }
    return sound;
}

std::string WaveFileBytes(const PcmSound& sound) {
    const auto dataBytes = static_cast<std::uint32_t>(sound.samples.size() * 2);
    const auto channels = static_cast<std::uint32_t>(sound.channels);
    const auto rate = static_cast<std::uint32_t>(sound.rate);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    putLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    putLe(out, 16, 4);
    putLe(out, 1, 2); // PCM
    putLe(out, channels, 2);
    putLe(out, rate, 4);
    putLe(out, rate * channels * 2, 4);
    putLe(out, channels * 2, 2);
    putLe(out, 16, 2);
    out += "data";
    putLe(out, dataBytes, 4);
    for (std::int16_t s : sound.samples)
        putLe(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

bool IsWaveFileName(std::string_view name) {
    if (name.size() < 4)
        return false;
    const std::string_view ext = name.substr(name.size() - 4);
    auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    return std::equal(ext.begin(), ext.end(), std::string_view(".WAV").begin(),
                      [&](char a, char b) { return upper(a) == b; });
}

std::vector<std::string> ListWaveFiles(const std::string& cp932Folder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(PathFromCp932(cp932Folder), ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        auto name = Cp932FromPath(it->path().filename());
        if (name && IsWaveFileName(*name))
            names.push_back(std::move(*name));
    }
    return names;
}

bool PlaceDefaultApplause(const std::string& cp932Folder) {
    if (!ListWaveFiles(cp932Folder).empty())
        return false;
    try {
        std::string folder = cp932Folder;
        if (!folder.empty() && folder.back() != '/')
            folder += '/';
        WriteFileAtomically(PathFromCp932(folder + std::string(kDefaultApplauseName)),
                            WaveFileBytes(MakeApplause()));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace tobira
