// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>

namespace tobira {

// What the event loop does with an error that no handler caught: shows its text in a message
// box and goes on. Exception texts are code page 932 (ASCII is the same in both).
void ReportUncaughtError(const std::exception& error);
void ReportUncaughtError();

} // namespace tobira
