// The explorer's date check of the selected folder, the conversion it offers, and the
// dialogs started from the explorer (options, about, the conversion log).

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/VersionInfo.h"
#include "base/ui/WindowSupport.h"
#include "convert/FolderMarker.h"
#include "convert/ui/ConvertDatesForm.h"
#include "convert/ui/ConvertDatesOptionsFrame.h"
#include "dialogs/ui/AboutBoxForm.h"
#include "dialogs/ui/OptionsForm.h"
#include "dialogs/ui/WaitForm.h"
#include "explorer/FolderDateCheck.h"
#include "explorer/ui/ExplorerActions.h"
#include "explorer/ui/ExplorerForm.h"
#include "mail/Config.h"
#include "view/ui/TarvinFrame.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tarvin {

namespace {

// The wait window as the conversion run sees it.
class TWaitProgress : public IConversionProgress {
public:
    explicit TWaitProgress(TWaitForm &form) : m_form(form) {}
    void ShowProgress() override {
        CentreOnScreen(&m_form);
        m_form.show();
    }
    void HideProgress() override { m_form.hide(); }
    bool IsCancelled() override { return m_form.IsCancelled(); }
    void SetStatusText(const QString &text) override { m_form.SetStatusText(text); }

private:
    TWaitForm &m_form;
};

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
    if (ShouldAskToConvert(prompted, facts, info.PromptToConvert)) {
        TConvertDatesForm form(this);
        form.SetMenuLayout(!prompted);
        form.ConvertDatesOptions()->SetUseUtc(info.IsTimestampUtc);
        form.ConvertDatesOptions()->SetConvertSubfolders(info.ConvertSubfolders);
        form.edtFolder->setText(displayPath);
        form.edtFolder->setCursorPosition(0);
        CentreOnScreen(&form);
        form.btnYes->setFocus();
        const QPointer<TExplorerForm> alive(this);
        const bool accepted = Desktop().ExecDialog(&form) == QDialog::Accepted;
        if (!alive)
            return;
        if (accepted) {
            ran = true;
            // Without an owner: the explorer is disabled while it is shown, and a disabled
            // owner would take its own windows with it.
            TWaitForm wait;
            m_waitForm = &wait;
            TWaitProgress progress(wait);
            info.Log = std::make_unique<QStringList>();
            std::optional<bool> converted;
            try {
                converted = RunInteractiveConversion(
                    folder, displayPath, form.ConvertDatesOptions()->UseUtc(),
                    form.ConvertDatesOptions()->ConvertSubfolders(), info, progress,
                    m_settingsFolder + QStringLiteral("CVTDATES.LOG"));
            } catch (const Error &) {
                m_waitForm = nullptr;
                info.Log.reset();
                info.PromptToConvert = form.PromptAgain();
                throw;
            }
            m_waitForm = nullptr;
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
        info.PromptToConvert = form.PromptAgain();
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
    auto *options = new TConvertDatesOptionsFrame;
    TOptionsForm form(options, this);
    TConvertDatesInfo &info = m_convertDatesInfo;
    TConfig &config = AppConfig();
    form.cbAskToConvert->setChecked(info.PromptToConvert);
    options->SetUseUtc(info.IsTimestampUtc);
    options->SetConvertSubfolders(info.ConvertSubfolders);
    form.cbAddViewerTrailer->setChecked(config.IncludeViewerTrailer);
    form.SetViewerTrailer(config.ViewerTrailer);
    form.cbLoadRemoteContent->setChecked(config.LoadRemoteContent);
    if (Desktop().ExecDialog(&form) != QDialog::Accepted)
        return;
    info.PromptToConvert = form.cbAskToConvert->isChecked();
    info.IsTimestampUtc = options->UseUtc();
    info.ConvertSubfolders = options->ConvertSubfolders();
    config.IncludeViewerTrailer = form.cbAddViewerTrailer->isChecked();
    config.ViewerTrailer = form.ViewerTrailer();
    config.LoadRemoteContent = form.cbLoadRemoteContent->isChecked();
    m_quickViewer->SetLoadRemoteContent(config.LoadRemoteContent);
}

void TExplorerForm::ShowAbout() {
    TAboutBoxForm about(this);
    Desktop().ExecDialog(&about);
}

} // namespace tarvin
