// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/inspect/inspect_cue.h"

#include "app/inspect/inspect_output.h"
#include "media/cd/cd_medium.h"
#include "media/cd/cd_text_packs.h"
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
    const std::vector<CdTextBlock> blocks = opened.medium->readTextBlocks();
    const DiscText text = opened.medium->readText(MessagesLocale());
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
        std::string line = Msf(last) + (track->audio ? "" : Sjis("（データ）")) +
                           (track->preEmphasis ? Sjis("（プリエンファシス）") : "");
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
    // Every language, when the disc has more than the one shown.
    for (std::size_t b = 0; blocks.size() > 1 && b < blocks.size(); ++b) {
        const std::string language = CdTextLanguageName(blocks[b].language);
        const std::string label =
            "CD-Text " + std::to_string(b + 1) + (language.empty() ? "" : " " + language);
        Field(label.c_str(), Named(blocks[b].text.disc));
        for (int n = 1; n <= static_cast<int>(blocks[b].text.tracks.size()); ++n)
            if (const std::string named = Named(blocks[b].text.track(n)); !named.empty())
                Field((label + " トラック " + std::to_string(n)).c_str(), named);
    }
    for (const auto& file : opened.files) {
        std::error_code error;
        const bool there = std::filesystem::is_regular_file(file, error);
        Field("ファイル",
              Cp932FromPath(file).value_or(file.string()) + (there ? "" : Sjis("（ありません）")));
    }
    return 0;
}

} // namespace tobira::inspect
