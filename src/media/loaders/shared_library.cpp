// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/loaders/shared_library.h"

#include <dlfcn.h>

namespace tobira {

namespace {

std::string LoaderReason() {
    const char* reason = dlerror();
    return reason ? reason : "unknown reason";
}

} // namespace

LibraryBinder::LibraryBinder(const char* file) : file_(file) {
    handle_ = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (!handle_)
        throw LibraryError("cannot load " + file_ + " (" + LoaderReason() + ")");
}

LibraryBinder::~LibraryBinder() {
    if (handle_)
        dlclose(handle_);
}

void* LibraryBinder::address(const char* symbol) const {
    dlerror();
    void* found = dlsym(handle_, symbol);
    if (!found)
        throw LibraryError("cannot load " + file_ + " (" + LoaderReason() + ")");
    return found;
}

} // namespace tobira
