#pragma once

#include <functional>

namespace qv {

// Runs fn on the UI (application) thread and waits until it has run: the
// blocking hand-over. On the UI thread itself fn runs at once.
void runOnUiThreadBlocking(const std::function<void()> &fn);

// Queues fn to the UI thread; it runs from the event loop (also inside a
// modal dialog's loop). Never blocks.
void postToUiThread(std::function<void()> fn);

bool isUiThread();

} // namespace qv
