#include "support/cue_files.h"

#include <sndfile.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tobira::testing {

void WriteCueFile(const std::filesystem::path& file, CueFileKind kind, const std::vector<char>& bin,
                  std::int64_t from, std::int64_t to, int rate) {
    constexpr std::int64_t kSector = 2352;
    std::vector<char> part(bin.begin() + from * kSector, bin.begin() + to * kSector);
    if (kind == CueFileKind::Bin || kind == CueFileKind::Motorola) {
        if (kind == CueFileKind::Motorola)
            for (std::size_t i = 0; i + 1 < part.size(); i += 2)
                std::swap(part[i], part[i + 1]);
        WriteFileBytes(file, std::string(part.begin(), part.end()));
        return;
    }
    std::vector<short> samples(part.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<short>(static_cast<unsigned char>(part[2 * i]) |
                                        static_cast<unsigned char>(part[2 * i + 1]) << 8);
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = (kind == CueFileKind::Flac ? SF_FORMAT_FLAC : SF_FORMAT_WAV) | SF_FORMAT_PCM_16;
    SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
    const auto frames = static_cast<sf_count_t>(samples.size() / 2);
    const bool written = sf_writef_short(out, samples.data(), frames) == frames;
    if (sf_close(out) != 0 || !written)
        throw std::runtime_error("cannot write " + file.string());
}

std::vector<char> ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFileBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush())
        throw std::runtime_error("cannot write " + file.string());
}

} // namespace tobira::testing
