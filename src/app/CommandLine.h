#pragma once

#include "base/Error.h"
#include "base/RunMode.h"

#include <QStringList>
#include <functional>

namespace tarvin {

// The usage text, raised as an error: asked for with "/?" or "/H", or shown because a "/C"
// option was malformed (which is a command-line error for the exit status).
class UsageError : public Error {
public:
    UsageError(QString message, bool requested)
        : Error(std::move(message)), m_requested(requested) {}
    bool Requested() const { return m_requested; }

private:
    bool m_requested;
};

// An unknown switch: "Invalid command-line argument: " and the argument.
class InvalidArgumentError : public Error {
public:
    using Error::Error;
};

// The eleven usage lines and the line of "/E:PDF" joined by CR LF, for the given product and
// program names.
QString UsageText(const QString &productName, const QString &programName);

// True when the argument is a switch. An argument that starts with "/" but holds a further
// "/" or names an existing file or folder is an absolute path, not a switch, so Linux paths
// can be given for messages and folders. A lone "/" stays a switch (an invalid one).
bool IsSwitchArgument(const QString &argument);

// The program's arguments (its own path excluded) as the file system's bytes, so that a file or
// folder whose name is not valid UTF-8 can still be found (util/NativePath.h).
QStringList ProgramArguments(int argc, char **argv);

// Reads the arguments (the program's own path excluded) into start-up options. Raises
// UsageError or InvalidArgumentError. Conversion is not run here.
TStartupOptions ParseArguments(const QStringList &arguments, const QString &productName,
                               const QString &programName);

// Runs a conversion over the folders with the options; errors escape to the caller.
using TConversionRunner = std::function<void(const TStartupOptions &options)>;

// Exit statuses of the command-line modes.
enum TExitStatus { esSuccess = 0, esConversionFailed = 1, esInvalidCommandLine = 2 };

// Parses the arguments, stores the start-up options, and in conversion mode with folders runs
// the conversion. Errors never escape: they are shown on the console followed by
// "Press Enter to continue.". Returns the exit status.
int ParseCommandLine(const QStringList &arguments, const TConversionRunner &runConversion);

} // namespace tarvin
