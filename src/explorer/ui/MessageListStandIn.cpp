#include "explorer/ui/MessageListStandIn.h"

#include "explorer/MessageListModel.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>

namespace tarvin {

TMessageListStandIn::TMessageListStandIn(QWidget *parent)
    : QTreeView(parent), m_model(new TMessageListModel(this)), m_settle(new QTimer(this)) {
    setObjectName(QStringLiteral("velMessages"));
    setModel(m_model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(true);
    header()->resizeSection(mlcIcons, 60);
    m_settle->setSingleShot(true);
    m_settle->setInterval(kSettleDelayMs);
    connect(m_settle, &QTimer::timeout, this, [this] { emit SelectionSettled(SelectedFile()); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, m_settle,
            qOverload<>(&QTimer::start));
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_model->HeaderClicked(column);
        header()->setSortIndicator(m_model->SortColumn(), m_model->SortOrder());
    });
    connect(m_model, &TMessageListModel::ListingFinished, this, [this] {
        emit CountChanged(m_model->CountText());
        if (!currentIndex().isValid() && m_model->rowCount() > 0)
            setCurrentIndex(m_model->index(0, mlcSubject));
    });
    connect(this, &QAbstractItemView::activated, this, [this](const QModelIndex &index) {
        emit OpenRequested(m_model->FilePath(index.row()));
    });
}

void TMessageListStandIn::SetFolder(const QString &folder, TFolderDateMode mode) {
    m_model->SetDateMode(mode);
    if (folder.isEmpty()) {
        m_model->CancelListing();
        return;
    }
    m_model->ListFolder(folder);
}

void TMessageListStandIn::Refresh() {
    if (!m_model->Folder().isEmpty())
        m_model->RescanFolder();
}

QString TMessageListStandIn::SelectedFile() const {
    const QModelIndex index = currentIndex();
    if (!index.isValid() || !selectionModel()->isRowSelected(index.row(), QModelIndex()))
        return {};
    return m_model->FilePath(index.row());
}

QStringList TMessageListStandIn::SelectedFiles() const {
    QStringList files;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        files.append(m_model->FilePath(index.row()));
    return files;
}

void TMessageListStandIn::SetSort(int column, bool ascending) {
    const Qt::SortOrder order = ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
    m_model->SetSort(column, order);
    header()->setSortIndicator(column, order);
}

int TMessageListStandIn::SortColumn() const {
    return m_model->SortColumn();
}

bool TMessageListStandIn::SortAscending() const {
    return m_model->SortOrder() == Qt::AscendingOrder;
}

void TMessageListStandIn::contextMenuEvent(QContextMenuEvent *event) {
    if (m_contextMenu)
        m_contextMenu->popup(event->globalPos());
}

} // namespace tarvin
