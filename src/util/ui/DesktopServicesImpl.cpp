#include "util/ui/DesktopServicesImpl.h"

#include "base/Console.h"
#include "util/NativePath.h"
#include "util/ShellOpen.h"
#include "util/ui/OpenWithDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>

namespace tarvin {

namespace {

QWidget *ownerWidget(QObject *owner) {
    if (auto *widget = qobject_cast<QWidget *>(owner))
        return widget;
    return QApplication::activeWindow();
}

QMessageBox::StandardButton buttonOf(TMessageAnswer answer) {
    switch (answer) {
    case TMessageAnswer::Ok:
        return QMessageBox::Ok;
    case TMessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case TMessageAnswer::Yes:
        return QMessageBox::Yes;
    case TMessageAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

QMessageBox::StandardButtons buttonsOf(TMessageButtons buttons) {
    switch (buttons) {
    case TMessageButtons::Ok:
        return QMessageBox::Ok;
    case TMessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case TMessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case TMessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon iconOf(TMessageKind kind) {
    switch (kind) {
    case TMessageKind::Information:
        return QMessageBox::Information;
    case TMessageKind::Warning:
        return QMessageBox::Warning;
    case TMessageKind::Error:
        return QMessageBox::Critical;
    case TMessageKind::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString runFileDialog(QObject *owner, const TFileDialogRequest &request,
                      QFileDialog::AcceptMode mode) {
    QPointer<QFileDialog> dialog =
        new QFileDialog(ownerWidget(owner), request.Title, request.Folder);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                        : QFileDialog::ExistingFile);
    if (!request.Filters.isEmpty())
        dialog->setNameFilters(request.Filters);
    if (!request.SelectedFilter.isEmpty())
        dialog->selectNameFilter(request.SelectedFilter);
    if (!request.SuggestedName.isEmpty())
        dialog->selectFile(request.SuggestedName);
    dialog->setSizeGripEnabled(true);
    // Overwriting asks for confirmation (the dialog's default).
    const int result = dialog->exec();
    // The owner may have gone while the dialog ran, taking the dialog with it.
    if (!dialog)
        return QString();
    const QStringList chosen = dialog->selectedFiles();
    delete dialog.data();
    if (result != QDialog::Accepted || chosen.isEmpty())
        return QString();
    return chosen.constFirst();
}

QByteArray fileUri(const QString &path) {
    return QByteArrayLiteral("file://") + EncodeNativePath(path).toPercentEncoding("/");
}

} // namespace

void TDesktopServices::OpenFile(QObject *owner, const QString &path) {
    if (!ShellOpen(path))
        OpenWith(owner, path);
}

void TDesktopServices::OpenWith(QObject *owner, const QString &path) {
    ExecOpenWithDialog(path, ownerWidget(owner));
}

void TDesktopServices::OpenInTextEditor(QObject *owner, const QString &path) {
    if (!ShellOpenInTextEditor(path))
        OpenWith(owner, path);
}

void TDesktopServices::OpenUrl(const QUrl &url) {
    QDesktopServices::openUrl(url);
}

TMessageAnswer TDesktopServices::ShowMessage(QObject *owner, TMessageKind kind,
                                             const QString &title, const QString &text,
                                             TMessageButtons buttons,
                                             TMessageAnswer defaultAnswer) {
    QPointer<QMessageBox> box =
        new QMessageBox(iconOf(kind), title, text, buttonsOf(buttons), ownerWidget(owner));
    const QMessageBox::StandardButton preferred = buttonOf(defaultAnswer);
    if (box->button(preferred))
        box->setDefaultButton(preferred);
    const int chosen = box->exec();
    // A box that went with its owner while it ran answers as if cancelled.
    if (!box)
        return buttons == TMessageButtons::Ok      ? TMessageAnswer::Ok
               : buttons == TMessageButtons::YesNo ? TMessageAnswer::No
                                                   : TMessageAnswer::Cancel;
    delete box.data();
    switch (chosen) {
    case QMessageBox::Ok:
        return TMessageAnswer::Ok;
    case QMessageBox::Cancel:
        return TMessageAnswer::Cancel;
    case QMessageBox::Yes:
        return TMessageAnswer::Yes;
    case QMessageBox::No:
        return TMessageAnswer::No;
    default:
        return defaultAnswer;
    }
}

QString TDesktopServices::AskSaveFileName(QObject *owner, const TFileDialogRequest &request) {
    return runFileDialog(owner, request, QFileDialog::AcceptSave);
}

QString TDesktopServices::AskOpenFileName(QObject *owner, const TFileDialogRequest &request) {
    return runFileDialog(owner, request, QFileDialog::AcceptOpen);
}

QString TDesktopServices::AskFolder(QObject *owner, const QString &title, const QString &folder) {
    return QFileDialog::getExistingDirectory(ownerWidget(owner), title, folder);
}

bool TDesktopServices::AskFont(QObject *owner, QString &font) {
    QFont initial;
    if (!font.isEmpty())
        initial.fromString(font);
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, initial, ownerWidget(owner), QStringLiteral("Font"));
    if (ok)
        font = chosen.toString();
    return ok;
}

int TDesktopServices::ExecDialog(QObject *dialog) {
    QPointer<QDialog> modal = qobject_cast<QDialog *>(dialog);
    if (!modal)
        return QDialog::Rejected;
    const int result = modal->exec();
    // A dialog deleted while it ran (with its owner) counts as cancelled.
    return modal ? result : int(QDialog::Rejected);
}

void TDesktopServices::SetClipboardText(const QString &text) {
    QApplication::clipboard()->setText(text);
}

void TDesktopServices::SetClipboardFiles(const QStringList &paths, bool cut) {
    QApplication::clipboard()->setMimeData(FileListMimeData(paths, cut));
}

void TDesktopServices::WriteConsole(const QString &text) {
    StdConsoleWrite(text);
}

QString TDesktopServices::ReadConsoleLine() {
    return StdConsoleReadLine();
}

QMimeData *FileListMimeData(const QStringList &paths, bool cut) {
    QByteArray uriList;
    QByteArray gnome = cut ? QByteArrayLiteral("cut") : QByteArrayLiteral("copy");
    QString text;
    for (const QString &path : paths) {
        const QByteArray uri = fileUri(path);
        uriList += uri + "\r\n";
        gnome += '\n' + uri;
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += path;
    }
    auto *data = new QMimeData;
    data->setData(QStringLiteral("text/uri-list"), uriList);
    data->setData(QStringLiteral("x-special/gnome-copied-files"), gnome);
    data->setText(text);
    return data;
}

} // namespace tarvin
