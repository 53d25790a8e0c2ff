// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// libpulse, opened on first use: the functions this program calls, bound from the real library.

#include <pulse/pulseaudio.h>

namespace tobira {

inline constexpr const char* kPulseLibrary = "libpulse.so.0";

struct PulseApi {
    decltype(&::pa_threaded_mainloop_new) mainloopNew;
    decltype(&::pa_threaded_mainloop_free) mainloopFree;
    decltype(&::pa_threaded_mainloop_start) mainloopStart;
    decltype(&::pa_threaded_mainloop_stop) mainloopStop;
    decltype(&::pa_threaded_mainloop_lock) mainloopLock;
    decltype(&::pa_threaded_mainloop_unlock) mainloopUnlock;
    decltype(&::pa_threaded_mainloop_wait) mainloopWait;
    decltype(&::pa_threaded_mainloop_signal) mainloopSignal;
    decltype(&::pa_threaded_mainloop_get_api) mainloopApi;
    decltype(&::pa_threaded_mainloop_set_name) mainloopSetName;
    decltype(&::pa_context_new) contextNew;
    decltype(&::pa_context_unref) contextUnref;
    decltype(&::pa_context_connect) contextConnect;
    decltype(&::pa_context_disconnect) contextDisconnect;
    decltype(&::pa_context_get_state) contextState;
    decltype(&::pa_context_set_state_callback) contextSetStateCallback;
    decltype(&::pa_context_errno) contextErrno;
    decltype(&::pa_context_rttime_new) contextRttimeNew;
    decltype(&::pa_rtclock_now) rtclockNow;
    decltype(&::pa_strerror) strerror;
    decltype(&::pa_stream_new) streamNew;
    decltype(&::pa_stream_unref) streamUnref;
    decltype(&::pa_stream_connect_playback) streamConnectPlayback;
    decltype(&::pa_stream_disconnect) streamDisconnect;
    decltype(&::pa_stream_get_state) streamState;
    decltype(&::pa_stream_set_state_callback) streamSetStateCallback;
    decltype(&::pa_stream_set_write_callback) streamSetWriteCallback;
    decltype(&::pa_stream_writable_size) streamWritableSize;
    decltype(&::pa_stream_write) streamWrite;
    decltype(&::pa_stream_cork) streamCork;
    decltype(&::pa_stream_flush) streamFlush;
    decltype(&::pa_stream_get_buffer_attr) streamBufferAttr;
    decltype(&::pa_operation_unref) operationUnref;
};

// Binds every function from the given library file; throws LibraryError naming the file.
PulseApi LoadPulseApi(const char* file);

// The program's libpulse, loaded once on the first call; throws LibraryError when it cannot be
// (a later call tries again). Any thread.
const PulseApi& Pulse();

} // namespace tobira
