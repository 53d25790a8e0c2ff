// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/output/pulse_api.h"

#include "media/loaders/shared_library.h"

namespace tobira {

PulseApi LoadPulseApi(const char* file) {
    LibraryBinder bind(file);
    PulseApi api{};
    bind(api.mainloopNew, "pa_threaded_mainloop_new");
    bind(api.mainloopFree, "pa_threaded_mainloop_free");
    bind(api.mainloopStart, "pa_threaded_mainloop_start");
    bind(api.mainloopStop, "pa_threaded_mainloop_stop");
    bind(api.mainloopLock, "pa_threaded_mainloop_lock");
    bind(api.mainloopUnlock, "pa_threaded_mainloop_unlock");
    bind(api.mainloopWait, "pa_threaded_mainloop_wait");
    bind(api.mainloopSignal, "pa_threaded_mainloop_signal");
    bind(api.mainloopApi, "pa_threaded_mainloop_get_api");
    bind(api.mainloopSetName, "pa_threaded_mainloop_set_name");
    bind(api.contextNew, "pa_context_new");
    bind(api.contextUnref, "pa_context_unref");
    bind(api.contextConnect, "pa_context_connect");
    bind(api.contextDisconnect, "pa_context_disconnect");
    bind(api.contextState, "pa_context_get_state");
    bind(api.contextSetStateCallback, "pa_context_set_state_callback");
    bind(api.contextErrno, "pa_context_errno");
    bind(api.contextRttimeNew, "pa_context_rttime_new");
    bind(api.rtclockNow, "pa_rtclock_now");
    bind(api.strerror, "pa_strerror");
    bind(api.streamNew, "pa_stream_new");
    bind(api.streamUnref, "pa_stream_unref");
    bind(api.streamConnectPlayback, "pa_stream_connect_playback");
    bind(api.streamDisconnect, "pa_stream_disconnect");
    bind(api.streamState, "pa_stream_get_state");
    bind(api.streamSetStateCallback, "pa_stream_set_state_callback");
    bind(api.streamSetWriteCallback, "pa_stream_set_write_callback");
    bind(api.streamWritableSize, "pa_stream_writable_size");
    bind(api.streamWrite, "pa_stream_write");
    bind(api.streamCork, "pa_stream_cork");
    bind(api.streamFlush, "pa_stream_flush");
    bind(api.streamBufferAttr, "pa_stream_get_buffer_attr");
    bind(api.operationUnref, "pa_operation_unref");
    bind.keep();
    return api;
}

const PulseApi& Pulse() {
    static const PulseApi api = LoadPulseApi(kPulseLibrary);
    return api;
}

} // namespace tobira
