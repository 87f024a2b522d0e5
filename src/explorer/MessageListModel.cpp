#include "explorer/MessageListModel.h"

#include "base/Error.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QFile>
#include <QHash>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <cstring>
#include <numeric>

namespace tarvin {

namespace {

// Rows of folders at least this large are freed on a pooled thread.
constexpr qsizetype kDisposeInBackground = 1000;

int compareBytes(const QByteArray &a, const QByteArray &b) {
    const int result = memcmp(a.constData(), b.constData(), size_t(std::min(a.size(), b.size())));
    if (result != 0)
        return result;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

QCollator nameCollator() {
    // The C locale's collation knows neither numbers nor case (and its sort keys ignore both
    // settings), so it falls back to the common English order of names.
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// Sorts the positions [first, last) by name: the collation's sort keys, then the bytes.
void sortByName(const TMessageRows &rows, std::vector<qsizetype>::iterator first,
                std::vector<qsizetype>::iterator last, const QCollator &collator) {
    if (last - first < 2)
        return;
    std::vector<std::pair<qsizetype, QCollatorSortKey>> keyed;
    keyed.reserve(size_t(last - first));
    for (auto it = first; it != last; ++it)
        keyed.emplace_back(*it, collator.sortKey(QFile::decodeName(rows[*it].Name)));
    std::stable_sort(keyed.begin(), keyed.end(), [&rows](const auto &a, const auto &b) {
        const int result = a.second.compare(b.second);
        if (result != 0)
            return result < 0;
        return compareBytes(rows[a.first].Name, rows[b.first].Name) < 0;
    });
    for (const auto &entry : keyed)
        *first++ = entry.first;
}

} // namespace

std::vector<qsizetype> MessageRowOrder(const TMessageRows &rows, int column, Qt::SortOrder order) {
    std::vector<qsizetype> positions(size_t(rows.size()));
    std::iota(positions.begin(), positions.end(), 0);
    if (column != mlcSubject && column != mlcDate)
        return positions;
    const QCollator collator = nameCollator();
    if (column == mlcSubject) {
        sortByName(rows, positions.begin(), positions.end(), collator);
    } else {
        std::sort(positions.begin(), positions.end(), [&rows](qsizetype a, qsizetype b) {
            return rows[a].LastWriteTime < rows[b].LastWriteTime;
        });
        // Equal times order by name; collation keys are made only for such runs.
        for (auto run = positions.begin(); run != positions.end();) {
            auto end = run + 1;
            while (end != positions.end() && rows[*end].LastWriteTime == rows[*run].LastWriteTime)
                ++end;
            sortByName(rows, run, end, collator);
            run = end;
        }
    }
    if (order == Qt::DescendingOrder)
        std::reverse(positions.begin(), positions.end());
    return positions;
}

TMessageListModel::TMessageListModel(QObject *parent) : QAbstractTableModel(parent) {
    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("MessageListReader"));
    m_worker = new QObject;
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread->start();
}

TMessageListModel::~TMessageListModel() {
    if (m_cancel)
        m_cancel->store(true);
    m_thread->quit();
    m_thread->wait();
}

void TMessageListModel::SetDateMode(TFolderDateMode mode) {
    if (mode == m_dateMode)
        return;
    m_dateMode = mode;
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, mlcDate), index(int(m_rows.size()) - 1, mlcDate),
                         {Qt::DisplayRole});
}

TMessageRows TMessageListModel::takeRows() {
    TMessageRows rows;
    beginResetModel();
    rows.swap(m_rows);
    m_resortNeeded = false;
    endResetModel();
    return rows;
}

void TMessageListModel::clearRows() {
    disposeRows(takeRows());
}

// Freeing the rows of a large folder takes a while; a pooled thread does it, so that neither
// the window nor the next listing waits for it.
void TMessageListModel::disposeRows(TMessageRows &&rows) {
    if (rows.size() < kDisposeInBackground)
        return;
    QThreadPool::globalInstance()->start([rows = std::move(rows)]() mutable { rows = {}; });
}

void TMessageListModel::CancelListing() {
    if (m_cancel)
        m_cancel->store(true);
    m_cancel.reset();
    ++m_generation; // batches still on their way are dropped
    m_listing = false;
    m_rescan = false;
    m_rescanRows = TMessageRows();
}

void TMessageListModel::ListFolder(const QString &folder, qsizetype batchSize) {
    CancelListing();
    TMessageRows old = takeRows();
    m_folder = folder;
    m_nativeFolder = QFile::encodeName(folder);
    startReading(false, batchSize);
    disposeRows(std::move(old));
}

void TMessageListModel::RescanFolder() {
    CancelListing();
    startReading(true, 4096);
}

void TMessageListModel::startReading(bool rescan, qsizetype batchSize) {
    m_listing = true;
    m_rescan = rescan;
    m_rescanRows = TMessageRows();
    const quint64 generation = m_generation;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_cancel = cancel;
    const QByteArray nativeFolder = m_nativeFolder;
    QMetaObject::invokeMethod(
        m_worker,
        [this, generation, cancel, nativeFolder, batchSize] {
            QString error;
            try {
                ReadMessageFolder(
                    nativeFolder, *cancel,
                    [this, generation, &cancel](TMessageRows &&rows) {
                        if (cancel->load())
                            return;
                        QMetaObject::invokeMethod(
                            this,
                            [this, generation, rows = std::move(rows)]() mutable {
                                if (generation == m_generation)
                                    receiveRows(std::move(rows));
                            },
                            Qt::QueuedConnection);
                    },
                    batchSize);
            } catch (const Error &e) {
                error = e.message();
            }
            if (!cancel->load())
                QMetaObject::invokeMethod(
                    this, [this, generation, error] { finishListing(generation, error); },
                    Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void TMessageListModel::receiveRows(TMessageRows &&rows) {
    if (!m_rescan)
        appendRows(std::move(rows));
    else if (m_rescanRows.isEmpty())
        m_rescanRows = std::move(rows);
    else
        m_rescanRows.append(std::move(rows));
}

// Brings the rows in line with a new listing of the folder: rows whose file is gone are
// removed, rows whose times or attributes changed are updated in place (a changed last-write
// time needs a new sort), and new files are added at the end and need one too.
void TMessageListModel::applyRescan(TMessageRows &&listed) {
    QHash<QByteArray, qsizetype> listedIndex;
    listedIndex.reserve(listed.size());
    for (qsizetype i = 0; i < listed.size(); ++i)
        listedIndex.insert(listed[i].Name, i);
    std::vector<bool> known(size_t(listed.size()), false);
    for (qsizetype i = m_rows.size() - 1; i >= 0; --i) {
        const auto found = listedIndex.constFind(m_rows[i].Name);
        if (found == listedIndex.constEnd()) {
            qsizetype first = i; // remove a run of vanished rows at once
            while (first > 0 && !listedIndex.contains(m_rows[first - 1].Name))
                --first;
            beginRemoveRows(QModelIndex(), int(first), int(i));
            m_rows.remove(first, i - first + 1);
            endRemoveRows();
            i = first;
            continue;
        }
        known[size_t(*found)] = true;
        TMessageRow &row = m_rows[i];
        const TMessageRow &now = listed[*found];
        if (row.LastWriteTime != now.LastWriteTime || row.CreationTime != now.CreationTime ||
            row.Attributes != now.Attributes) {
            if (row.LastWriteTime != now.LastWriteTime)
                m_resortNeeded = true;
            row.LastWriteTime = now.LastWriteTime;
            row.CreationTime = now.CreationTime;
            row.Attributes = now.Attributes;
            emit dataChanged(index(int(i), 0), index(int(i), mlcColumnCount - 1));
        }
    }
    TMessageRows added;
    for (qsizetype i = 0; i < listed.size(); ++i)
        if (!known[size_t(i)])
            added.append(std::move(listed[i]));
    if (!added.isEmpty()) {
        appendRows(std::move(added));
        m_resortNeeded = true;
    }
}

void TMessageListModel::ListFolderNow(const QString &folder) {
    CancelListing();
    clearRows();
    m_folder = folder;
    m_nativeFolder = QFile::encodeName(folder);
    const std::atomic<bool> never(false);
    ReadMessageFolder(m_nativeFolder, never,
                      [this](TMessageRows &&rows) { appendRows(std::move(rows)); });
    sort(m_sortColumn, m_sortOrder);
}

void TMessageListModel::appendRows(TMessageRows &&rows) {
    if (rows.isEmpty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + int(rows.size()) - 1);
    if (m_rows.isEmpty())
        m_rows = std::move(rows);
    else
        m_rows.append(std::move(rows));
    endInsertRows();
}

void TMessageListModel::finishListing(quint64 generation, const QString &error) {
    if (generation != m_generation)
        return;
    m_listing = false;
    m_cancel.reset();
    if (m_rescan) {
        m_rescan = false;
        // A folder that cannot be listed any more keeps its rows.
        if (error.isEmpty())
            applyRescan(std::move(m_rescanRows));
        m_rescanRows = TMessageRows();
        EndUpdate();
    } else {
        sort(m_sortColumn, m_sortOrder);
    }
    emit ListingFinished(error);
}

int TMessageListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TMessageListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : mlcColumnCount;
}

QString TMessageListModel::pathPrefix() const {
    return m_folder.endsWith(QLatin1Char('/')) ? m_folder : m_folder + QLatin1Char('/');
}

QString TMessageListModel::FileName(int row) const {
    return QFile::decodeName(m_rows.at(row).Name);
}

QString TMessageListModel::FilePath(int row) const {
    return pathPrefix() + FileName(row);
}

QByteArray TMessageListModel::NativeFilePath(int row) const {
    return m_nativeFolder.endsWith('/') ? m_nativeFolder + m_rows.at(row).Name
                                        : m_nativeFolder + '/' + m_rows.at(row).Name;
}

TMessageRowView TMessageListModel::DescribeRow(int row) const {
    TMessageRowView view;
    view.Name = ParseRowName(m_rows.at(row).Name);
    view.IconIndex = RowIconIndex(view.Name);
    view.Glyphs = StatusGlyphs(view.Name.Flags);
    view.Bold = IsBoldRow(view.Name.Flags);
    view.DateText = m_dateFormatter.RowText(m_rows.at(row), m_dateMode);
    return view;
}

QVariant TMessageListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const TMessageRow &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == mlcSubject)
            return ParseRowName(row.Name).Subject;
        if (index.column() == mlcDate)
            return m_dateFormatter.RowText(row, m_dateMode);
        return {};
    case FlagsRole:
        return int(ParseRowName(row.Name).Flags);
    case IconIndexRole:
        return RowIconIndex(ParseRowName(row.Name));
    case ReplyForwardGlyphRole:
        return StatusGlyphs(ParseRowName(row.Name).Flags).ReplyForward;
    case BoxTypeGlyphRole:
        return StatusGlyphs(ParseRowName(row.Name).Flags).BoxType;
    case AttachmentGlyphRole:
        return StatusGlyphs(ParseRowName(row.Name).Flags).Attachment;
    case BoldRole:
        return IsBoldRow(ParseRowName(row.Name).Flags);
    case FileNameRole:
        return FileName(index.row());
    case FilePathRole:
        return FilePath(index.row());
    default:
        return {};
    }
}

QVariant TMessageListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case mlcIcons:
        return QStringLiteral(" ");
    case mlcSubject:
        return QStringLiteral("Subject");
    case mlcDate:
        return QStringLiteral("Date");
    default:
        return {};
    }
}

void TMessageListModel::SetSort(int column, Qt::SortOrder order) {
    m_sortColumn = column;
    m_sortOrder = order;
}

void TMessageListModel::sort(int column, Qt::SortOrder order) {
    SetSort(column, order);
    m_resortNeeded = false;
    if (m_rows.size() < 2)
        return;
    std::vector<int> newRowOf(size_t(m_rows.size()));
    {
        const std::vector<qsizetype> positions = MessageRowOrder(m_rows, column, order);
        for (size_t i = 0; i < positions.size(); ++i)
            newRowOf[size_t(positions[i])] = int(i);
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Rows move in place along the cycles of the permutation: no second copy of the rows.
    std::vector<int> target = newRowOf;
    for (size_t i = 0; i < target.size(); ++i) {
        while (target[i] != int(i)) {
            const size_t j = size_t(target[i]);
            std::swap(m_rows[qsizetype(i)], m_rows[qsizetype(j)]);
            std::swap(target[i], target[j]);
        }
    }
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &index : from)
        to.append(this->index(newRowOf[size_t(index.row())], index.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TMessageListModel::HeaderClicked(int column) {
    if (column != mlcSubject && column != mlcDate)
        return;
    Qt::SortOrder order = m_sortOrder;
    if (column == m_sortColumn)
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    sort(column, order);
}

bool TMessageListModel::AddFile(const QByteArray &nativeName) {
    for (const TMessageRow &row : std::as_const(m_rows))
        if (row.Name == nativeName)
            return false;
    TMessageRow row;
    if (!ReadMessageRow(m_nativeFolder, nativeName, row))
        return false;
    const int at = int(m_rows.size());
    beginInsertRows(QModelIndex(), at, at);
    m_rows.append(std::move(row));
    endInsertRows();
    m_resortNeeded = true;
    return true;
}

bool TMessageListModel::RemoveFile(const QByteArray &nativeName) {
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].Name == nativeName) {
            beginRemoveRows(QModelIndex(), int(i), int(i));
            m_rows.removeAt(i);
            endRemoveRows();
            return true;
        }
    }
    return false;
}

void TMessageListModel::EndUpdate() {
    if (m_resortNeeded)
        sort(m_sortColumn, m_sortOrder);
}

int TMessageListModel::RowOfPath(const QString &path) const {
    const QString prefix = pathPrefix();
    if (!path.startsWith(prefix, Qt::CaseInsensitive))
        return -1;
    const QString name = path.mid(prefix.size());
    // On Linux "a.pml" and "A.pml" are different files: the exact name wins.
    int caseless = -1;
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        const QString rowName = QFile::decodeName(m_rows[i].Name);
        if (rowName == name && path.startsWith(prefix))
            return int(i);
        if (caseless < 0 && rowName.compare(name, Qt::CaseInsensitive) == 0)
            caseless = int(i);
    }
    return caseless;
}

int TMessageListModel::RowToSelect(const QString &quickViewFile) const {
    if (m_rows.isEmpty())
        return -1;
    if (quickViewFile.isEmpty())
        return 0;
    return RowOfPath(quickViewFile);
}

} // namespace tarvin
