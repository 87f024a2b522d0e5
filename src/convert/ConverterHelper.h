#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace tarvin {

struct TStartupOptions;

// The command-line date conversion ("/C"): converts each named folder, reports progress and
// results on the process console (app/Console.h) unless silent, and saves the log
// "CVTDATES.LOG". Errors that escape (the log cannot be saved) propagate to the caller, the
// program's console handler.
class TConverterHelper {
public:
    // Takes the process's silent flag and log path.
    TConverterHelper();

    int32_t Warnings = 0;   // read-only folders and unset file times since the run began
    bool Recursive = false; // the "R" option
    bool Utc = false;       // the "U" option
    QStringList Log;        // the log of the run
    int32_t FilesSeen = 0;  // message files announced for the current folder name

    bool Silent = false; // "/S": no console output at all
    QString LogPath;     // the log file, in the application data folder

    // Runs over the folder names of the command line, in their order.
    void Run(const QStringList &folders);

private:
    void write(const QString &text);
    void addLine(const QString &line);
    // A log line that the console shows between line ends (errors, read-only folders).
    void addReportLine(const QString &line);
};

// The conversion run of the command line: a TConverterHelper with the options' recursive,
// UTC and silent settings, run over the options' folder list. Errors escape to the caller.
void RunCommandLineConversion(const TStartupOptions &options);

} // namespace tarvin
