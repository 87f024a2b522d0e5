#include "view/ui/SaveAllAttachments.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/ui/WindowSupport.h"
#include "model/GWMessage.h"
#include "util/NativePath.h"
#include "view/ui/TarvinFrame.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvin {

namespace {

const QString kTitle = QStringLiteral("Save All Attachments");

// The folder last saved into, offered next time.
QString &LastFolder() {
    static QString folder;
    return folder;
}

QString askFolder(QWidget *owner) {
    const QString folder = Desktop().AskFolder(owner, kTitle, LastFolder());
    if (!folder.isEmpty())
        LastFolder() = folder;
    return folder;
}

void report(QWidget *owner, const TSaveAllAttachments &save, const QStringList &loadFailures) {
    const QStringList failures = loadFailures + save.Failures();
    if (failures.isEmpty())
        return;
    Desktop().ShowError(
        owner, kTitle,
        QStringLiteral("%1 saved. These could not be saved:\n\n%2")
            .arg(save.Saved().size() == 1
                     ? QStringLiteral("1 attachment was")
                     : QStringLiteral("%1 attachments were").arg(save.Saved().size()))
            .arg(failures.join(QLatin1Char('\n'))));
}

} // namespace

TFileExistsDialog::TFileExistsDialog(const QString &path, QWidget *owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FileExistsDialog"));
    setWindowTitle(kTitle);
    setWindowIcon(ProductIcon());
    const QFileInfo info(path);
    m_text =
        new QLabel(QStringLiteral("\"%1\" already exists in \"%2\".\n\nWhat do you want to do?")
                       .arg(DisplayPath(info.fileName()), DisplayPath(info.absolutePath())),
                   this);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_applyToAll = new QCheckBox(QStringLiteral("&Apply to all"), this);
    m_applyToAll->setObjectName(QStringLiteral("ApplyToAll"));
    auto *buttons = new QDialogButtonBox(this);
    const auto add = [&](const QString &caption, const char *name, TCollisionChoice choice) {
        QPushButton *button = buttons->addButton(caption, QDialogButtonBox::ActionRole);
        button->setObjectName(QLatin1String(name));
        connect(button, &QPushButton::clicked, this, [this, choice] { done(ResultFor(choice)); });
        return button;
    };
    add(QStringLiteral("&Replace"), "Replace", TCollisionChoice::Replace);
    add(QStringLiteral("&Keep both"), "KeepBoth", TCollisionChoice::KeepBoth)->setDefault(true);
    add(QStringLiteral("&Skip"), "Skip", TCollisionChoice::Skip);
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(420);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_applyToAll);
    layout->addWidget(buttons);
}

TCollisionAnswer TFileExistsDialog::Answer(int result) const {
    TCollisionAnswer answer;
    answer.ApplyToAll = m_applyToAll->isChecked();
    if (result >= ResultFor(TCollisionChoice::Replace) &&
        result < ResultFor(TCollisionChoice::Cancel))
        answer.Choice = TCollisionChoice(result - 1);
    else
        answer.Choice = TCollisionChoice::Cancel;
    return answer;
}

TCollisionAnswer AskFileExists(QWidget *owner, const QString &path) {
    // On the heap: a window closed while the question runs takes it along.
    QPointer<TFileExistsDialog> dialog = new TFileExistsDialog(path, owner);
    const int result = Desktop().ExecDialog(dialog);
    if (!dialog)
        return {TCollisionChoice::Cancel, false};
    const TCollisionAnswer answer = dialog->Answer(result);
    delete dialog.data();
    return answer;
}

void SaveAllAttachments(TTarvinFrame *frame) {
    if (!frame || !frame->Message())
        return;
    QPointer<TTarvinFrame> guard(frame);
    QPointer<QWidget> owner(frame->window());
    const QString folder = askFolder(owner);
    if (!guard || !guard->Message() || folder.isEmpty())
        return;
    // The frame (and its message) may go while a question runs: the run then stops.
    TSaveAllAttachments save(folder, [guard, owner](const QString &path) {
        TCollisionAnswer answer = AskFileExists(owner, path);
        if (!guard)
            answer.Choice = TCollisionChoice::Cancel;
        return answer;
    });
    save.Save(*guard->Message(), guard->ShowSystemAttachments());
    report(owner, save, {});
}

void SaveAllAttachmentsOfFiles(QWidget *owner, const QStringList &files,
                               bool showSystemAttachments) {
    if (files.isEmpty())
        return;
    QPointer<QWidget> window(owner);
    const QString folder = askFolder(owner);
    if (folder.isEmpty())
        return;
    TSaveAllAttachments save(folder,
                             [window](const QString &path) { return AskFileExists(window, path); });
    QStringList loadFailures;
    for (const QString &file : files) {
        if (save.Cancelled())
            break;
        try {
            TGWMessage message;
            message.LoadFromFile(file);
            save.Save(message, showSystemAttachments);
        } catch (const Error &error) {
            loadFailures << error.message();
        }
    }
    report(window, save, loadFailures);
}

} // namespace tarvin
