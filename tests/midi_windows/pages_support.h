// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window set over fakes with helpers for the list files of its program folder.

#include "files/whole_file.h"
#include "support/fake_form_set.h"
#include "support/smf_writer.h"
#include "text/cp932_convert.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tobira::testing {

inline std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8);
}

struct PagesFixture : FakeFormSet {
    TFormView& view = forms.FormView;
    const DataPaths& paths = forms.FormMain.Paths;

    std::string bytesOf(const std::string& cp932Path) const {
        return ReadWholeFile(PathFromCp932(cp932Path)).value_or("<missing>");
    }
    void writeText(const std::string& cp932Path, const std::string& bytes) const {
        WriteFileAtomically(PathFromCp932(cp932Path), bytes);
    }
    void writeList(int list, const std::vector<std::string>& lines) const {
        std::string text;
        for (const auto& line : lines)
            text += line + "\r\n";
        writeText(list == 0 ? paths.List0Path : paths.List1Path, text);
    }
    std::vector<std::string> listLines(int list) const {
        std::string text = bytesOf(list == 0 ? paths.List0Path : paths.List1Path);
        std::vector<std::string> lines;
        for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    // A small MIDI file whose track name is `title` (code page 932); returns its path.
    std::string song(const std::string& relative, const std::string& title) const {
        SmfWriter w(0, 480);
        w.text(0, 0, 0x03, title);
        w.note(0, 0, 0, 60, 100, 240);
        const auto file = folder.path() / relative;
        std::filesystem::create_directories(file.parent_path());
        w.write(file);
        return *Cp932FromPath(file);
    }
    std::string line(const std::string& title, const std::string& path,
                     const std::string& vol = "+0", const std::string& feel = "1") const {
        return title + "\t" + path + "\t" + vol + "\t" + feel;
    }
};

} // namespace tobira::testing
