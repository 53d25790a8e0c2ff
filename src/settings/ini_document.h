// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An INI file held as its lines of code page 932 bytes. Reads find a key in a section; writes
// change only the line of that key (or add one), so comments, blank lines, other sections and
// keys this program does not know survive every save.

#include "settings/ini_key_index.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tobira {

// A key or section name as names compare: ASCII letters upper-cased, double-byte characters
// kept as they are.
std::string FoldIniName(std::string_view name);

class IniDocument final {
  public:
    IniDocument() = default;

    // Lines end with LF or CR LF; a last line without an end is kept as it is.
    static IniDocument parse(std::string_view bytes);

    // The whole file. Lines never written keep their bytes and line ends; written lines and
    // added lines end with CR LF.
    std::string bytes() const;

    // The value of `key` in the first section named `section` (both compared without regard to
    // ASCII case), blanks around "=" removed and one pair of surrounding double quotes taken
    // off. Empty optional when the section or the key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Replaces the value of the key's line in place, or adds "key=value" after the last entry
    // of the section, or adds the section at the end of the file. A value with blanks at
    // either end, or one in double quotes, is written in quotes so that value() returns it
    // unchanged. Throws std::invalid_argument for a key or value that would break the line
    // structure (CR, LF, an empty key, "=" in the key, a key beginning with "[" or ";").
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    // Keys compared as key names compare (ASCII case ignored, double-byte characters whole).
    struct NameHash {
        std::size_t operator()(std::string_view name) const;
    };
    struct NameEqual {
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using SectionIndex = IniKeyIndex;

    // Every key of the first section named `section` in the file's `bytes`, with its raw value
    // (the first of equal keys), as views into `bytes`: what value() would find, from one pass
    // and without copying a line, for a read of many keys from a large file. Unquote a value
    // with Unquoted().
    static SectionIndex indexSection(std::string_view bytes, std::string_view section);
    // indexSection for every section of the file at once, by folded name (FoldIniName), from
    // one pass.
    using FileIndex = std::unordered_map<std::string, SectionIndex>;
    static FileIndex indexSections(std::string_view bytes);
    static std::string Unquoted(std::string_view value);

    // setValue for each pair in order, with one pass over the document: a save of many keys
    // into a large file costs one scan, not one per key. Throws std::invalid_argument as
    // setValue does, before anything changes.
    void setValues(std::string_view section,
                   const std::vector<std::pair<std::string, std::string>>& values);

  private:
    struct Line {
        std::string text;   // without its line end
        std::string ending; // "\r\n", "\n" or "" (last line of a file without a final end)
    };
    struct Span {
        std::size_t header; // index of the section's header line
        std::size_t end;    // one past its last line
    };

    std::optional<Span> findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(const Span& span, std::string_view key) const;

    std::vector<Line> lines_;
};

} // namespace tobira
