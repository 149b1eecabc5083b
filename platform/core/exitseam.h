#pragma once

#include <functional>

namespace qv {

// Every way out of the program goes through here, so a test can see the exit
// instead of dying. Callers must return right after calling it.
void terminateProcess(int exitCode);

// Tests replace the handler; nullptr restores the real one (std::_Exit).
void setTerminateHandler(std::function<void(int)> handler);

} // namespace qv
