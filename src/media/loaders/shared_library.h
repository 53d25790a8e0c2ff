// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Libraries opened on first use instead of at program start: their own dependencies (sound
// servers, display back ends, codecs) then cost nothing until a sound or an image needs them.

#include "media/media_device.h"

#include <string>

namespace tobira {

// A library that cannot be opened, or lacks a function this program calls. The text names the
// library and the loader's reason (plain ASCII, so it also reads well on a terminal).
class LibraryError : public DeviceError {
  public:
    using DeviceError::DeviceError;
};

// Opens one library and fills a table of its functions. The handle is closed again unless
// keep() is called, so a table that failed halfway leaves nothing loaded behind.
class LibraryBinder {
  public:
    // Throws LibraryError when the file cannot be opened.
    explicit LibraryBinder(const char* file);
    ~LibraryBinder();
    LibraryBinder(const LibraryBinder&) = delete;
    LibraryBinder& operator=(const LibraryBinder&) = delete;

    // Throws LibraryError when the symbol is missing.
    template <typename Function> void operator()(Function& function, const char* symbol) const {
        function = reinterpret_cast<Function>(address(symbol));
    }
    // The functions bound so far stay valid until the program ends.
    void keep() { handle_ = nullptr; }

  private:
    void* address(const char* symbol) const;

    std::string file_;
    void* handle_ = nullptr;
};

} // namespace tobira
