#include "media/midi/midi_soundfont.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
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

} // namespace tobira
