#pragma once

namespace tarvin {

// The program's entry: creates the application object, parses the command line and runs
// the chosen mode. Returns the process exit status.
int RunProgram(int argc, char **argv);

} // namespace tarvin
