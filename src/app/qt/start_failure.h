// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <exception>

namespace tobira {

// What the user is told when the windows cannot be made: the drive held by another program has
// its own message; anything else says what really went wrong.
QString StartFailureText(const std::exception& error);

} // namespace tobira
