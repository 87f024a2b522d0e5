#pragma once

namespace tarvin {

// When the environment variable TARVIN_TRACE_STARTUP is set, writes a line to standard error
// when it is called ("tarvin-trace app <seconds> QApplication"), at the first paint of each
// top-level window and when a viewer frame's body is on screen:
//   "tarvin-trace paint <seconds> <window class>" and "tarvin-trace body <seconds> <frame>"
// with the seconds of CLOCK_MONOTONIC, so that bench/startup_bench.sh can measure from
// outside how long a start takes. Call after the application object exists.
void InstallStartupTrace();

// One such line with the event and detail given (when the variable is set).
void TraceStartup(const char *event, const char *detail);

} // namespace tarvin
