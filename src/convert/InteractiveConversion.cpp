#include "convert/InteractiveConversion.h"

#include "base/AppFolders.h"
#include "base/Error.h"
#include "base/VersionInfo.h"
#include "convert/ConversionLog.h"
#include "convert/MessageConverter.h"
#include "util/NativePath.h"
#include "util/QuitSignals.h"

namespace tarvin {

namespace {

// Hides the wait window however the run ends.
class ProgressShown {
public:
    explicit ProgressShown(IConversionProgress &progress) : m_progress(progress) {
        m_progress.ShowProgress();
    }
    ~ProgressShown() { m_progress.HideProgress(); }
    ProgressShown(const ProgressShown &) = delete;
    ProgressShown &operator=(const ProgressShown &) = delete;

private:
    IConversionProgress &m_progress;
};

} // namespace

std::optional<bool> RunInteractiveConversion(const QString &folderPath, const QString &displayPath,
                                             bool useUtc, bool convertSubfolders,
                                             TConvertDatesInfo &info,
                                             IConversionProgress &progress) {
    return RunInteractiveConversion(folderPath, displayPath, useUtc, convertSubfolders, info,
                                    progress, ConvertLogPath());
}

std::optional<bool> RunInteractiveConversion(const QString &folderPath, const QString &displayPath,
                                             bool useUtc, bool convertSubfolders,
                                             TConvertDatesInfo &info, IConversionProgress &progress,
                                             const QString &logPath) {
    if (!info.Log)
        info.Log = std::make_unique<QStringList>();
    QStringList &log = *info.Log;
    ProgressShown shown(progress);

    TMessageConverter converter;
    converter.UseUtc = useUtc;
    converter.Recursive = convertSubfolders;
    converter.OnError = [&](TMessageConverter &, const QString &message) {
        ++info.Warnings;
        log.append(ConversionStamp() + QLatin1Char('\t') + message);
    };
    converter.OnFile = [&](TMessageConverter &, const TConverterFileEntry &entry, bool &cancel) {
        if (progress.IsCancelled() || QuitSignalReceived())
            cancel = true;
        else
            progress.SetStatusText(QStringLiteral("Message: ") + DisplayPath(entry.Name));
    };
    converter.OnReadOnly = [&](TMessageConverter &, const QString &folder) {
        ++info.Warnings;
        log.append(ConversionStamp() +
                   QStringLiteral("\tFolder has read-only messages that cannot be converted:"));
        log.append(QStringLiteral("\t\t\t") + DisplayPath(folder));
    };
    converter.OnTimeNotSet = [&](TMessageConverter &, const QString &message) {
        ++info.Warnings;
        log.append(ConversionStamp() + QLatin1Char('\t') + message);
    };

    log.append(QStringLiteral("%1\tConvert Dates utility (%2 %3 %4)")
                   .arg(ConversionStamp(), VersionKey(2), VersionKey(9), VersionKey(4)));
    log.append(QStringLiteral("\t\t\tUTC file time is ") + OnOff(useUtc));
    log.append(QStringLiteral("\t\t\tRecursive is ") + OnOff(convertSubfolders));
    log.append(QStringLiteral("%1\tFolder: %2").arg(ConversionStamp(), displayPath));

    std::optional<bool> result;
    try {
        result = converter.Convert(folderPath);
    } catch (const Error &e) {
        log.append(e.message());
    } catch (const std::exception &e) {
        log.append(QString::fromLocal8Bit(e.what()));
    }

    log.append(MessagesConvertedLine(ConversionStamp(), converter.Count));
    if (info.Warnings > 0)
        log.append(WarningsLine(ConversionStamp(), info.Warnings));
    SaveConversionLog(log, logPath);
    return result;
}

QString ConversionProblemsMessage() {
    return QStringLiteral("Convert Dates: There were problems during the process.  A log of the "
                          "conversion will be displayed.");
}

} // namespace tarvin
