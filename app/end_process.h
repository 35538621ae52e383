#pragma once

namespace raziz {

// Flushes the C streams and ends the process at once with the status: no destructors, no window torn down.
// The audio has been released before this is called.
[[noreturn]] void end_process_now(int status);

}  // namespace raziz
