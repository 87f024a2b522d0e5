#pragma once

namespace tarvin {

// SIGTERM (a session that ends, "kill"), SIGINT (Ctrl+C) and SIGHUP (a closed terminal) end
// the program the way a normal exit does, so that work folders are removed and logs and
// settings are saved. The handlers are async-signal-safe: they only set a flag and write one
// byte to a pipe, which the event loop (or a conversion run between files) looks at.

// Installs the handlers once (further calls return the same pipe). Returns the pipe's read
// end for an event loop to watch, or -1 when no pipe could be made (the flag still works).
int InstallQuitSignalHandlers();

// True once one of the three signals arrived.
bool QuitSignalReceived();

// Empties the pipe after the event loop was woken.
void DrainQuitSignalPipe();

} // namespace tarvin
