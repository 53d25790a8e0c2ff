// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/upper_case.h"

#include "text/case_fold.h"
#include "text/cp932_chars.h"

namespace tobira {

std::string UpperCaseCp932(std::string_view text) {
    std::string result(text);
    auto* p = reinterpret_cast<unsigned char*>(result.data());
    const std::size_t n = result.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = p[i];
        if (IsLeadByte(c)) {
            if (i + 1 < n) {
                p[i + 1] = case_fold::UpperTrail(c, p[i + 1]);
                ++i;
            }
        } else {
            p[i] = case_fold::UpperSingle(c);
        }
    }
    return result;
}

} // namespace tobira
