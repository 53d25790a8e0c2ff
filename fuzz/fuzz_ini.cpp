// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file reader: the bytes come back unchanged, and a written value reads back.
#include "fuzz_support.h"
#include "settings/ini_document.h"

#include <stdexcept>
#include <string>

using namespace tobira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    IniDocument doc = IniDocument::parse(bytes);
    FUZZ_CHECK(doc.bytes() == bytes);

    // Section and key are names the program could use (letters and digits), drawn from the
    // input; the value is raw input bytes.
    auto name = [&](std::size_t from, std::size_t length) {
        std::string out;
        for (char c : bytes.substr(from, length))
            out += static_cast<char>(
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef0123456789"[static_cast<unsigned char>(c) % 42]);
        return out;
    };
    const std::size_t third = size / 3;
    const std::string section = name(0, third % 17);
    const std::string key = name(third, third % 13 + 1);
    const std::string value(bytes.substr(2 * third, 40));
    (void)doc.value(section, key);
    try {
        doc.setValue(section, key, value);
    } catch (const std::invalid_argument&) {
        return 0;
    }
    FUZZ_CHECK(doc.value(section, key) == value);
    // Written once, the file reads back to the same document.
    const std::string written = doc.bytes();
    IniDocument again = IniDocument::parse(written);
    FUZZ_CHECK(again.bytes() == written);
    FUZZ_CHECK(again.value(section, key) == value);
    return 0;
}
