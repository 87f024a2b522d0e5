#include "app/CommandLine.h"

#include "base/Console.h"
#include "base/VersionInfo.h"
#include "util/NativePath.h"

#include <sys/stat.h>

namespace tarvin {

QString UsageText(const QString &productName, const QString &programName) {
    const QStringList lines = {
        QStringLiteral("Opens %1, displays the specified message, or executes the")
            .arg(productName),
        QStringLiteral("command(s) specified by the switches below."),
        QString(),
        QStringLiteral("%1 [ message filename ] [/C[:options] foldernames] [/S] [/?|/H]")
            .arg(programName),
        QStringLiteral("  /C        Convert file dates in the specified folders."),
        QStringLiteral("            Folder names can be relative."),
        QStringLiteral("            Use double quotes around folder names that contain spaces."),
        QStringLiteral("  options     R Recursive: apply to subfolders."),
        QStringLiteral("              U Set message file time to UTC (default is local time)."),
        QStringLiteral("  /S        Run silently: hide status messages."),
        QStringLiteral("  /?, /H    Show this help display."),
        QStringLiteral("  /E:PDF    Export messages as PDF files into the folder named after /O."),
    };
    return lines.join(QStringLiteral("\r\n"));
}

QStringList ProgramArguments(int argc, char **argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(DecodeNativePath(argv[i]));
    return arguments;
}

bool IsSwitchArgument(const QString &argument) {
    if (!argument.startsWith(QLatin1Char('/')))
        return false;
    if (argument.indexOf(QLatin1Char('/'), 1) >= 0)
        return false;
    struct stat st;
    return argument.size() <= 1 || ::stat(EncodeNativePath(argument).constData(), &st) != 0;
}

TStartupOptions ParseArguments(const QStringList &arguments, const QString &productName,
                               const QString &programName) {
    TStartupOptions options;
    auto usage = [&](bool requested) {
        return UsageError(UsageText(productName, programName), requested);
    };
    bool outputExpected = false;
    for (const QString &argument : arguments) {
        if (outputExpected) {
            // "/O" takes the next argument as it stands, whatever it looks like.
            options.OutputFolder = argument;
            outputExpected = false;
            continue;
        }
        if (!IsSwitchArgument(argument)) {
            options.Folders.append(argument);
            continue;
        }
        // A switch is decided by its second character alone; "/" by itself has none.
        QChar kind = argument.size() > 1 ? argument.at(1) : QChar();
        switch (kind.unicode()) {
        case '?':
        case 'H':
        case 'h':
            throw usage(true);
        case 'C':
        case 'c':
            options.Mode = rmConvert;
            if (argument.size() > 2) {
                if (argument.at(2) != QLatin1Char(':'))
                    throw usage(false);
                for (QChar option : argument.mid(3)) {
                    if (option == QLatin1Char('R') || option == QLatin1Char('r'))
                        options.Recursive = true;
                    else if (option == QLatin1Char('U') || option == QLatin1Char('u'))
                        options.Utc = true;
                }
            }
            break;
        case 'S':
        case 's':
            options.Silent = true;
            break;
        case 'E':
        case 'e':
            // Export: "/E:PDF" is the only form.
            if (argument.mid(2).compare(QStringLiteral(":PDF"), Qt::CaseInsensitive) != 0)
                throw usage(false);
            options.Mode = rmExportPdf;
            break;
        case 'O':
        case 'o':
            if (argument.size() > 2)
                throw usage(false);
            outputExpected = true;
            break;
        default:
            throw InvalidArgumentError(QStringLiteral("Invalid command-line argument: ") +
                                       argument);
        }
    }
    // The export needs its inputs and its output folder; the output folder needs the export.
    if (outputExpected || (options.Mode == rmExportPdf) != !options.OutputFolder.isEmpty() ||
        (options.Mode == rmExportPdf && options.Folders.isEmpty()))
        throw usage(false);
    if (options.Mode == rmNone)
        options.Mode = rmViewer;
    return options;
}

int ParseCommandLine(const QStringList &arguments, const TConversionRunner &runConversion) {
    try {
        TStartupOptions options = ParseArguments(arguments, VersionKey(9), ProgramBaseName());
        SetStartupOptions(options);
        if (options.Mode == rmConvert && !options.Folders.isEmpty()) {
            try {
                runConversion(options);
            } catch (const Error &e) {
                ShowConsoleMessage(e.message());
                return esConversionFailed;
            } catch (const std::exception &e) {
                ShowConsoleMessage(QString::fromLocal8Bit(e.what()));
                return esConversionFailed;
            }
        }
        return esSuccess;
    } catch (const UsageError &e) {
        ShowConsoleMessage(e.message());
        return e.Requested() ? esSuccess : esInvalidCommandLine;
    } catch (const Error &e) {
        ShowConsoleMessage(e.message());
        return esInvalidCommandLine;
    }
}

} // namespace tarvin
