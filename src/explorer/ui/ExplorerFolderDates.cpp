// The explorer's date check of the selected folder, the conversion it offers, and the
// dialogs started from the explorer (options, about, the conversion log).

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/VersionInfo.h"
#include "convert/FolderMarker.h"
#include "explorer/FolderDateCheck.h"
#include "explorer/ui/ExplorerActions.h"
#include "explorer/ui/ExplorerForm.h"
#include "mail/Config.h"
#include "view/ui/TarvinFrame.h"

#include <QAction>
#include <QFileInfo>

namespace tarvin {

namespace {

// Sets a flag for the lifetime of the object.
class TFlagScope {
public:
    explicit TFlagScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~TFlagScope() { m_flag = false; }

private:
    bool &m_flag;
};

QString withSlash(const QString &folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

void TExplorerForm::ReadFolderMarker(const QString &folder) {
    const TFolderMarker marker = tarvin::ReadFolderMarker(folder);
    m_folderTimesUtc = marker.IsTimestampUtc.value_or(m_convertDatesInfo.IsTimestampUtc);
}

void TExplorerForm::CheckFolderDates(const QString &displayPath, bool prompted) {
    if (displayPath.isEmpty() || !QFileInfo(displayPath).isDir())
        return;
    TFlagScope checking(m_checkingDates);
    const QString folder = withSlash(displayPath);
    TConvertDatesInfo &info = m_convertDatesInfo;
    info.Warnings = 0;

    TFolderDateFacts facts;
    facts.HasMessageFiles = FolderHasMessageFiles(folder);
    facts.Converted = FolderMarkerExists(folder);
    m_folderConverted = facts.Converted;
    if (facts.Converted)
        ReadFolderMarker(folder);

    bool ran = false;
    if (ShouldAskToConvert(prompted, facts, info.PromptToConvert) && m_dialogs) {
        bool useUtc = info.IsTimestampUtc;
        bool subfolders = info.ConvertSubfolders;
        bool promptAgain = true;
        const QPointer<TExplorerForm> alive(this);
        const bool accepted = m_dialogs->AskConvertDates(this, displayPath, !prompted, useUtc,
                                                         subfolders, promptAgain);
        if (!alive)
            return;
        if (accepted) {
            ran = true;
            const std::unique_ptr<IConversionProgress> wait = m_dialogs->MakeWaitWindow();
            info.Log = std::make_unique<QStringList>();
            std::optional<bool> converted;
            TFlagScope converting(m_converting);
            try {
                converted =
                    RunInteractiveConversion(folder, displayPath, useUtc, subfolders, info, *wait,
                                             m_settingsFolder + QStringLiteral("CVTDATES.LOG"));
            } catch (const Error &) {
                info.Log.reset();
                info.PromptToConvert = promptAgain;
                throw;
            }
            info.Log.reset();
            if (!alive)
                return;
            if (converted)
                m_folderConverted = *converted;
            if (FolderMarkerExists(folder))
                ReadFolderMarker(folder);
            facts.Converted = m_folderConverted;
            if (info.Warnings > 0) {
                const QString log = m_settingsFolder + QStringLiteral("CVTDATES.LOG");
                Desktop().ShowInformation(this, VersionKey(9), ConversionProblemsMessage());
                Desktop().OpenInTextEditor(this, log);
            }
        }
        info.PromptToConvert = promptAgain;
    }

    const TDateCheckOutcome outcome = DateCheckOutcome(prompted, facts, info.Warnings, ran);
    if (outcome.RefreshList)
        m_actions->actRefresh->trigger();
    if (outcome.Warning != TDateWarning::Unchanged)
        setDateWarning(DateWarningText(outcome.Warning));
}

void TExplorerForm::ShowConvertDatesLog() {
    try {
        Desktop().OpenInTextEditor(this, m_settingsFolder + QStringLiteral("CVTDATES.LOG"));
    } catch (const Error &error) {
        showError(error.message());
    }
}

void TExplorerForm::ShowOptions() {
    if (!m_dialogs)
        return;
    TConvertDatesInfo &info = m_convertDatesInfo;
    TConfig &config = AppConfig();
    TOptionsValues values{info.PromptToConvert,   info.IsTimestampUtc,
                          info.ConvertSubfolders, config.IncludeViewerTrailer,
                          config.ViewerTrailer,   config.LoadRemoteContent};
    if (!m_dialogs->EditOptions(this, values))
        return;
    info.PromptToConvert = values.PromptToConvert;
    info.IsTimestampUtc = values.IsTimestampUtc;
    info.ConvertSubfolders = values.ConvertSubfolders;
    config.IncludeViewerTrailer = values.IncludeViewerTrailer;
    config.ViewerTrailer = values.ViewerTrailer;
    config.LoadRemoteContent = values.LoadRemoteContent;
    m_quickViewer->SetLoadRemoteContent(config.LoadRemoteContent);
}

void TExplorerForm::ShowAbout() {
    if (m_dialogs)
        m_dialogs->ShowAbout(this);
}

} // namespace tarvin
