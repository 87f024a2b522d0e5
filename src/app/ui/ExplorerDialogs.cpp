#include "app/ui/ExplorerDialogs.h"

#include "base/DesktopServices.h"
#include "base/ui/WindowSupport.h"
#include "convert/ui/ConvertDatesForm.h"
#include "convert/ui/ConvertDatesOptionsFrame.h"
#include "dialogs/ui/AboutBoxForm.h"
#include "dialogs/ui/OptionsForm.h"
#include "dialogs/ui/WaitForm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace tarvin {

namespace {

// The wait window as the conversion run sees it. It has no owner: the explorer is disabled
// while it is shown, and a disabled owner would take its own windows with it.
class TWaitProgress : public IConversionProgress {
public:
    void ShowProgress() override {
        CentreOnScreen(&m_form);
        m_form.show();
    }
    void HideProgress() override { m_form.hide(); }
    bool IsCancelled() override { return m_form.IsCancelled(); }
    void SetStatusText(const QString &text) override { m_form.SetStatusText(text); }

private:
    TWaitForm m_form;
};

} // namespace

bool TExplorerDialogs::AskConvertDates(QWidget *owner, const QString &displayPath, bool menuLayout,
                                       bool &useUtc, bool &convertSubfolders, bool &promptAgain) {
    TConvertDatesForm form(owner);
    form.SetMenuLayout(menuLayout);
    form.ConvertDatesOptions()->SetUseUtc(useUtc);
    form.ConvertDatesOptions()->SetConvertSubfolders(convertSubfolders);
    form.edtFolder->setText(displayPath);
    form.edtFolder->setCursorPosition(0);
    CentreOnScreen(&form);
    form.btnYes->setFocus();
    const bool accepted = Desktop().ExecDialog(&form) == QDialog::Accepted;
    useUtc = form.ConvertDatesOptions()->UseUtc();
    convertSubfolders = form.ConvertDatesOptions()->ConvertSubfolders();
    promptAgain = form.PromptAgain();
    return accepted;
}

std::unique_ptr<IConversionProgress> TExplorerDialogs::MakeWaitWindow() {
    return std::make_unique<TWaitProgress>();
}

bool TExplorerDialogs::EditOptions(QWidget *owner, TOptionsValues &values) {
    auto *options = new TConvertDatesOptionsFrame;
    TOptionsForm form(options, owner);
    form.cbAskToConvert->setChecked(values.PromptToConvert);
    options->SetUseUtc(values.IsTimestampUtc);
    options->SetConvertSubfolders(values.ConvertSubfolders);
    form.cbAddViewerTrailer->setChecked(values.IncludeViewerTrailer);
    form.SetViewerTrailer(values.ViewerTrailer);
    form.cbLoadRemoteContent->setChecked(values.LoadRemoteContent);
    if (Desktop().ExecDialog(&form) != QDialog::Accepted)
        return false;
    values.PromptToConvert = form.cbAskToConvert->isChecked();
    values.IsTimestampUtc = options->UseUtc();
    values.ConvertSubfolders = options->ConvertSubfolders();
    values.IncludeViewerTrailer = form.cbAddViewerTrailer->isChecked();
    values.ViewerTrailer = form.ViewerTrailer();
    values.LoadRemoteContent = form.cbLoadRemoteContent->isChecked();
    return true;
}

void TExplorerDialogs::ShowAbout(QWidget *owner) {
    TAboutBoxForm about(owner);
    Desktop().ExecDialog(&about);
}

} // namespace tarvin
