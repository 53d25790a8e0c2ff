// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cue_disc_image.h"

#include "files/regular_file.h"
#include "media/cd/cd_text_packs.h"
#include "media/loaders/shared_library.h"
#include "media/loaders/sndfile_api.h"
#include "text/cp932_convert.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

namespace tobira {

struct CueDiscImage::Source {
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    struct SndCloser {
        void operator()(SNDFILE* f) const { Sndfile().close(f); }
    };
    CueFile::Type type = CueFile::Type::Binary;
    std::unique_ptr<std::FILE, FileCloser> raw;
    // The decoder reads through this descriptor; it dies after the decoder.
    std::optional<RegularFile> checked;
    std::unique_ptr<SNDFILE, SndCloser> decoded;
    sf_count_t frame = 0; // where the decoder stands
    std::int64_t bytes = 0;
    std::vector<short> samples;
};

namespace {

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::filesystem::path matchCase(const std::filesystem::path& folder, const std::string& name) {
    std::error_code error;
    const std::string wanted = lower(name);
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        if (lower(it->path().filename().string()) == wanted)
            return it->path();
    return {};
}

std::string sheetPlace(const std::filesystem::path& cue, int line) {
    const std::string name = Cp932FromPath(cue.filename()).value_or("?");
    return Utf8ToCp932("ディスクイメージ【") + name + Utf8ToCp932("】") +
           (line > 0 ? Utf8ToCp932("の ") + std::to_string(line) + Utf8ToCp932(" 行目") : "") +
           Utf8ToCp932("：");
}

// Why a file the sheet names cannot be read, in UTF-8 like the other problems here.
std::string fileCause(const FileError& e) {
    return e.problem() == FileProblem::Missing ? std::string("が見つかりません")
                                               : Cp932ToUtf8(e.cause());
}

CueOpenResult refuse(const std::filesystem::path& cue, CueOpenResult result, int line,
                     const std::string& whatUtf8) {
    result.problem = sheetPlace(cue, line) + Utf8ToCp932(whatUtf8);
    return result;
}

} // namespace

std::filesystem::path FindCueFile(const std::filesystem::path& folder, const std::string& name) {
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const std::filesystem::path exact = folder / std::filesystem::u8path(relative);
    std::error_code error;
    if (std::filesystem::is_regular_file(exact, error))
        return exact;
    if (auto found = matchCase(exact.parent_path(), exact.filename().string()); !found.empty())
        return found;
    if (auto found = matchCase(folder, exact.filename().string()); !found.empty())
        return found;
    return exact;
}

CueOpenResult CueDiscImage::open(const std::filesystem::path& cue) {
    CueOpenResult result;
    result.files.push_back(cue);
    std::string bytes;
    try {
        bytes = RegularFile::open(cue, read_limit::CueSheet).readAll();
    } catch (const FileError& e) {
        const std::string what = e.problem() == FileProblem::Missing
                                     ? std::string("見つかりません")
                                     : Cp932ToUtf8(e.cause()).substr(3); // without its particle
        return refuse(cue, std::move(result), 0, what);
    }
    CueParseResult parsed = ParseCueSheet(bytes);
    if (!parsed.sheet)
        return refuse(cue, std::move(result), parsed.problem.line, parsed.problem.what);
    const CueSheet& sheet = *parsed.sheet;

    std::vector<std::unique_ptr<Source>> sources;
    std::vector<std::int64_t> fileBytes;
    std::optional<std::pair<int, std::string>> problem;
    for (const CueFile& file : sheet.files) {
        std::filesystem::path path = FindCueFile(cue.parent_path(), file.name);
        // An image pair renamed after its sheet was written: the one BIN is found by the
        // sheet's own name, as libcdio finds it.
        std::error_code missing;
        if (sheet.files.size() == 1 && file.type != CueFile::Type::Audio &&
            !std::filesystem::exists(path, missing))
            if (auto own = FindCueFile(cue.parent_path(), cue.stem().string() + ".bin");
                std::filesystem::is_regular_file(own, missing))
                path = own;
        result.files.push_back(path);
        if (problem)
            continue; // every file is still watched
        auto source = std::make_unique<Source>();
        source->type = file.type;
        const std::string quoted = "ファイル【" + file.name + "】";
        if (file.type == CueFile::Type::Audio) {
            const SndfileApi* sndfile = nullptr;
            try {
                sndfile = &Sndfile();
            } catch (const LibraryError& e) {
                problem = {file.line, quoted +
                                          "を読めません（音声ファイルを読むライブラリが"
                                          "ありません：" +
                                          e.what() + "）"};
                continue;
            }
            SF_INFO info{};
            try {
                // The library reads the file that was checked here, through its descriptor (a
                // descriptor it opened itself would be inherited by the programs started).
                source->checked = RegularFile::open(path, read_limit::DiscAudio);
                source->decoded.reset(
                    sndfile->open_fd(source->checked->fd(), SFM_READ, &info, SF_FALSE));
            } catch (const FileError& e) {
                problem = {file.line, quoted + fileCause(e)};
                continue;
            }
            if (!source->decoded) {
                problem = {file.line, quoted + "は読めない音声ファイルです"};
                continue;
            }
            if (info.samplerate != 44100 || info.channels != 2) {
                problem = {file.line, quoted + "は 44.1 kHz ステレオではありません（ＣＤイメージ"
                                               "ではありません）"};
                continue;
            }
            source->bytes = static_cast<std::int64_t>(info.frames) * 4;
        } else {
            try {
                RegularFile checked = RegularFile::open(path, read_limit::DiscAudio);
                source->bytes = static_cast<std::int64_t>(checked.size());
                source->raw.reset(::fdopen(checked.fd(), "rb"));
                if (source->raw)
                    checked.release();
            } catch (const FileError& e) {
                problem = {file.line, quoted + fileCause(e)};
                continue;
            }
            if (!source->raw) {
                problem = {file.line, quoted + "が読めません"};
                continue;
            }
        }
        fileBytes.push_back(source->bytes);
        sources.push_back(std::move(source));
    }
    if (problem)
        return refuse(cue, std::move(result), problem->first, problem->second);

    CueLayoutResult laid = LayOutCueSheet(sheet, fileBytes);
    if (!laid.layout)
        return refuse(cue, std::move(result), laid.problem.line, laid.problem.what);
    std::optional<CdToc> toc = CdToc::make(laid.layout->entries, laid.layout->leadout);
    std::vector<CdTextBlock> text;
    DiscText own{sheet.disc, {}};
    // By the disc's numbers: a sheet that starts at track 4 has no text for 1 to 3.
    const auto count = static_cast<std::size_t>(sheet.tracks.back().number);
    own.tracks.resize(count);
    for (const CueSheetTrack& t : sheet.tracks)
        own.tracks[static_cast<std::size_t>(t.number - 1)] = t.text;
    if (own != DiscText{{}, std::vector<CdText>(count)})
        text.push_back({0, std::move(own)});
    if (!sheet.cdTextFile.empty()) {
        // Text is a help, not the disc: a CD-Text file that cannot be read is passed over.
        const std::filesystem::path file = FindCueFile(cue.parent_path(), sheet.cdTextFile);
        result.files.push_back(file);
        try {
            for (CdTextBlock& block :
                 ParseCdTextPacks(RegularFile::open(file, read_limit::CueSheet).readAll())) {
                block.text.tracks.resize(count);
                text.push_back(std::move(block));
            }
        } catch (const FileError&) {
        }
    }
    result.image.reset(new CueDiscImage(std::move(sources), std::move(*laid.layout),
                                        std::move(*toc), std::move(text)));
    return result;
}

CueDiscImage::CueDiscImage(std::vector<std::unique_ptr<Source>> sources, CueLayout layout,
                           CdToc toc, std::vector<CdTextBlock> text)
    : sources_(std::move(sources)), layout_(std::move(layout)), toc_(std::move(toc)),
      text_(std::move(text)) {}

CueDiscImage::~CueDiscImage() = default;

std::int32_t CueDiscImage::firstLsn() const {
    return layout_.segments.empty()
               ? 0
               : static_cast<std::int32_t>(std::min<std::int64_t>(0, layout_.segments.front().lsn));
}

bool CueDiscImage::read(std::int32_t lsn, std::int32_t sectors, unsigned char* out) {
    std::int64_t at = lsn;
    const std::int64_t end = std::int64_t{lsn} + sectors;
    auto segment = std::upper_bound(layout_.segments.begin(), layout_.segments.end(), at,
                                    [](std::int64_t v, const CueSegment& s) { return v < s.lsn; });
    if (segment != layout_.segments.begin())
        --segment;
    bool ok = true;
    while (at < end) {
        unsigned char* to = out + (at - lsn) * kCdSectorBytes;
        if (segment == layout_.segments.end() || at < segment->lsn) {
            const std::int64_t until =
                segment == layout_.segments.end() ? end : std::min(end, segment->lsn);
            std::memset(to, 0, static_cast<std::size_t>(until - at) * kCdSectorBytes);
            at = until;
            continue;
        }
        const std::int64_t until = std::min(end, segment->lsn + segment->sectors);
        if (at < until)
            ok = readSegment(*segment, at - segment->lsn, until - at, to) && ok;
        at = std::max(at, until);
        ++segment;
    }
    return ok;
}

bool CueDiscImage::readSegment(const CueSegment& segment, std::int64_t from, std::int64_t sectors,
                               unsigned char* out) {
    const std::size_t bytes = static_cast<std::size_t>(sectors) * kCdSectorBytes;
    if (segment.file < 0) {
        std::memset(out, 0, bytes);
        return true;
    }
    Source& source = *sources_[static_cast<std::size_t>(segment.file)];
    const std::int64_t sector = segment.fileSector + from;
    // The last sector of a file that ends inside it is silence after the file's end.
    const auto expected = static_cast<std::size_t>(std::clamp<std::int64_t>(
        source.bytes - sector * kCdSectorBytes, 0, static_cast<std::int64_t>(bytes)));
    std::size_t got = 0;
    if (source.raw) {
        std::FILE* f = source.raw.get();
        if (fseeko(f, static_cast<off_t>(sector) * kCdSectorBytes, SEEK_SET) == 0)
            got = std::fread(out, 1, bytes, f);
        if (source.type == CueFile::Type::Motorola)
            for (std::size_t i = 0; i + 1 < got; i += 2)
                std::swap(out[i], out[i + 1]);
    } else {
        const sf_count_t frame = static_cast<sf_count_t>(sector) * kCdFramesPerSector;
        if (frame != source.frame)
            source.frame = Sndfile().seek(source.decoded.get(), frame, SEEK_SET);
        const sf_count_t frames = static_cast<sf_count_t>(sectors) * kCdFramesPerSector;
        source.samples.resize(static_cast<std::size_t>(frames) * 2);
        sf_count_t read = 0;
        if (source.frame == frame)
            read = Sndfile().readf_short(source.decoded.get(), source.samples.data(), frames);
        source.frame = read > 0 ? frame + read : -1;
        for (std::size_t i = 0; i < static_cast<std::size_t>(std::max<sf_count_t>(read, 0)) * 2;
             ++i) {
            const auto v = static_cast<std::uint16_t>(source.samples[i]);
            out[2 * i] = static_cast<unsigned char>(v & 0xFF);
            out[2 * i + 1] = static_cast<unsigned char>(v >> 8);
        }
        got = static_cast<std::size_t>(std::max<sf_count_t>(read, 0)) * 4;
    }
    std::memset(out + got, 0, bytes - got);
    return got >= expected;
}

} // namespace tobira
