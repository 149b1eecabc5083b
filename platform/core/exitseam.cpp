#include "exitseam.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace qv {

namespace {
std::mutex g_mutex;
std::function<void(int)> g_handler;
} // namespace

void terminateProcess(int exitCode)
{
    std::function<void(int)> handler;
    {
        std::lock_guard lock(g_mutex);
        handler = g_handler;
    }
    if (handler) {
        handler(exitCode);
        return;
    }
    // Ends at once: no window or connection is closed first.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

void setTerminateHandler(std::function<void(int)> handler)
{
    std::lock_guard lock(g_mutex);
    g_handler = std::move(handler);
}

} // namespace qv
