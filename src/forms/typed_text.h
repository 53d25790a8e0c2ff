// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace tobira {

class MessagePort;

// Text the user typed, as a view hands it to its model: in code page 932, or empty when it holds
// a character that code page 932 cannot.
using TypedText = std::optional<std::string>;

// The one rule for typed text: text code page 932 can hold goes into `field`; other text is
// refused with a message, and the field keeps what it had. Returns whether it was taken.
bool TakeTypedText(std::string& field, const TypedText& typed, MessagePort& messages);

} // namespace tobira
