#pragma once
// The UI thread's wait for a read on a worker thread. While it lasts, a model is in the middle
// of a handler: nothing may enter the models. The view hub skips handlers (timer ticks), the
// windows refuse to close, and the ports hold their posted tasks until it ends.

#include <functional>

namespace tobira {

// Runs `work` on a worker thread under the busy cursor and returns when it is done, throwing
// what it threw. Meanwhile the UI thread keeps the windows painted; input and socket notifiers
// wait for the end.
void WaitForWorker(const std::function<void()>& work);

// Whether the UI thread is in WaitForWorker.
bool WaitingForWorker();

// Runs `then` once the wait has ended, in the order given; at once when there is no wait.
void AfterWorkerWait(std::function<void()> then);

} // namespace tobira
