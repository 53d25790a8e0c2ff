// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/document_text.h"

#include "text/utf8.h"

namespace tobira {

DocumentText DecodeDocument(std::string bytes) {
    const std::string_view view = bytes;
    if (view.starts_with("\xEF\xBB\xBF"))
        return {bytes.substr(3), TextEncoding::Utf8};
    if (view.starts_with("\xFF\xFE"))
        return {Utf16ToUtf8(view.substr(2), true), TextEncoding::Utf8};
    if (view.starts_with("\xFE\xFF"))
        return {Utf16ToUtf8(view.substr(2), false), TextEncoding::Utf8};
    if (IsUtf8BeyondAscii(view))
        return {std::move(bytes), TextEncoding::Utf8};
    return {std::move(bytes), TextEncoding::Cp932};
}

} // namespace tobira
