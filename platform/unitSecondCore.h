#pragma once
// The processor's second core, kept by one thread that waits for work: work of a millisecond is
// then worth sharing, where starting a thread for it costs tens of microseconds.

#include <functional>

// Runs Beside on the second core while Here runs on this thread, and returns when both are
// done. Where there is no second core, or another caller has it, this thread runs both.
// Neither may throw.
void RunBeside(const std::function<void()>& Beside, const std::function<void()>& Here);
