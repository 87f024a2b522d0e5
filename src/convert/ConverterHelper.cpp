#include "convert/ConverterHelper.h"

#include "base/AppFolders.h"
#include "base/Console.h"
#include "base/Error.h"
#include "base/RunMode.h"
#include "base/VersionInfo.h"
#include "convert/ConversionLog.h"
#include "convert/MessageConverter.h"
#include "util/NativePath.h"
#include "util/QuitSignals.h"

#include <QDir>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvin {

namespace {

const QString kLineEnd = QStringLiteral("\n");

// A name given on the command line as an absolute path is used as it is; any other name is
// taken relative to the current folder. Both keep the file system's bytes.
QString resolveFolderName(const QString &name) {
    if (name.startsWith(QLatin1Char('/')))
        return name;
    char *current = ::getcwd(nullptr, 0);
    const QString folder = current ? DecodeNativePath(current) : QDir::currentPath();
    ::free(current);
    return folder + QLatin1Char('/') + name;
}

} // namespace

TConverterHelper::TConverterHelper() : Silent(SilentFlag()), LogPath(ConvertLogPath()) {}

void TConverterHelper::write(const QString &text) {
    if (!Silent)
        ConsoleWrite(text);
}

void TConverterHelper::addLine(const QString &line) {
    Log.append(line);
    write(line + kLineEnd);
}

void TConverterHelper::addReportLine(const QString &line) {
    Log.append(line);
    write(kLineEnd + line + kLineEnd);
}

void TConverterHelper::Run(const QStringList &folders) {
    Warnings = 0;
    addLine(QStringLiteral("%1\tConvert Dates (%2 %3 %4)")
                .arg(ConversionStamp(), VersionKey(2), VersionKey(9), VersionKey(4)));
    addLine(QStringLiteral("\t\t\tUTC file time is ") + OnOff(Utc));
    addLine(QStringLiteral("\t\t\tRecursive is ") + OnOff(Recursive));
    write(kLineEnd);

    {
        TMessageConverter converter;
        converter.Recursive = Recursive;
        converter.UseUtc = Utc;
        converter.OnError = [this](TMessageConverter &, const QString &message) {
            addReportLine(ConversionStamp() + QLatin1Char('\t') + message);
        };
        converter.OnFile = [this](TMessageConverter &, const TConverterFileEntry &, bool &cancel) {
            // Asked to end (SIGTERM, SIGINT, SIGHUP): stop here and save the log as usual.
            if (QuitSignalReceived()) {
                cancel = true;
                return;
            }
            ++FilesSeen;
            write(QStringLiteral("\r%1\t%2 message(s)").arg(ConversionStamp()).arg(FilesSeen));
        };
        converter.OnReadOnly = [this](TMessageConverter &, const QString &folder) {
            ++Warnings;
            addReportLine(
                QStringLiteral("%1\tFolder has read-only messages that cannot be converted: %2")
                    .arg(ConversionStamp(), DisplayPath(folder)));
        };
        converter.OnTimeNotSet = [this](TMessageConverter &, const QString &message) {
            ++Warnings;
            addReportLine(ConversionStamp() + QLatin1Char('\t') + message);
        };

        for (const QString &name : folders) {
            if (QuitSignalReceived())
                break;
            const QString path = resolveFolderName(name);
            struct stat st;
            if (::stat(EncodeNativePath(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
                addLine(QStringLiteral("%1\tFolder: %2 (not found)")
                            .arg(ConversionStamp(), DisplayPath(name)));
                continue;
            }
            addLine(QStringLiteral("%1\tFolder: %2").arg(ConversionStamp(), DisplayPath(name)));
            FilesSeen = 0;
            try {
                converter.Convert(path);
            } catch (const Error &e) {
                addReportLine(ConversionStamp() + QLatin1Char('\t') + e.message());
            } catch (const std::exception &e) {
                addReportLine(ConversionStamp() + QLatin1Char('\t') +
                              QString::fromLocal8Bit(e.what()));
            }
            const QString summary = MessagesConvertedLine(ConversionStamp(), converter.Count);
            Log.append(summary);
            // After files were announced the progress line stands for the summary.
            write(FilesSeen == 0 ? summary + kLineEnd : kLineEnd);
            if (Warnings > 0)
                addLine(WarningsLine(ConversionStamp(), Warnings));
        }
    }

    SaveConversionLog(Log, LogPath);

    if (!Silent && !QuitSignalReceived()) {
        write(QStringLiteral("Log file: ") + LogPath + kLineEnd);
        write(QStringLiteral("Press Enter to continue."));
        ConsoleReadLine();
    }
}

void RunCommandLineConversion(const TStartupOptions &options) {
    TConverterHelper helper;
    helper.Recursive = options.Recursive;
    helper.Utc = options.Utc;
    helper.Silent = options.Silent;
    helper.Run(options.Folders);
}

} // namespace tarvin
