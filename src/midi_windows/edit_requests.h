// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a page asks of one of its edit boxes besides its text: to select all of it, ready to be
// typed over, or to take the keyboard focus. Each is a count of requests: the view remembers
// the counts it has carried out and acts once for every new request, however often it redraws.

namespace tobira {

struct EditRequests {
    unsigned SelectAll = 0;
    unsigned Focus = 0;

    void selectAll() { ++SelectAll; }
    void focus() { ++Focus; }
};

} // namespace tobira
