// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/demo_disc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

namespace tobira {
namespace {

constexpr double kRate = 44100;
constexpr double kTwoPi = 2 * std::numbers::pi;

enum class Voice { Pluck, Bell, Piano, Pad, Bass, Flute };

struct Note {
    double beat;  // start, in beats
    double beats; // length, in beats
    int pitch;    // MIDI note number
    double level; // 0..1
    Voice voice;
    double pan; // -1 left .. +1 right
};

struct Piece {
    std::string title;
    double bpm;
    double beats; // length of the piece
    std::vector<Note> notes;
};

double Frequency(int pitch) {
    return 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
}

// A small fixed generator, so the disc is the same on every machine.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24) * 2 - 1;
    }
    int below(int n) { return static_cast<int>((next() + 1) / 2 * n) % n; }

  private:
    std::uint32_t state_;
};

// One sample of a voice at time t seconds into a note of `length` seconds.
double VoiceSample(Voice voice, double f, double t, double length) {
    const double release = std::clamp((length + 0.15 - t) / 0.15, 0.0, 1.0);
    switch (voice) {
    case Voice::Bell: {
        // FM with an inharmonic ratio: a struck metal bar.
        const double index = 3.0 * std::exp(-t * 4);
        return std::sin(kTwoPi * f * t + index * std::sin(kTwoPi * f * 3.5 * t)) *
               std::exp(-t * 2.2);
    }
    case Voice::Piano: {
        const double index = 1.8 * std::exp(-t * 6);
        const double body = std::sin(kTwoPi * f * t + index * std::sin(kTwoPi * f * t));
        return body * std::exp(-t * 1.6) * std::min(1.0, t / 0.004) * release;
    }
    case Voice::Pad: {
        double v = 0;
        for (int n = 1; n <= 6; ++n)
            v += (std::sin(kTwoPi * f * n * t) + std::sin(kTwoPi * f * 1.004 * n * t + n)) / n;
        const double attack = std::min(1.0, t / 0.5);
        const double fade = std::clamp((length + 0.6 - t) / 0.6, 0.0, 1.0);
        return 0.25 * v * attack * fade;
    }
    case Voice::Bass: {
        const double v = std::sin(kTwoPi * f * t) + 0.35 * std::sin(kTwoPi * 2 * f * t);
        return v * std::exp(-t * 2.5) * std::min(1.0, t / 0.01) * release;
    }
    case Voice::Flute: {
        const double vibrato = 0.004 * std::sin(kTwoPi * 5.5 * t) * std::min(1.0, t / 0.3);
        const double phase = kTwoPi * f * t * (1 + vibrato);
        const double v = std::sin(phase) + 0.25 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase);
        return v * std::min(1.0, t / 0.06) * release * 0.8;
    }
    case Voice::Pluck:
        break;
    }
    return 0;
}

// A plucked string (Karplus-Strong): noise in a delay line, softened on every pass.
void AddPluck(std::vector<double>& left, std::vector<double>& right, std::size_t start, double f,
              double seconds, double level, double pan, Noise& noise) {
    const auto period = static_cast<std::size_t>(std::max(2.0, kRate / f));
    std::vector<double> line(period);
    for (double& v : line)
        v = noise.next();
    const auto frames = static_cast<std::size_t>((seconds + 0.6) * kRate);
    double previous = 0;
    for (std::size_t i = 0; i < frames && start + i < left.size(); ++i) {
        double& v = line[i % period];
        const double out = v;
        v = 0.996 * 0.5 * (v + previous);
        previous = out;
        const double damp = i > seconds * kRate ? std::exp(-(i - seconds * kRate) / 4000.0) : 1;
        left[start + i] += out * level * damp * (1 - pan) / 2;
        right[start + i] += out * level * damp * (1 + pan) / 2;
    }
}

std::vector<std::int16_t> Render(const Piece& piece) {
    const double beat = 60.0 / piece.bpm;
    const auto frames = static_cast<std::size_t>((piece.beats * beat + 2.5) * kRate);
    std::vector<double> left(frames), right(frames);
    Noise noise(static_cast<std::uint32_t>(piece.title.size() * 7919));
    for (const Note& n : piece.notes) {
        const auto start = static_cast<std::size_t>(n.beat * beat * kRate);
        const double length = n.beats * beat;
        const double f = Frequency(n.pitch);
        if (n.voice == Voice::Pluck) {
            AddPluck(left, right, start, f, length, n.level, n.pan, noise);
            continue;
        }
        const double tail = n.voice == Voice::Bell ? 2.5 : 0.7;
        const auto count = static_cast<std::size_t>((length + tail) * kRate);
        for (std::size_t i = 0; i < count && start + i < frames; ++i) {
            const double v =
                n.level * VoiceSample(n.voice, f, static_cast<double>(i) / kRate, length);
            left[start + i] += v * (1 - n.pan) / 2;
            right[start + i] += v * (1 + n.pan) / 2;
        }
    }
    // A dotted-eighth echo bouncing between the sides gives the room.
    const auto delay = static_cast<std::size_t>(beat * 0.75 * kRate);
    for (std::size_t i = delay; i < frames; ++i) {
        left[i] += 0.28 * right[i - delay];
        right[i] += 0.28 * left[i - delay];
    }
    double peak = 1e-9;
    for (std::size_t i = 0; i < frames; ++i)
        peak = std::max({peak, std::abs(left[i]), std::abs(right[i])});
    const double gain = 0.8 / peak;
    const double fadeFrames = 2.0 * kRate;
    std::vector<std::int16_t> out(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        const double fade = std::min(1.0, static_cast<double>(frames - i) / fadeFrames);
        out[2 * i] = static_cast<std::int16_t>(std::lround(left[i] * gain * fade * 32767));
        out[2 * i + 1] = static_cast<std::int16_t>(std::lround(right[i] * gain * fade * 32767));
    }
    return out;
}

// Chords as MIDI notes of the root and the third and fifth above it.
struct Chord {
    int root;
    bool minor;
    int third() const { return root + (minor ? 3 : 4); }
    int fifth() const { return root + 7; }
};

void Melody(Piece& piece, double from, const std::vector<std::pair<int, double>>& line, Voice voice,
            double level, double pan) {
    double at = from;
    for (auto [pitch, beats] : line) {
        if (pitch > 0)
            piece.notes.push_back({at, beats * 0.95, pitch, level, voice, pan});
        at += beats;
    }
}

Piece MorningDoor() {
    Piece p{"Morning Door", 112, 64, {}};
    const Chord chords[] = {{60, false}, {55, false}, {57, true}, {53, false}};
    for (int bar = 0; bar < 16; ++bar) {
        const Chord c = chords[bar % 4];
        const double b = bar * 4.0;
        p.notes.push_back({b, 2, c.root - 24, 0.7, Voice::Bass, 0});
        p.notes.push_back({b + 2, 2, c.fifth() - 24, 0.6, Voice::Bass, 0});
        const int tones[] = {c.root, c.third(), c.fifth(), c.root + 12};
        for (int i = 0; i < 8; ++i)
            p.notes.push_back({b + i * 0.5, 0.5, tones[(i % 2 == 0) ? i / 2 % 4 : 3 - i / 2 % 4],
                               0.35, Voice::Pluck, -0.4});
    }
    const std::vector<std::pair<int, double>> tune = {
        {76, 1.5}, {74, 0.5}, {72, 1}, {74, 1}, {74, 1.5}, {71, 0.5}, {67, 2},
        {72, 1},   {76, 1},   {79, 1}, {76, 1}, {77, 2},   {76, 1},   {74, 1}};
    Melody(p, 16, tune, Voice::Bell, 0.45, 0.4);
    Melody(p, 32, tune, Voice::Bell, 0.45, 0.4);
    Melody(p, 48, tune, Voice::Flute, 0.35, 0.3);
    return p;
}

Piece EveningLantern() {
    Piece p{"Evening Lantern", 72, 36, {}};
    const Chord chords[] = {{57, true}, {53, false}, {60, false}, {55, false}};
    for (int bar = 0; bar < 9; ++bar) {
        const Chord c = chords[bar % 4];
        for (int tone : {c.root - 12, c.third(), c.fifth()})
            p.notes.push_back({bar * 4.0, 4, tone, 0.3, Voice::Pad, tone % 2 ? -0.3 : 0.3});
    }
    const std::vector<std::pair<int, double>> tune = {{76, 1}, {72, 1}, {74, 2}, {69, 2}, {72, 1},
                                                      {74, 1}, {76, 3}, {0, 1},  {79, 1}, {76, 1},
                                                      {74, 2}, {72, 1}, {69, 1}, {67, 2}, {69, 4}};
    Melody(p, 4, tune, Voice::Bell, 0.5, 0.2);
    return p;
}

Piece MarchingSteps() {
    Piece p{"Marching Steps", 132, 64, {}};
    const Chord chords[] = {{53, false}, {58, false}, {60, false}, {53, false}};
    for (int bar = 0; bar < 16; ++bar) {
        const Chord c = chords[bar % 4];
        for (int beat = 0; beat < 4; ++beat) {
            const int bass = beat % 2 ? c.fifth() - 24 : c.root - 24;
            p.notes.push_back({bar * 4.0 + beat, 0.8, bass, 0.7, Voice::Bass, 0});
            for (int tone : {c.root, c.third(), c.fifth()})
                p.notes.push_back({bar * 4.0 + beat + 0.5, 0.35, tone, 0.18, Voice::Piano, -0.3});
        }
    }
    const std::vector<std::pair<int, double>> tune = {
        {72, 1}, {77, 1}, {77, 0.5}, {79, 0.5}, {81, 1}, {82, 1}, {81, 1},
        {79, 2}, {79, 1}, {76, 1},   {72, 1},   {76, 1}, {77, 4}};
    Melody(p, 0, tune, Voice::Flute, 0.4, 0.3);
    Melody(p, 16, tune, Voice::Flute, 0.4, 0.3);
    Melody(p, 32, tune, Voice::Piano, 0.5, 0.3);
    Melody(p, 48, tune, Voice::Flute, 0.4, 0.3);
    return p;
}

Piece RainGarden() {
    Piece p{"Rain Garden", 96, 48, {}};
    const int scale[] = {62, 64, 66, 69, 71, 74, 76, 78, 81, 83};
    for (int bar = 0; bar < 12; ++bar)
        for (int tone : {50, 57, 62})
            p.notes.push_back({bar * 4.0, 4, tone, 0.22, Voice::Pad, 0});
    Noise walk(4711);
    int at = 4;
    for (double beat = 0; beat < 44; beat += 0.5) {
        if (walk.below(3) == 0)
            continue;
        at = std::clamp(at + walk.below(5) - 2, 0, 9);
        p.notes.push_back(
            {beat, 0.5, scale[at], 0.3 + 0.1 * walk.below(3), Voice::Bell, walk.next() * 0.8});
    }
    return p;
}

Piece WaltzForKanade() {
    Piece p{"Waltz for Kanade", 150, 72, {}};
    const Chord chords[] = {{55, false}, {60, false}, {62, false}, {55, false},
                            {52, true},  {60, false}, {62, false}, {55, false}};
    for (int bar = 0; bar < 24; ++bar) {
        const Chord c = chords[bar % 8];
        p.notes.push_back({bar * 3.0, 1, c.root - 24, 0.7, Voice::Bass, 0});
        for (int beat = 1; beat < 3; ++beat)
            for (int tone : {c.third(), c.fifth(), c.root + 12})
                p.notes.push_back({bar * 3.0 + beat, 0.6, tone, 0.15, Voice::Piano, -0.25});
    }
    const std::vector<std::pair<int, double>> tune = {
        {71, 2}, {74, 1}, {79, 3}, {78, 2}, {76, 1}, {74, 3}, {76, 2}, {78, 1}, {79, 2}, {76, 1},
        {74, 3}, {0, 3},  {71, 2}, {72, 1}, {74, 2}, {71, 1}, {72, 2}, {69, 1}, {67, 3}};
    Melody(p, 9, tune, Voice::Flute, 0.4, 0.3);
    Melody(p, 42, tune, Voice::Bell, 0.4, 0.3);
    return p;
}

Piece Goodnight() {
    Piece p{"Goodnight", 76, 36, {}};
    const Chord chords[] = {{53, false}, {57, true}, {58, false}, {53, false}};
    for (int bar = 0; bar < 9; ++bar) {
        const Chord c = chords[bar % 4];
        const int tones[] = {c.root - 12, c.fifth() - 12, c.third(), c.fifth()};
        for (int i = 0; i < 4; ++i)
            p.notes.push_back({bar * 4.0 + i, 1.5, tones[i], 0.3, Voice::Piano, -0.2});
    }
    const std::vector<std::pair<int, double>> tune = {{72, 2}, {69, 1}, {72, 1}, {77, 3}, {76, 1},
                                                      {74, 2}, {72, 1}, {70, 1}, {69, 4}, {72, 2},
                                                      {74, 1}, {72, 1}, {69, 2}, {67, 2}, {65, 4}};
    Melody(p, 4, tune, Voice::Flute, 0.35, 0.25);
    return p;
}

} // namespace

std::vector<CueTrack> DemoDiscTracks() {
    std::vector<CueTrack> tracks;
    for (const Piece& piece : {MorningDoor(), EveningLantern(), MarchingSteps(), RainGarden(),
                               WaltzForKanade(), Goodnight()}) {
        CueTrack track;
        track.title = piece.title;
        track.samples = Render(piece);
        tracks.push_back(std::move(track));
    }
    return tracks;
}

CueImage WriteDemoDisc(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return WriteCueBin(folder, kDemoDiscName, DemoDiscTracks(), "TOBIRA Demo Disc", "TOBIRA");
}

} // namespace tobira
