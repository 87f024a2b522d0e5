#include "explorer/ui/MessageListView.h"

#include "base/DesktopServices.h"
#include "explorer/ui/MessageListImages.h"

#include <QApplication>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <unistd.h>

namespace tarvin {

namespace {

// Change notifications come in bursts (a copy of many files); the folder is read again once
// they pause for this long.
constexpr int kChangeSettleMs = 150;
// Text starts this far into its column.
constexpr int kTextIndent = 7;
// The date text starts this far below the row's top.
constexpr int kDateTop = 2;
// The item icon starts this far into the row.
constexpr int kIconLeft = 8;
constexpr qreal kSelectionRadius = 3.0;

// Gives every row the list's fixed height; the rows themselves are painted by the view.
class TMessageRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override {
        return QSize(0, TMessageListView::kRowHeight);
    }
};

QColor blend(const QColor &a, const QColor &b, qreal share) {
    return QColor::fromRgbF(a.redF() * share + b.redF() * (1 - share),
                            a.greenF() * share + b.greenF() * (1 - share),
                            a.blueF() * share + b.blueF() * (1 - share));
}

} // namespace

TMessageListView::TMessageListView(QWidget *parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("velMessages"));
    // The timers exist before the model is set: setting it reports a selection change.
    m_selectionTimer = new QTimer(this);
    m_selectionTimer->setSingleShot(true);
    m_selectionTimer->setInterval(kSelectionDelayMs);
    connect(m_selectionTimer, &QTimer::timeout, this, &TMessageListView::reportSelection);

    m_changeTimer = new QTimer(this);
    m_changeTimer->setSingleShot(true);
    m_changeTimer->setInterval(kChangeSettleMs);
    connect(m_changeTimer, &QTimer::timeout, this, &TMessageListView::rescan);

    m_model = new TMessageListModel(this);
    setItemDelegate(new TMessageRowDelegate(this));
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setContextMenuPolicy(Qt::CustomContextMenu);

    QHeaderView *head = header();
    head->setSectionsMovable(false);
    head->setStretchLastSection(false);
    head->setSectionsClickable(true);
    head->setSortIndicatorShown(true);
    head->setSectionResizeMode(mlcIcons, QHeaderView::Fixed);
    head->setSectionResizeMode(mlcSubject, QHeaderView::Interactive);
    head->setSectionResizeMode(mlcDate, QHeaderView::Interactive);
    head->resizeSection(mlcIcons, kIconColumnWidth);
    head->resizeSection(mlcSubject, kSubjectColumnWidth);
    head->resizeSection(mlcDate, kDateColumnWidth);
    connect(head, &QHeaderView::sectionClicked, this, &TMessageListView::headerClicked);
    connect(head, &QHeaderView::sortIndicatorChanged, this, &TMessageListView::syncSortIndicator);
    syncSortIndicator();

    m_watchThread = new QThread(this);
    m_watchThread->setObjectName(QStringLiteral("MessageListWatcher"));
    m_watcher = new QFileSystemWatcher;
    m_watcher->moveToThread(m_watchThread);
    connect(m_watchThread, &QThread::finished, m_watcher, &QObject::deleteLater);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &TMessageListView::folderChanged);
    m_watchThread->start();

    connect(m_model, &TMessageListModel::ListingFinished, this, &TMessageListView::listingFinished);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid() && currentIndex().isValid())
            emit OpenRequested(FocusedFile());
    });
    connect(this, &QWidget::customContextMenuRequested, this, &TMessageListView::showContextMenu);
    updateFonts();
}

TMessageListView::~TMessageListView() {
    m_watchThread->quit();
    m_watchThread->wait();
}

// ---- folder and updates ----

void TMessageListView::SetFolder(const QString &folder, TFolderDateMode mode) {
    m_selectionTimer->stop();
    m_changeTimer->stop();
    m_quickViewFile.clear();
    m_keepTopRow = false;
    m_changePending = false;
    m_rescanAfterListing = false;
    m_model->SetDateMode(mode);
    m_newFolder = true;
    m_model->ListFolder(folder);
    QFileSystemWatcher *watcher = m_watcher;
    QPointer<TMessageListView> self(this);
    QMetaObject::invokeMethod(watcher, [watcher, folder, self] {
        const QStringList watched = watcher->directories();
        if (!watched.isEmpty())
            watcher->removePaths(watched);
        if (folder.isEmpty() || !watcher->addPath(folder))
            return;
        QMetaObject::invokeMethod(
            self,
            [self, folder] {
                if (self)
                    self->watching(folder);
            },
            Qt::QueuedConnection);
    });
}

QString TMessageListView::Folder() const {
    return m_model->Folder();
}

void TMessageListView::SetDateMode(TFolderDateMode mode) {
    m_model->SetDateMode(mode);
}

void TMessageListView::Refresh() {
    if (m_model->Folder().isEmpty())
        return;
    const QModelIndex top = indexAt(QPoint(0, 0));
    m_keepTopRow = top.isValid();
    m_topRowName = top.isValid() ? m_model->Row(top.row()).Name : QByteArray();
    rescan();
}

// The watch on a folder started after its listing had begun; when that listing has ended
// already, a change in between would be missed, so the folder is read again.
void TMessageListView::watching(const QString &folder) {
    if (folder == m_model->Folder() && !m_newFolder)
        rescan();
}

void TMessageListView::folderChanged(const QString &folder) {
    if (folder != m_model->Folder())
        return; // a notification for the folder listed before
    m_changePending = true;
    viewport()->update();
    m_changeTimer->start();
}

void TMessageListView::rescan() {
    m_changeTimer->stop();
    if (m_model->Folder().isEmpty())
        return;
    if (m_model->IsListing() && m_newFolder) {
        // The folder's first listing is still running: read it again once it has ended.
        m_rescanAfterListing = true;
        return;
    }
    m_model->RescanFolder();
}

void TMessageListView::listingFinished(const QString &error) {
    const bool newFolder = m_newFolder;
    m_newFolder = false;
    if (!m_changeTimer->isActive())
        m_changePending = false;
    if (newFolder) {
        scrollToTop();
        if (!error.isEmpty())
            Desktop().ShowError(this, QApplication::applicationDisplayName(), error);
    }
    if (m_keepTopRow) {
        m_keepTopRow = false;
        for (int row = 0; row < m_model->rowCount(); ++row) {
            if (m_model->Row(row).Name == m_topRowName) {
                scrollTo(m_model->index(row, 0), QAbstractItemView::PositionAtTop);
                break;
            }
        }
    }
    emit CountChanged(m_model->CountText());
    selectAfterUpdate();
    viewport()->update();
    emit ListingFinished();
    if (m_rescanAfterListing) {
        m_rescanAfterListing = false;
        rescan();
    }
}

// After an update the quick-view file's row is selected (the focused row stays as it is);
// with no quick-view file, as after a folder change, the first row is selected and no row is
// focused.
void TMessageListView::selectAfterUpdate() {
    const int row = m_model->RowToSelect(m_quickViewFile);
    if (row < 0)
        return;
    QItemSelectionModel *selection = selectionModel();
    if (m_quickViewFile.isEmpty())
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    // A selection that already holds the row (several rows picked by the user) stays.
    if (!selection->isRowSelected(row, QModelIndex()))
        selection->select(m_model->index(row, 0),
                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// ---- selection ----

void TMessageListView::selectionChanged(const QItemSelection &selected,
                                        const QItemSelection &deselected) {
    QTreeView::selectionChanged(selected, deselected);
    m_selectionTimer->start();
}

void TMessageListView::reportSelection() {
    emit SelectionSettled(SelectedFile());
}

QString TMessageListView::FocusedFile() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? m_model->FilePath(current.row()) : QString();
}

QString TMessageListView::SelectedFile() const {
    const QItemSelectionModel *selection = selectionModel();
    const QModelIndex current = currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex()))
        return m_model->FilePath(current.row());
    int first = -1;
    for (const QItemSelectionRange &range : selection->selection())
        if (first < 0 || range.top() < first)
            first = range.top();
    return first >= 0 ? m_model->FilePath(first) : QString();
}

QStringList TMessageListView::SelectedFiles() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList paths;
    paths.reserve(rows.size());
    for (const QModelIndex &index : std::as_const(rows))
        paths.append(m_model->FilePath(index.row()));
    return paths;
}

void TMessageListView::keyPressEvent(QKeyEvent *event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (currentIndex().isValid())
            emit OpenRequested(FocusedFile());
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TMessageListView::SetContextMenu(QMenu *menu) {
    m_contextMenu = menu;
}

void TMessageListView::showContextMenu(const QPoint &pos) {
    if (m_contextMenu)
        m_contextMenu->popup(viewport()->mapToGlobal(pos));
}

// ---- sorting ----

void TMessageListView::SetSort(int column, bool ascending) {
    if (column != mlcSubject && column != mlcDate)
        column = mlcDate;
    m_model->sort(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    syncSortIndicator();
}

int TMessageListView::SortColumn() const {
    return m_model->SortColumn();
}

bool TMessageListView::SortAscending() const {
    return m_model->SortOrder() == Qt::AscendingOrder;
}

void TMessageListView::headerClicked(int column) {
    // Ctrl or Shift with the click leaves the order alone.
    if (!(QApplication::keyboardModifiers() & (Qt::ControlModifier | Qt::ShiftModifier)))
        m_model->HeaderClicked(column);
    syncSortIndicator();
}

// The header shows the model's order whatever the header did with the click itself.
void TMessageListView::syncSortIndicator() {
    QHeaderView *head = header();
    if (head->sortIndicatorSection() == m_model->SortColumn() &&
        head->sortIndicatorOrder() == m_model->SortOrder())
        return;
    const QSignalBlocker blocker(head);
    head->setSortIndicator(m_model->SortColumn(), m_model->SortOrder());
    head->viewport()->update();
}

// ---- painting ----

void TMessageListView::changeEvent(QEvent *event) {
    if (event->type() == QEvent::FontChange)
        updateFonts();
    QTreeView::changeEvent(event);
}

void TMessageListView::updateFonts() {
    m_normalFont = font();
    m_normalFont.setBold(false);
    m_boldFont = font();
    m_boldFont.setBold(true);
}

// Between a change notification and the folder being read again a row's file may be gone;
// such a row paints empty.
bool TMessageListView::fileVanished(int row) const {
    return m_changePending && ::access(m_model->NativeFilePath(row).constData(), F_OK) != 0;
}

int TMessageListView::sizeHintForColumn(int column) const {
    if (column == mlcIcons)
        return kIconColumnWidth;
    if (column != mlcSubject && column != mlcDate)
        return QTreeView::sizeHintForColumn(column);
    // The rows on screen decide, as for any list of this size.
    const QFontMetrics normal(m_normalFont);
    const QFontMetrics bold(m_boldFont);
    int width = 0;
    const int rows = m_model->rowCount();
    const int first = std::max(0, indexAt(QPoint(0, 0)).row());
    const int last = std::min(rows, first + viewport()->height() / kRowHeight + 1);
    for (int row = first; row < last; ++row) {
        const TMessageRowView view = m_model->DescribeRow(row);
        const QString &text = column == mlcSubject ? view.Name.Subject : view.DateText;
        width = std::max(width, (view.Bold ? bold : normal).horizontalAdvance(text));
    }
    return std::max(width + 2 * kTextIndent, header()->sectionSizeHint(column));
}

void TMessageListView::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const {
    const int row = index.row();
    const QHeaderView *head = header();
    const int top = option.rect.top();
    const int height = option.rect.height();
    painter->fillRect(QRect(0, top, viewport()->width(), height), palette().color(QPalette::Base));
    if (row < 0 || row >= m_model->rowCount() || fileVanished(row))
        return;
    painter->save();

    const TMessageNameInfo name = ParseRowName(m_model->Row(row).Name);
    const bool iconsShown = !isColumnHidden(mlcIcons);
    const bool subjectShown = !isColumnHidden(mlcSubject);
    const bool dateShown = !isColumnHidden(mlcDate);
    const int rowLeft = -head->offset();

    if (iconsShown) {
        int x = rowLeft + kIconLeft;
        const QPixmap &icon = MessageItemIcon(RowIconIndex(name));
        painter->drawPixmap(x, top, icon);
        x += kItemIconSize;
        const TStatusGlyphs glyphs = StatusGlyphs(name.Flags);
        for (int glyph : {glyphs.ReplyForward, glyphs.BoxType}) {
            if (glyph == kGlyphNone)
                continue;
            painter->drawPixmap(x, top, MessageStatusGlyph(glyph));
            x += kStatusGlyphWidth - 1;
        }
        if (glyphs.Attachment != kGlyphNone)
            painter->drawPixmap(x, top, MessageStatusGlyph(glyphs.Attachment));
    }

    if (subjectShown || dateShown) {
        int textLeft = iconsShown ? rowLeft + head->sectionSize(mlcIcons) : rowLeft;
        int textRight = textLeft;
        for (int column = 0; column < mlcColumnCount; ++column)
            if (!isColumnHidden(column))
                textRight = std::max(textRight, head->sectionViewportPosition(column) +
                                                    head->sectionSize(column));
        const QRect textArea(textLeft, top, textRight - textLeft, height);
        const bool focused = hasFocus();
        const QPalette &colours = palette();
        QColor textColour = colours.color(QPalette::Active, QPalette::Text);
        if (selectionModel()->isRowSelected(row, QModelIndex())) {
            const QColor highlight = colours.color(QPalette::Active, QPalette::Highlight);
            const QColor base = colours.color(QPalette::Active, QPalette::Base);
            QColor fill = highlight;
            QColor border = highlight.darker(130);
            if (focused) {
                textColour = colours.color(QPalette::Active, QPalette::HighlightedText);
            } else {
                // Without the focus the selection stays visible in a paler form.
                fill = blend(highlight, base, 0.25);
                border = blend(highlight, base, 0.55);
            }
            painter->setRenderHint(QPainter::Antialiasing, true);
            painter->setPen(border);
            painter->setBrush(fill);
            painter->drawRoundedRect(QRectF(textArea).adjusted(0.5, 0.5, -0.5, -0.5),
                                     kSelectionRadius, kSelectionRadius);
            painter->setRenderHint(QPainter::Antialiasing, false);
        }
        if (focused && currentIndex().row() == row) {
            QPen pen(textColour, 1, Qt::DotLine);
            painter->setPen(pen);
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(textArea.adjusted(1, 1, -2, -2));
        }
        painter->setFont(IsBoldRow(name.Flags) ? m_boldFont : m_normalFont);
        painter->setPen(textColour);
        int subjectRight = textLeft;
        if (subjectShown) {
            const int left = head->sectionViewportPosition(mlcSubject);
            const int width = head->sectionSize(mlcSubject);
            subjectRight = left + width;
            const QRect rect(left + kTextIndent, top, std::max(0, width - kTextIndent), height);
            const QString text =
                painter->fontMetrics().elidedText(name.Subject, Qt::ElideRight, rect.width());
            painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        }
        if (dateShown) {
            const int left = subjectShown ? subjectRight : head->sectionViewportPosition(mlcDate);
            const int width = head->sectionSize(mlcDate);
            const QRect rect(left + kTextIndent, top + kDateTop, std::max(0, width - kTextIndent),
                             height - kDateTop);
            painter->drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                              m_model->DateText(row));
        }
    }
    painter->restore();
}

} // namespace tarvin
