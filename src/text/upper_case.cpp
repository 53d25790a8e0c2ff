#include "text/upper_case.h"

#include "text/cp932_chars.h"

namespace tobira {
namespace {

// Capital trail byte for a double-byte small letter, or the trail itself when it has none.
unsigned char UpperTrail(unsigned char lead, unsigned char trail) {
    switch (lead) {
    case 0x82: // ａ-ｚ 82 81..82 9A -> Ａ-Ｚ 82 60..82 79
        return trail >= 0x81 && trail <= 0x9A ? static_cast<unsigned char>(trail - 0x21) : trail;
    case 0x83: // α-ω 83 BF..83 D6 -> Α-Ω 83 9F..83 B6
        return trail >= 0xBF && trail <= 0xD6 ? static_cast<unsigned char>(trail - 0x20) : trail;
    case 0x84: // а-я 84 70..84 91 (84 7F is unused) -> А-Я 84 40..84 60
        if (trail >= 0x70 && trail <= 0x7E)
            return static_cast<unsigned char>(trail - 0x30);
        if (trail >= 0x80 && trail <= 0x91)
            return static_cast<unsigned char>(trail - 0x31);
        return trail;
    default:
        return trail;
    }
}

} // namespace

void UpperCaseCp932InPlace(std::string& text) {
    auto* p = reinterpret_cast<unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = p[i];
        if (IsLeadByte(c)) {
            if (i + 1 < n) {
                p[i + 1] = UpperTrail(c, p[i + 1]);
                ++i;
            }
        } else if (c >= 'a' && c <= 'z') {
            p[i] = static_cast<unsigned char>(c - 0x20);
        }
    }
}

std::string UpperCaseCp932(std::string_view text) {
    std::string result(text);
    UpperCaseCp932InPlace(result);
    return result;
}

} // namespace tobira
