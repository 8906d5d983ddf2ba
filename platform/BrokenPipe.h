#pragma once

namespace slidemill {

// Makes a write to a pipe or socket whose reader has gone fail with EPIPE instead of ending the
// process with SIGPIPE. An office killed while the program talks to it must cost one file (it is
// retried on a fresh office), never the whole run. Process-wide and idempotent.
void IgnoreBrokenPipeSignal();

} // namespace slidemill
