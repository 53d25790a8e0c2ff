// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cue_bin_writer.h"

#include "files/whole_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace tobira {

std::int64_t CueTrack::lengthSectors() const {
    if (!samples.empty()) {
        const auto frames = static_cast<std::int64_t>(samples.size() / 2);
        return (frames + kCdFramesPerSector - 1) / kCdFramesPerSector;
    }
    if (sectors > 0)
        return sectors;
    return static_cast<std::int64_t>(std::llround(seconds * kCdSectorsPerSecond));
}

std::string CueTime(std::int64_t sectors) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d",
                  static_cast<int>(sectors / (60 * kCdSectorsPerSecond)),
                  static_cast<int>(sectors / kCdSectorsPerSecond % 60),
                  static_cast<int>(sectors % kCdSectorsPerSecond));
    return text;
}

namespace {

void putSample(std::vector<char>& out, std::int16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

// The tone restarts at phase 0 on every track, so a track's first samples are predictable.
void appendTone(std::vector<char>& out, std::int64_t sectors, double frequency, double level) {
    const std::int64_t frames = sectors * kCdFramesPerSector;
    for (std::int64_t i = 0; i < frames; ++i) {
        double v = frequency > 0 ? level * std::sin(2 * std::numbers::pi * frequency *
                                                    static_cast<double>(i) / 44100.0)
                                 : 0.0;
        auto sample = static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767));
        putSample(out, sample);
        putSample(out, sample);
    }
}

void appendSamples(std::vector<char>& out, const std::vector<std::int16_t>& samples,
                   std::int64_t sectors) {
    const std::size_t values = static_cast<std::size_t>(sectors) * kCdFramesPerSector * 2;
    for (std::size_t i = 0; i < values; ++i)
        putSample(out, i < samples.size() ? samples[i] : std::int16_t{0});
}

unsigned char bcd(int v) {
    return static_cast<unsigned char>((v / 10) << 4 | (v % 10));
}

// Mode 1 sectors with a proper sync pattern and header, zero user data.
void appendData(std::vector<char>& out, std::int64_t firstSector, std::int64_t sectors) {
    for (std::int64_t s = 0; s < sectors; ++s) {
        std::vector<char> sector(kCdSectorBytes, 0);
        for (int i = 1; i <= 10; ++i)
            sector[i] = static_cast<char>(0xFF);
        const std::int64_t address = firstSector + s + 150;
        sector[12] = static_cast<char>(bcd(static_cast<int>(address / 4500)));
        sector[13] = static_cast<char>(bcd(static_cast<int>(address / kCdSectorsPerSecond % 60)));
        sector[14] = static_cast<char>(bcd(static_cast<int>(address % kCdSectorsPerSecond)));
        sector[15] = 1;
        out.insert(out.end(), sector.begin(), sector.end());
    }
}

} // namespace

CueImage WriteCueBin(const std::filesystem::path& folder, const std::string& name,
                     const std::vector<CueTrack>& tracks, const std::string& discTitle,
                     const std::string& discPerformer) {
    CueImage image;
    image.cue = folder / (name + ".cue");
    image.bin = folder / (name + ".bin");

    std::string cue;
    if (!discPerformer.empty())
        cue += "PERFORMER \"" + discPerformer + "\"\r\n";
    if (!discTitle.empty())
        cue += "TITLE \"" + discTitle + "\"\r\n";
    cue += "FILE \"" + name + ".bin\" BINARY\r\n";

    std::vector<char> bin;
    std::int64_t sector = 0;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const CueTrack& t = tracks[i];
        const std::string number = (i + 1 < 10 ? "0" : "") + std::to_string(i + 1);
        cue += std::string("  TRACK ") + number + (t.data ? " MODE1/2352" : " AUDIO") + "\r\n";
        if (!t.title.empty())
            cue += "    TITLE \"" + t.title + "\"\r\n";
        if (t.preEmphasis)
            cue += "    FLAGS PRE\r\n";
        if (t.pregapSectors > 0) {
            cue += "    INDEX 00 " + CueTime(sector) + "\r\n";
            if (t.data)
                appendData(bin, sector, t.pregapSectors);
            else
                appendTone(bin, t.pregapSectors, 0, 0);
            sector += t.pregapSectors;
        }
        cue += "    INDEX 01 " + CueTime(sector) + "\r\n";
        image.trackStarts.push_back(sector);
        const std::int64_t length = t.lengthSectors();
        if (t.data)
            appendData(bin, sector, length);
        else if (!t.samples.empty())
            appendSamples(bin, t.samples, length);
        else
            appendTone(bin, length, t.frequency, t.level);
        sector += length;
    }
    image.totalSectors = sector;

    // The sheet last: it names the image's audio, which is whole by then.
    WriteFileAtomically(image.bin, std::string_view(bin.data(), bin.size()));
    WriteFileAtomically(image.cue, cue);
    return image;
}

} // namespace tobira
