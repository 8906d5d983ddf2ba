#pragma once

namespace slidemill {

// Turns SIGTERM, SIGINT and SIGHUP into bytes on a pipe, so that a long-lived process ends
// through its event loop (its offices shut down, its files closed) rather than where the
// signal finds it. Returns the pipe's non-blocking read end, or -1 when it cannot be set up.
// Installed once per process; later calls return the same descriptor.
int TerminationSignalDescriptor();

// Reads and discards what the signals wrote; true when at least one had arrived.
bool DrainTerminationSignals(int descriptor);

} // namespace slidemill
