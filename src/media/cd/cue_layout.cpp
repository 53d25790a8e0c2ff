// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cue_layout.h"

#include <algorithm>

namespace tobira {
namespace {

// The lead-in pregap of track 1 that lies before LSN 0 on every disc.
constexpr std::int64_t kLeadInPregap = 2 * kCdSectorsPerSecond;
// From the end of an Enhanced CD's audio session to its data track's INDEX 01: the session's
// lead-out (90 s), the data session's lead-in (60 s) and the track's own pregap (2 s).
constexpr std::int64_t kSessionGap = (90 + 60 + 2) * kCdSectorsPerSecond;

struct Silence {
    std::int64_t raw = 0; // inserted before this position of the files laid end to end
    std::int64_t sectors = 0;
};

std::string fileName(const CueSheet& sheet, int file) {
    return "ファイル【" + sheet.files[static_cast<std::size_t>(file)].name + "】";
}

} // namespace

CueLayoutResult LayOutCueSheet(const CueSheet& sheet, const std::vector<std::int64_t>& fileBytes) {
    const std::size_t fileCount = sheet.files.size();
    // A file's sectors are those of the first track that starts in it: a mixed-mode BIN holds
    // 2352-byte data sectors, and shorter ones come as a file of their own.
    std::vector<int> sectorBytes(fileCount, kCdSectorBytes);
    for (auto t = sheet.tracks.rbegin(); t != sheet.tracks.rend(); ++t)
        sectorBytes[static_cast<std::size_t>(t->index0 ? t->index0->file : t->index1.file)] =
            t->sectorBytes;

    std::vector<std::int64_t> base(fileCount + 1, 0);
    for (std::size_t f = 0; f < fileCount; ++f) {
        // A file that ends inside a sector (audio that was never on a CD, a decoder's count
        // of frames) has the rest of that sector as silence.
        const std::int64_t bytes = f < fileBytes.size() ? fileBytes[f] : 0;
        base[f + 1] = base[f] + (bytes + sectorBytes[f] - 1) / sectorBytes[f];
    }
    auto raw = [&](const CuePoint& p) { return base[static_cast<std::size_t>(p.file)] + p.sector; };
    // EAC writes an Enhanced CD's data track into the sheet without its data: its start lies
    // at the end of the last audio file. Such a track is left out, and the audio plays.
    std::vector<CueSheetTrack> tracks = sheet.tracks;
    while (tracks.size() > 1 && !tracks.back().audio &&
           raw(tracks.back().index1) >=
               base[static_cast<std::size_t>(tracks.back().index1.file) + 1])
        tracks.pop_back();
    for (const CueSheetTrack& t : tracks)
        for (const CuePoint* p : {t.index0 ? &*t.index0 : nullptr, &t.index1})
            if (p && raw(*p) >= base[static_cast<std::size_t>(p->file) + 1])
                return {std::nullopt,
                        {p->line, fileName(sheet, p->file) + "がこの位置まで届いていません"}};

    // Data after the last audio track is an Enhanced CD's second session: a drive reports it
    // where it lies on the disc, past the gap between the sessions that no image holds. (Data
    // before or between audio tracks is a mixed-mode disc of one session.)
    const auto lastAudio = std::find_if(tracks.rbegin(), tracks.rend(),
                                        [](const CueSheetTrack& t) { return t.audio; });
    const std::size_t secondSession =
        lastAudio == tracks.rend()
            ? tracks.size()
            : static_cast<std::size_t>(tracks.rend() - lastAudio); // the one after

    std::vector<Silence> silences;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const CueSheetTrack& t = tracks[i];
        if (i == secondSession) {
            const std::int64_t from = raw(t.index0 ? *t.index0 : t.index1);
            const std::int64_t pregap = raw(t.index1) - from + t.pregap;
            if (pregap < kSessionGap)
                silences.push_back({from, kSessionGap - pregap});
        }
        if (t.pregap > 0)
            silences.push_back({raw(t.index1), t.pregap});
        if (t.postgap > 0) {
            const CueSheetTrack* next = i + 1 < tracks.size() ? &tracks[i + 1] : nullptr;
            const std::int64_t at =
                next ? raw(next->index0 ? *next->index0 : next->index1) : base[fileCount];
            silences.push_back({at, t.postgap});
        }
    }
    std::stable_sort(silences.begin(), silences.end(),
                     [](const Silence& a, const Silence& b) { return a.raw < b.raw; });
    auto timeline = [&](std::int64_t r) {
        std::int64_t t = r;
        for (const Silence& s : silences)
            if (s.raw <= r)
                t += s.sectors;
        return t;
    };

    const std::int64_t firstStart = timeline(raw(tracks.front().index1));
    const std::int64_t shift = std::min(firstStart, kLeadInPregap);
    std::int64_t total = base[fileCount];
    for (const Silence& s : silences)
        total += s.sectors;
    if (total - shift > CdToc::kMaxSectors)
        return {std::nullopt, {0, "ＣＤ１枚より長いディスクです"}};

    CueLayout layout;
    for (const CueSheetTrack& t : tracks)
        layout.entries.push_back(
            CdTocEntry{t.number, static_cast<std::int32_t>(timeline(raw(t.index1)) - shift),
                       t.audio, t.preEmphasis});
    layout.leadout = static_cast<std::int32_t>(total - shift);

    // The files end to end, cut where a silence goes in.
    std::int64_t lsn = -shift;
    std::size_t next = 0;
    auto add = [&](int file, std::int64_t fileSector, std::int64_t sectors) {
        if (sectors > 0)
            layout.segments.push_back({lsn, sectors, file, fileSector});
        lsn += sectors;
    };
    for (std::size_t f = 0; f < fileCount; ++f) {
        std::int64_t at = base[f];
        while (at < base[f + 1] || (f + 1 == fileCount && next < silences.size())) {
            if (next < silences.size() && silences[next].raw <= at) {
                add(-1, 0, silences[next++].sectors);
                continue;
            }
            const std::int64_t until =
                next < silences.size() ? std::min(silences[next].raw, base[f + 1]) : base[f + 1];
            if (until <= at)
                break;
            add(static_cast<int>(f), at - base[f], until - at);
            at = until;
        }
    }
    const auto made = CdToc::make(layout.entries, layout.leadout);
    if (!made)
        return {std::nullopt, {0, "トラックの長さが正しくありません"}};
    return {std::move(layout), {}};
}

} // namespace tobira
