#include "util/ui/OpenWithDialog.h"

#include "base/DesktopServices.h"
#include "base/Error.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeDatabase>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tarvin {

namespace {

QIcon appIcon(const TDesktopApp &app, const QStyle *style) {
    for (const QString &name : app.IconNames) {
        QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull())
            return icon;
    }
    if (!app.IconFile.isEmpty() && QFileInfo::exists(app.IconFile))
        return QIcon(app.IconFile);
    QIcon fallback = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    return fallback.isNull() ? style->standardIcon(QStyle::SP_DesktopIcon) : fallback;
}

QIcon fileIcon(const QString &mimeType, const QStyle *style) {
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeType);
    for (const QString &name : {type.iconName(), type.genericIconName()}) {
        QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull())
            return icon;
    }
    return style->standardIcon(QStyle::SP_FileIcon);
}

} // namespace

TOpenWithDialog::TOpenWithDialog(const QString &filePath, QWidget *parent)
    : QDialog(parent), m_filePath(filePath), m_mimeType(FileMimeType(filePath)) {
    setWindowTitle(tr("Open With"));

    imgFileIcon = new QLabel(this);
    imgFileIcon->setPixmap(fileIcon(m_mimeType, style()).pixmap(32, 32));
    imgFileIcon->setAlignment(Qt::AlignTop);
    lblPrompt = new QLabel(tr("Choose the program you want to use to open this file:"), this);
    lblFileName = new QLabel(tr("File:  %1").arg(QFileInfo(filePath).fileName()), this);
    lblFileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblFileName->setToolTip(QDir::toNativeSeparators(filePath));

    tvwPrograms = new QTreeWidget(this);
    tvwPrograms->setHeaderHidden(true);
    tvwPrograms->setRootIsDecorated(false);
    tvwPrograms->setIconSize(QSize(24, 24));
    tvwPrograms->setMinimumSize(380, 260);

    m_recommended = AppsForType(m_mimeType);
    for (const TDesktopApp &app : AllApps()) {
        if (!m_recommended.contains(app))
            m_others.append(app);
    }
    if (!m_recommended.isEmpty()) {
        QTreeWidgetItem *group = addGroup(tr("Recommended Programs:"));
        for (const TDesktopApp &app : m_recommended)
            addApp(group, app);
    }
    m_otherGroup = addGroup(m_recommended.isEmpty() ? tr("Programs:") : tr("Other Programs:"));
    for (const TDesktopApp &app : m_others)
        addApp(m_otherGroup, app);
    tvwPrograms->expandAll();

    chkAlwaysUse =
        new QCheckBox(tr("&Always use the selected program to open this kind of file"), this);
    btnBrowse = new QPushButton(tr("&Browse..."), this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    btnOK = buttons->button(QDialogButtonBox::Ok);
    btnCancel = buttons->button(QDialogButtonBox::Cancel);

    auto *top = new QHBoxLayout;
    top->addWidget(imgFileIcon);
    auto *texts = new QVBoxLayout;
    texts->addWidget(lblPrompt);
    texts->addWidget(lblFileName);
    top->addLayout(texts, 1);
    auto *browseRow = new QHBoxLayout;
    browseRow->addStretch(1);
    browseRow->addWidget(btnBrowse);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tvwPrograms, 1);
    layout->addLayout(browseRow);
    layout->addWidget(chkAlwaysUse);
    layout->addWidget(buttons);

    connect(btnBrowse, &QPushButton::clicked, this, &TOpenWithDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &TOpenWithDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TOpenWithDialog::reject);
    connect(tvwPrograms, &QTreeWidget::itemSelectionChanged, this, &TOpenWithDialog::updateActions);
    connect(tvwPrograms, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        if (m_itemApps.contains(item))
            accept();
    });

    if (!m_recommended.isEmpty())
        SelectApp(m_recommended.first());
    updateActions();
}

QTreeWidgetItem *TOpenWithDialog::addGroup(const QString &caption) {
    auto *group = new QTreeWidgetItem(tvwPrograms, {caption});
    QFont font = group->font(0);
    font.setBold(true);
    group->setFont(0, font);
    group->setFlags(Qt::ItemIsEnabled);
    return group;
}

QTreeWidgetItem *TOpenWithDialog::addApp(QTreeWidgetItem *group, const TDesktopApp &app) {
    auto *item = new QTreeWidgetItem(group, {app.Name});
    item->setIcon(0, appIcon(app, style()));
    item->setToolTip(0, app.ProgramPath.isEmpty() ? app.Executable : app.ProgramPath);
    m_itemApps.insert(item, app);
    return item;
}

std::optional<TDesktopApp> TOpenWithDialog::SelectedApp() const {
    const QList<QTreeWidgetItem *> selected = tvwPrograms->selectedItems();
    if (selected.isEmpty() || !m_itemApps.contains(selected.first()))
        return std::nullopt;
    return m_itemApps.value(selected.first());
}

bool TOpenWithDialog::SelectApp(const TDesktopApp &app) {
    for (auto it = m_itemApps.cbegin(); it != m_itemApps.cend(); ++it) {
        if (it.value() == app) {
            tvwPrograms->setCurrentItem(it.key());
            tvwPrograms->scrollToItem(it.key());
            return true;
        }
    }
    return false;
}

bool TOpenWithDialog::AlwaysUse() const {
    return chkAlwaysUse->isChecked();
}

void TOpenWithDialog::SetAlwaysUse(bool always) {
    chkAlwaysUse->setChecked(always);
}

bool TOpenWithDialog::AddProgram(const QString &programPath, QString &error) {
    TDesktopApp app;
    try {
        app = AppForProgram(programPath);
    } catch (const Error &e) {
        error = e.message();
        return false;
    }
    if (!SelectApp(app)) {
        QTreeWidgetItem *item = addApp(m_otherGroup, app);
        m_otherGroup->removeChild(item);
        m_otherGroup->insertChild(0, item);
        SelectApp(app);
    }
    return true;
}

bool TOpenWithDialog::LaunchSelected(QString &error) {
    const std::optional<TDesktopApp> app = SelectedApp();
    if (!app) {
        error = tr("Choose a program first.");
        return false;
    }
    try {
        if (AlwaysUse())
            SetDefaultAppForType(*app, m_mimeType);
        LaunchApp(*app, m_filePath);
    } catch (const Error &e) {
        error = e.message();
        return false;
    }
    return true;
}

void TOpenWithDialog::browse() {
    TFileDialogRequest request;
    request.Title = tr("Open With...");
    request.Folder = QStringLiteral("/usr/bin");
    request.Filters = {tr("Programs (*)")};
    QPointer<TOpenWithDialog> self(this);
    const QString program = Desktop().AskOpenFileName(this, request);
    if (!self || program.isEmpty())
        return;
    QString error;
    if (!AddProgram(program, error))
        Desktop().ShowMessage(this, TMessageKind::Warning, windowTitle(), error);
}

void TOpenWithDialog::accept() {
    QString error;
    if (!LaunchSelected(error)) {
        // The dialog stays open so that another program can be chosen.
        Desktop().ShowMessage(this, TMessageKind::Warning, windowTitle(), error);
        return;
    }
    QDialog::accept();
}

void TOpenWithDialog::updateActions() {
    btnOK->setEnabled(SelectedApp().has_value());
}

bool ExecOpenWithDialog(const QString &filePath, QWidget *parent) {
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return false;
    // On the heap: when the parent goes while the dialog runs, it takes the dialog with it.
    QPointer<TOpenWithDialog> dialog =
        new TOpenWithDialog(filePath, parent ? parent : QApplication::activeWindow());
    Desktop().ExecDialog(dialog);
    delete dialog.data();
    return true;
}

} // namespace tarvin
