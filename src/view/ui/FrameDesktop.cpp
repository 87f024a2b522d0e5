#include "view/ui/FrameDesktop.h"

#include "util/ShellOpen.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace tarvin {

namespace {

QString askSaveFileName(QWidget *parent, const TSaveDialogRequest &request) {
    QFileDialog dialog(parent, request.Title, request.Folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.Filters);
    dialog.selectNameFilter(request.SelectedFilter);
    dialog.selectFile(request.SuggestedName);
    dialog.setSizeGripEnabled(true);
    // Overwriting asks for confirmation (the dialog's default).
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void showError(QWidget *parent, const QString &title, const QString &text) {
    QMessageBox::critical(parent, title, text);
}

} // namespace

TFrameDesktop &TFrameDesktop::Default() {
    static TFrameDesktop desktop{[](const QString &path) { tarvin::ShellOpen(path); },
                                 [](const QString &path) { tarvin::OpenInTextEditor(path); },
                                 askSaveFileName, showError};
    return desktop;
}

} // namespace tarvin
