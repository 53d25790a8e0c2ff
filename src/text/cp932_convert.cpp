// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/cp932_convert.h"

#include "text/cp932_chars.h"

#include <cerrno>
#include <iconv.h>
#include <memory>
#include <stdexcept>

namespace tobira {
namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// One conversion direction. iconv_t keeps shift state, so each call opens its own descriptor.
// Calls are frequent: the views convert each text they draw, and the models turn their UTF-8
// literals into code page 932 in their handlers.
class Iconv final {
  public:
    Iconv(const char* to, const char* from) {
        iconv_t cd = iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        handle_.reset(cd);
    }

    // Converts `in`; on a sequence it cannot take it appends `replacement` and skips
    // `skip(remaining)` input bytes. Returns false when it had to replace anything.
    template <typename Skip>
    bool convert(std::string_view in, std::string& out, std::string_view replacement, Skip skip) {
        bool exact = true;
        auto* cd = static_cast<iconv_t>(handle_.get());
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[1024];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, dst - buffer);
            if (rc != static_cast<size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (cut off at the end): replace and step over the bad bytes.
            exact = false;
            out.append(replacement);
            size_t n = skip(std::string_view(src, srcLeft));
            src += n;
            srcLeft -= n;
        }
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(cd, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        return exact;
    }

  private:
    std::unique_ptr<void, IconvCloser> handle_;
};

bool IsTrailRange(unsigned char c) {
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// A bad code page 932 sequence: a lead byte with an unmapped trail counts as one character. A
// byte that cannot be a trail at all (a line break, a control byte) is not swallowed with it.
size_t SkipCp932(std::string_view rest) {
    if (rest.size() >= 2 && IsLeadByte(static_cast<unsigned char>(rest[0])) &&
        IsTrailRange(static_cast<unsigned char>(rest[1])))
        return 2;
    return 1;
}

// A character that code page 932 lacks: skip the whole UTF-8 sequence; a stray byte alone.
size_t SkipUtf8(std::string_view rest) {
    auto c = static_cast<unsigned char>(rest[0]);
    size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    for (size_t i = 1; i < n; ++i)
        if (i >= rest.size() || (static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80)
            return i;
    return n;
}

} // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    Iconv("UTF-8", "CP932").convert(cp932, out, "\xEF\xBF\xBD", SkipCp932);
    return out;
}

std::string Utf8ToCp932(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    Iconv("CP932", "UTF-8").convert(utf8, out, "?", SkipUtf8);
    return out;
}

std::optional<std::string> TryUtf8ToCp932(std::string_view utf8) {
    std::string out;
    if (!Iconv("CP932", "UTF-8").convert(utf8, out, "", SkipUtf8))
        return std::nullopt;
    return out;
}

std::filesystem::path PathFromCp932(std::string_view cp932) {
    return std::filesystem::path(Cp932ToUtf8(cp932));
}

std::optional<std::string> Cp932FromPath(const std::filesystem::path& path) {
    // A few characters map onto others' codes (the wave dash onto the full-width tilde, the yen
    // sign onto the backslash): such a path would name another file when opened again.
    std::optional<std::string> cp932 = TryUtf8ToCp932(path.native());
    if (cp932 && Cp932ToUtf8(*cp932) != path.native())
        return std::nullopt;
    return cp932;
}

} // namespace tobira
