#include "app/ui/WidgetDesktop.h"

#include "base/Console.h"
#include "util/ShellOpen.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

namespace tarvin {

namespace {

QWidget *ownerWidget(QObject *owner) {
    QWidget *widget = qobject_cast<QWidget *>(owner);
    return widget ? widget->window() : QApplication::activeWindow();
}

QMessageBox::StandardButton toButton(TMessageAnswer answer) {
    switch (answer) {
    case TMessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case TMessageAnswer::Yes:
        return QMessageBox::Yes;
    case TMessageAnswer::No:
        return QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

} // namespace

void TWidgetDesktop::OpenFile(QObject *, const QString &path) {
    ShellOpen(path);
}

void TWidgetDesktop::OpenWith(QObject *, const QString &path) {
    ShowOpenWith(path);
}

void TWidgetDesktop::OpenInTextEditor(QObject *, const QString &path) {
    tarvin::OpenInTextEditor(path);
}

void TWidgetDesktop::OpenUrl(const QUrl &url) {
    QDesktopServices::openUrl(url);
}

TMessageAnswer TWidgetDesktop::ShowMessage(QObject *owner, TMessageKind kind, const QString &title,
                                           const QString &text, TMessageButtons buttons,
                                           TMessageAnswer defaultAnswer) {
    QMessageBox::Icon icon = kind == TMessageKind::Error      ? QMessageBox::Critical
                             : kind == TMessageKind::Warning  ? QMessageBox::Warning
                             : kind == TMessageKind::Question ? QMessageBox::Question
                                                              : QMessageBox::Information;
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    if (buttons == TMessageButtons::OkCancel)
        set = QMessageBox::Ok | QMessageBox::Cancel;
    else if (buttons == TMessageButtons::YesNo)
        set = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == TMessageButtons::YesNoCancel)
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(icon, title, text, set, ownerWidget(owner));
    box.setDefaultButton(toButton(defaultAnswer));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return TMessageAnswer::Yes;
    case QMessageBox::No:
        return TMessageAnswer::No;
    case QMessageBox::Cancel:
        return TMessageAnswer::Cancel;
    case QMessageBox::Ok:
        return TMessageAnswer::Ok;
    default:
        return defaultAnswer;
    }
}

QString TWidgetDesktop::AskSaveFileName(QObject *owner, const TFileDialogRequest &request) {
    QString filter = request.SelectedFilter;
    QString folder = request.Folder;
    if (!request.SuggestedName.isEmpty())
        folder = (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + request.SuggestedName;
    return QFileDialog::getSaveFileName(ownerWidget(owner), request.Title, folder,
                                        request.Filters.join(QStringLiteral(";;")), &filter);
}

QString TWidgetDesktop::AskOpenFileName(QObject *owner, const TFileDialogRequest &request) {
    QString filter = request.SelectedFilter;
    return QFileDialog::getOpenFileName(ownerWidget(owner), request.Title, request.Folder,
                                        request.Filters.join(QStringLiteral(";;")), &filter);
}

QString TWidgetDesktop::AskFolder(QObject *owner, const QString &title, const QString &folder) {
    return QFileDialog::getExistingDirectory(ownerWidget(owner), title, folder);
}

bool TWidgetDesktop::AskFont(QObject *owner, QString &font) {
    QFont initial;
    initial.fromString(font);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, ownerWidget(owner));
    if (ok)
        font = chosen.toString();
    return ok;
}

int TWidgetDesktop::ExecDialog(QObject *dialog) {
    auto *window = qobject_cast<QDialog *>(dialog);
    return window ? window->exec() : 0;
}

void TWidgetDesktop::SetClipboardText(const QString &text) {
    QApplication::clipboard()->setText(text);
}

void TWidgetDesktop::SetClipboardFiles(const QStringList &paths, bool cut) {
    auto *data = new QMimeData;
    QList<QUrl> urls;
    QByteArray gnome = cut ? "cut" : "copy";
    for (const QString &path : paths) {
        urls.append(QUrl::fromLocalFile(path));
        gnome += '\n' + QUrl::fromLocalFile(path).toEncoded();
    }
    data->setUrls(urls);
    data->setData(QStringLiteral("x-special/gnome-copied-files"), gnome);
    QApplication::clipboard()->setMimeData(data);
}

void TWidgetDesktop::WriteConsole(const QString &text) {
    Console().Write(text);
}

QString TWidgetDesktop::ReadConsoleLine() {
    return Console().ReadLine();
}

} // namespace tarvin
