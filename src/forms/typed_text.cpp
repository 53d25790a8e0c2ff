// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/typed_text.h"

#include "ports/ports.h"
#include "text/cp932_convert.h"

namespace tobira {

bool TakeTypedText(std::string& field, const TypedText& typed, MessagePort& messages) {
    if (!typed) {
        messages.showMessage(Utf8ToCp932("この文字は使えません（Shift-JIS にない文字です）"));
        return false;
    }
    field = *typed;
    return true;
}

} // namespace tobira
