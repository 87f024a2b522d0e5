#include "search/ui/SearchResultView.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "search/DesktopLink.h"
#include "search/ui/FilePropertiesForm.h"
#include "search/ui/SearchResultModel.h"
#include "util/NativePath.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

namespace tarvin {

namespace {

const QString &boxTitle() {
    static const QString title = QStringLiteral("Message Search");
    return title;
}

bool isMessageFile(const QString &path) {
    return path.endsWith(QLatin1String(".pml"), Qt::CaseInsensitive);
}

} // namespace

TSearchResultView::TSearchResultView(TSearchResultModel *model, QWidget *parent)
    : QTreeView(parent), m_model(model) {
    setModel(model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setSortingEnabled(true);
    header()->setSortIndicator(-1, Qt::AscendingOrder);
    header()->setSortIndicatorShown(true);
    header()->setSectionsMovable(true);
    header()->setStretchLastSection(false);
    header()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header(), &QWidget::customContextMenuRequested, this,
            &TSearchResultView::showHeaderMenu);

    setColumnWidth(TSearchResultModel::Name, 220);
    setColumnWidth(TSearchResultModel::Path, 200);
    setColumnWidth(TSearchResultModel::Size, 80);
    setColumnWidth(TSearchResultModel::Type, 110);
    setColumnWidth(TSearchResultModel::Modified, 140);
    setColumnWidth(TSearchResultModel::Attributes, 70);
    setColumnWidth(TSearchResultModel::Accessed, 140);
    setColumnWidth(TSearchResultModel::Created, 140);
    setColumnWidth(TSearchResultModel::DosName, 120);
    setColumnHidden(TSearchResultModel::Accessed, true);
    setColumnHidden(TSearchResultModel::Created, true);
    setColumnHidden(TSearchResultModel::DosName, true);

    auto make = [this](const QString &text, void (TSearchResultView::*slot)()) {
        auto *action = new QAction(text, this);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    actOpen = make(QStringLiteral("&Open"), &TSearchResultView::OpenSelected);
    actOpenWith = make(QStringLiteral("Open Wit&h..."), &TSearchResultView::OpenSelectedWith);
    actCut = new QAction(QStringLiteral("Cu&t"), this);
    connect(actCut, &QAction::triggered, this, [this] { CopySelected(true); });
    actCopy = new QAction(QStringLiteral("&Copy"), this);
    connect(actCopy, &QAction::triggered, this, [this] { CopySelected(false); });
    actCreateLink = make(QStringLiteral("Create &Link"), &TSearchResultView::CreateDesktopLinks);
    actDelete = make(QStringLiteral("&Delete"), &TSearchResultView::DeleteSelected);
    actRename = new QAction(QStringLiteral("Rena&me"), this);
    connect(actRename, &QAction::triggered, this, [this] {
        if (currentIndex().isValid())
            edit(m_model->index(currentIndex().row(), TSearchResultModel::Name));
    });
    actProperties = make(QStringLiteral("P&roperties"), &TSearchResultView::ShowProperties);

    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            openPath(m_model->Row(index.row()).Path);
    });
    connect(m_model, &TSearchResultModel::RenameFailed, this,
            [this](const QString &message) { Desktop().ShowError(this, boxTitle(), message); });
}

QStringList TSearchResultView::SelectedPaths() const {
    return m_model->PathsOf(selectionModel()->selectedRows());
}

void TSearchResultView::openPath(const QString &path) {
    if (isMessageFile(path) && IsExistingFile(path)) {
        emit OpenMessageRequested(path);
        return;
    }
    try {
        Desktop().OpenFile(this, path);
    } catch (const Error &error) {
        Desktop().ShowError(this, boxTitle(), error.message());
    }
}

void TSearchResultView::OpenSelected() {
    for (const QString &path : SelectedPaths())
        openPath(path);
}

void TSearchResultView::OpenSelectedWith() {
    const QStringList paths = SelectedPaths();
    if (paths.isEmpty())
        return;
    try {
        Desktop().OpenWith(this, paths.first());
    } catch (const Error &error) {
        Desktop().ShowError(this, boxTitle(), error.message());
    }
}

void TSearchResultView::CopySelected(bool cut) {
    const QStringList paths = SelectedPaths();
    if (paths.isEmpty())
        return;
    Desktop().SetClipboardFiles(paths, cut);
    m_model->SetCutPaths(cut ? paths : QStringList());
}

void TSearchResultView::DeleteSelected() {
    const QStringList paths = SelectedPaths();
    if (paths.isEmpty())
        return;
    const QString name = m_model
                             ->data(m_model->index(selectionModel()->selectedRows().first().row(),
                                                   TSearchResultModel::Name),
                                    Qt::DisplayRole)
                             .toString();
    const bool one = paths.size() == 1;
    const QString question =
        one ? QStringLiteral("Are you sure you want to move \"%1\" to the trash?").arg(name)
            : QStringLiteral("Are you sure you want to move these %1 items to the trash?")
                  .arg(paths.size());
    const QPointer<TSearchResultView> self(this);
    if (!Desktop().AskYesNo(
            this, one ? QStringLiteral("Delete File") : QStringLiteral("Delete Multiple Items"),
            question))
        return;
    if (!self)
        return;
    QStringList failures;
    for (const QString &path : paths) {
        // QFile takes the name through its own encoding, which keeps UTF-8 names only.
        QFile file(QFile::decodeName(EncodeNativePath(path)));
        if (file.moveToTrash())
            m_model->RemovePath(path);
        else
            failures << QStringLiteral("Cannot move %1 to the trash. %2")
                            .arg(DisplayPath(path), file.errorString());
    }
    if (!failures.isEmpty())
        Desktop().ShowError(this, boxTitle(), failures.join(QLatin1Char('\n')));
}

void TSearchResultView::CreateDesktopLinks() {
    const QStringList paths = SelectedPaths();
    if (paths.isEmpty())
        return;
    const QPointer<TSearchResultView> self(this);
    const TMessageAnswer answer = Desktop().ShowMessage(
        this, TMessageKind::Warning, boxTitle(),
        QStringLiteral("It isn't possible to create shortcuts here.\n"
                       "Do you want to create shortcuts on the desktop instead?"),
        TMessageButtons::YesNo, TMessageAnswer::Yes);
    if (answer != TMessageAnswer::Yes || !self)
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    QDir().mkpath(folder);
    QStringList failures;
    for (const QString &path : paths) {
        try {
            if (CreateDesktopLink(folder, path).isEmpty())
                failures << QStringLiteral("Cannot create a link to %1 on the desktop: every "
                                           "name for it is taken.")
                                .arg(DisplayPath(path));
        } catch (const Error &error) {
            failures << error.message();
        }
    }
    if (!failures.isEmpty())
        Desktop().ShowError(this, boxTitle(), failures.join(QLatin1Char('\n')));
}

void TSearchResultView::ShowProperties() {
    const QModelIndex current = currentIndex();
    const QModelIndexList rows = selectionModel()->selectedRows();
    const int row = current.isValid() && selectionModel()->isRowSelected(current.row())
                        ? current.row()
                        : (rows.isEmpty() ? -1 : rows.first().row());
    if (row < 0)
        return;
    TFilePropertiesForm form(*m_model, row, this);
    Desktop().ExecDialog(&form);
}

void TSearchResultView::updateActions() {
    const int selected = selectionModel()->selectedRows().size();
    for (QAction *action : {actOpen, actCut, actCopy, actCreateLink, actDelete})
        action->setEnabled(selected > 0);
    for (QAction *action : {actOpenWith, actRename, actProperties})
        action->setEnabled(selected == 1);
}

void TSearchResultView::contextMenuEvent(QContextMenuEvent *event) {
    const QModelIndex index = indexAt(event->pos());
    if (event->reason() == QContextMenuEvent::Mouse && !index.isValid())
        return;
    updateActions();
    QMenu menu(this);
    menu.addAction(actOpen);
    menu.addAction(actOpenWith);
    menu.addSeparator();
    menu.addAction(actCut);
    menu.addAction(actCopy);
    menu.addSeparator();
    menu.addAction(actCreateLink);
    menu.addAction(actDelete);
    menu.addAction(actRename);
    menu.addSeparator();
    menu.addAction(actProperties);
    menu.setDefaultAction(actOpen);
    menu.exec(event->globalPos());
}

void TSearchResultView::showHeaderMenu(const QPoint &pos) {
    QMenu menu(this);
    for (int column = 0; column < TSearchResultModel::kColumnCount; ++column) {
        QAction *action =
            menu.addAction(m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        action->setCheckable(true);
        action->setChecked(!isColumnHidden(column));
        // The name stays: a list without it would show nothing to click.
        action->setEnabled(column != TSearchResultModel::Name);
        connect(action, &QAction::toggled, this,
                [this, column](bool on) { setColumnHidden(column, !on); });
    }
    menu.exec(header()->mapToGlobal(pos));
}

void TSearchResultView::focusInEvent(QFocusEvent *event) {
    QTreeView::focusInEvent(event);
    if (event->reason() == Qt::MouseFocusReason)
        return;
    // Once the focus change has settled, a list with rows and no selection selects the focused
    // row or the first.
    QTimer::singleShot(0, this, [this] {
        if (!hasFocus() || m_model->rowCount() == 0 || selectionModel()->hasSelection())
            return;
        const QModelIndex current =
            currentIndex().isValid() ? currentIndex() : m_model->index(0, 0);
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    });
}

void TSearchResultView::keyPressEvent(QKeyEvent *event) {
    if (state() != QAbstractItemView::EditingState) {
        if (event->matches(QKeySequence::Copy)) {
            CopySelected(false);
            return;
        }
        if (event->matches(QKeySequence::Cut)) {
            CopySelected(true);
            return;
        }
        if (event->matches(QKeySequence::Paste))
            return; // nothing is pasted into a result list
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
            DeleteSelected();
            return;
        }
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            event->modifiers() == Qt::NoModifier) {
            OpenSelected();
            return;
        }
        if (event->key() == Qt::Key_Return && event->modifiers() == Qt::AltModifier) {
            ShowProperties();
            return;
        }
    }
    QTreeView::keyPressEvent(event);
}

} // namespace tarvin
