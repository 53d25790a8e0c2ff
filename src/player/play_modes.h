// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The six CD play modes, in the order of the mode marks Label0 .. Label5. Texts are UTF-8 as
// written here; convert with Utf8ToCp932 where they are shown.

#include <array>
#include <string_view>

namespace tobira {

struct PlayMode {
    std::string_view code;     // caption of LabelPlayMode
    std::string_view hint;     // its hint, the mode's Japanese name
    std::string_view listName; // the order row's name in the track control window
};

inline constexpr std::array<PlayMode, 6> kPlayModes{{
    {"NR", "ノーマル再生", "Normal Mode"},
    {"RD", "ランダム再生", "Random Mode"},
    {"OE", "奇数→偶数再生", "Odd to Even Mode"},
    {"EO", "偶数→奇数再生", "Even to Odd Mode"},
    {"RV", "逆順再生", "Reverse Mode"},
    {"PG", "プログラム再生", "Program Mode"},
}};

inline constexpr int kNormalMode = 0;
inline constexpr int kRandomMode = 1;
inline constexpr int kOddEvenMode = 2;
inline constexpr int kEvenOddMode = 3;
inline constexpr int kReverseMode = 4;
inline constexpr int kProgramMode = 5;

// The index of a mode code; anything else (an empty label included) counts as normal.
constexpr int PlayModeIndexOf(std::string_view code) {
    for (std::size_t i = 0; i < kPlayModes.size(); ++i)
        if (kPlayModes[i].code == code)
            return static_cast<int>(i);
    return kNormalMode;
}

} // namespace tobira
