#include "app/inspect/inspect_cue.h"

#include "app/inspect/inspect_output.h"
#include "media/cd/cd_medium.h"
#include "media/cd/disc_ids.h"
#include "media/media_device.h"
#include "player/disc_id.h"
#include "text/cp932_convert.h"

#include <cstdio>
#include <system_error>

namespace tobira::inspect {

namespace {

std::string Msf(std::uint32_t msf) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u.%02u", MsfMinute(msf), MsfSecond(msf),
                  MsfFrame(msf));
    return text;
}

std::string Named(const CdText& text) {
    if (text.title.empty() && text.performer.empty())
        return {};
    return text.performer.empty() ? text.title : text.title + " / " + text.performer;
}

} // namespace

int InspectCue(const std::filesystem::path& cue) {
    CdMedium::silenceLibraryLog();
    CdMedium::ImageOpen opened = CdMedium::openImage(cue);
    std::optional<CdToc> toc = opened.medium ? opened.medium->readToc() : std::nullopt;
    if (!toc) {
        // The player shows the reason and takes the image for no disc.
        Line(opened.problem.empty() ? Sjis("【") + Cp932FromPath(cue).value_or(cue.string()) +
                                          Sjis("】はＣＤとして読めません")
                                    : opened.problem);
        return 1;
    }
    const DiscText text = opened.medium->readText();
    Line(Cp932FromPath(cue).value_or(cue.string()));
    unsigned seconds = 0;
    std::uint32_t last = 0;
    for (int n = 1; n <= toc->count(); ++n) {
        // As the player counts them for the identity: every number up to the count.
        last = toc->lengthMsf(n);
        seconds += 60 * MsfMinute(last) + MsfSecond(last);
        const CdTrack* track = toc->track(n);
        if (!track)
            continue;
        std::string line = Msf(last) + (track->audio ? "" : Sjis("（データ）"));
        if (const std::string named = Named(text.track(n)); !named.empty())
            line += "  " + named;
        Field(("トラック " + std::to_string(n)).c_str(), line);
    }
    Field("全体", Msf(toc->discLengthMsf()));
    Field("ディスクＩＤ", MakeDiscId(toc->count(), seconds, last));
    // What other programs look the disc up by.
    Field("MusicBrainz", MusicBrainzDiscId(*toc));
    Field("freedb", FreedbDiscId(*toc));
    if (const std::string named = Named(text.disc); !named.empty())
        Field("CD-Text", named);
    for (const auto& file : opened.files) {
        std::error_code error;
        const bool there = std::filesystem::is_regular_file(file, error);
        Field("ファイル",
              Cp932FromPath(file).value_or(file.string()) + (there ? "" : Sjis("（ありません）")));
    }
    return 0;
}

} // namespace tobira::inspect
