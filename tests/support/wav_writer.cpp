// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <string>

namespace tobira::testing {

namespace {

void Put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

} // namespace

void WriteWav(const std::filesystem::path& file, const WavFormat& format,
              const std::vector<float>& samples) {
    if ((format.channels != 1 && format.channels != 2) || (format.bits != 8 && format.bits != 16) ||
        format.rate <= 0)
        throw std::runtime_error("unsupported WAV format");
    const std::uint32_t bytesPerSample = format.bits / 8;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size()) * bytesPerSample;

    std::string out;
    out += "RIFF";
    Put32(out, 36 + dataBytes + (dataBytes & 1));
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, format.channels);
    Put32(out, format.rate);
    Put32(out, format.rate * format.channels * bytesPerSample);
    Put16(out, format.channels * bytesPerSample);
    Put16(out, format.bits);
    out += "data";
    Put32(out, dataBytes);
    for (float s : samples) {
        const double v = std::clamp(static_cast<double>(s), -1.0, 1.0);
        if (format.bits == 8)
            out.push_back(
                static_cast<char>(static_cast<std::uint8_t>(std::lround(v * 127.0) + 128)));
        else
            Put16(out,
                  static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767.0))));
    }
    if (dataBytes & 1)
        out.push_back('\0'); // RIFF chunks are padded to even length

    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    stream.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!stream.flush())
        throw std::runtime_error("cannot write " + file.string());
}

std::vector<float> MakeTone(const WavFormat& format, long frames, double frequency,
                            double amplitude) {
    std::vector<float> samples;
    samples.reserve(static_cast<std::size_t>(frames) * format.channels);
    for (long i = 0; i < frames; ++i) {
        const auto v = static_cast<float>(
            amplitude * std::sin(2.0 * std::numbers::pi * frequency * i / format.rate));
        for (int c = 0; c < format.channels; ++c)
            samples.push_back(v);
    }
    return samples;
}

void WriteToneWav(const std::filesystem::path& file, const WavFormat& format, long frames,
                  double frequency, double amplitude) {
    WriteWav(file, format, MakeTone(format, frames, frequency, amplitude));
}

} // namespace tobira::testing
