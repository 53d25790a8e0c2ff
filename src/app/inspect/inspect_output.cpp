#include "app/inspect/inspect_output.h"

#include "text/cp932_convert.h"

#include <cstdio>

namespace tobira::inspect {

void Line(const std::string& cp932) {
    const std::string utf8 = Cp932ToUtf8(cp932);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

void Field(const char* utf8Label, const std::string& cp932Value) {
    Line("  " + Utf8ToCp932(utf8Label) + ": " + cp932Value);
}

std::string Sjis(const char* utf8) {
    return Utf8ToCp932(utf8);
}

} // namespace tobira::inspect
