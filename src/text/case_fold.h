// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Capital forms in code page 932, shared by the upper-casing and the loose-search normalisation.

namespace tobira::case_fold {

constexpr unsigned char UpperSingle(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 0x20) : c;
}

// Capital trail byte for a double-byte small letter, or the trail itself when it has none.
constexpr unsigned char UpperTrail(unsigned char lead, unsigned char trail) {
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

// Only these leads have small letters.
constexpr bool HasSmallLetters(unsigned char lead) {
    return lead >= 0x82 && lead <= 0x84;
}

} // namespace tobira::case_fold
