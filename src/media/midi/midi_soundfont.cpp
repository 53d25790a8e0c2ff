// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/midi/midi_soundfont.h"

#include "files/regular_file.h"

#include "text/cp932_convert.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace tobira {

namespace {

bool IsSf2Name(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".sf2";
}

} // namespace

std::vector<std::filesystem::path> StandardSoundFontPlaces() {
    std::vector<std::filesystem::path> places{"/usr/share/sounds/sf2/default-GM.sf2"};
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (dataHome && *dataHome)
        places.emplace_back(std::filesystem::path(dataHome) / "sounds/sf2");
    else if (home && *home)
        places.emplace_back(std::filesystem::path(home) / ".local/share/sounds/sf2");
    places.emplace_back("/usr/share/sounds/sf2");
    places.emplace_back("/usr/share/soundfonts");
    return places;
}

std::filesystem::path FindSoundFont(const std::vector<std::filesystem::path>& places) {
    std::error_code ec;
    for (const auto& place : places) {
        if (std::filesystem::is_regular_file(place, ec))
            return place;
        if (!std::filesystem::is_directory(place, ec))
            continue;
        std::vector<std::filesystem::path> found;
        for (std::filesystem::directory_iterator it(place, ec), end; !ec && it != end;
             it.increment(ec)) {
            // is_regular_file follows links: default-GM.sf2 is a link to the real file.
            std::error_code fileError;
            if (IsSf2Name(it->path()) && std::filesystem::is_regular_file(it->path(), fileError))
                found.push_back(it->path());
        }
        if (!found.empty())
            return *std::min_element(found.begin(), found.end());
    }
    return {};
}

std::filesystem::path FindDefaultSoundFont() {
    return FindSoundFont(StandardSoundFontPlaces());
}

std::string SoundFontFault(const std::filesystem::path& soundFont) {
    // Opened without blocking: a FIFO or device named as the SoundFont is told, never waited on.
    std::optional<RegularFile> file;
    std::string start;
    try {
        file = RegularFile::open(soundFont, read_limit::SoundFont);
        start = file->readHead(12);
    } catch (const FileError& e) {
        if (e.problem() == FileProblem::Missing)
            return Utf8ToCp932("ファイルがありません");
        return Utf8ToCp932("ファイル") + e.cause();
    }
    const std::uintmax_t size = file->size();
    if (size == 0)
        return Utf8ToCp932("ファイルが空です（0 バイト）");
    unsigned char head[12] = {};
    std::copy(start.begin(), start.end(), head);
    if (start.size() < sizeof head || !std::equal(head, head + 4, "RIFF"))
        return Utf8ToCp932("SF2 形式のサウンドフォントではありません");
    // A DLS collection is read through FluidSynth when its build can (the module checks).
    if (!std::equal(head + 8, head + 12, "sfbk") && !std::equal(head + 8, head + 12, "DLS "))
        return Utf8ToCp932("SF2 形式のサウンドフォントではありません");
    const std::uintmax_t whole = 8u + (std::uint32_t{head[4]} | std::uint32_t{head[5]} << 8 |
                                       std::uint32_t{head[6]} << 16 | std::uint32_t{head[7]} << 24);
    if (size < whole)
        return Utf8ToCp932("ファイルが途中で切れています（") + std::to_string(whole) +
               Utf8ToCp932(" バイトのうち ") + std::to_string(size) + Utf8ToCp932(" バイト）");
    return {};
}

std::string SoundFontMessage(const std::filesystem::path& soundFont, const std::string& reason) {
    return Utf8ToCp932("サウンドフォント【") +
           Cp932FromPath(soundFont).value_or(soundFont.string()) + Utf8ToCp932("】を読めません：") +
           reason;
}

} // namespace tobira
