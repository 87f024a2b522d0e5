#pragma once

#include "explorer/MessageListModel.h"

#include <QByteArray>
#include <QFont>
#include <QPointer>
#include <QTreeView>

class QFileSystemWatcher;
class QMenu;
class QThread;
class QTimer;

namespace tarvin {

// The explorer's message list (velMessages): one row per message file of a folder, three
// columns (icons, "Subject", "Date"), every row painted from its file name each time.
//
// SetFolder() lists a folder on the model's worker thread; rows appear while it runs and are
// sorted when it ends. Changes to the folder (files added, removed, renamed) come from a file
// system watcher and re-read the folder in the background; the rows that stay keep their place.
// After each listing the count text is reported and the row of the quick-view file (or, with
// none, the first row) is selected. A selection change is reported 400 ms late, so a quick run
// through the list with the arrow keys reports only the row it stops on.
class TMessageListView : public QTreeView {
    Q_OBJECT

public:
    // The initial column widths; the explorer applies the settings' widths through header().
    static constexpr int kIconColumnWidth = 54;
    static constexpr int kSubjectColumnWidth = 360;
    static constexpr int kDateColumnWidth = 120;
    static constexpr int kRowHeight = 17;
    static constexpr int kSelectionDelayMs = 400;

    explicit TMessageListView(QWidget *parent = nullptr);
    ~TMessageListView() override;

    // Lists `folder` (cancelling a listing still running); the quick-view file is forgotten.
    void SetFolder(const QString &folder, TFolderDateMode mode);
    QString Folder() const;
    // How the Date column reads the file times (after a date conversion of the listed folder).
    void SetDateMode(TFolderDateMode mode);
    // Reads the listed folder again (F5); the top visible row stays at the top.
    void Refresh();

    // The file shown in the quick-view pane: the row selected after each update.
    void SetQuickViewFile(const QString &path) { m_quickViewFile = path; }
    QString QuickViewFile() const { return m_quickViewFile; }

    // Full path of the focused row (empty without one), of the row the selection reports, and
    // of every selected row in list order.
    QString FocusedFile() const;
    QString SelectedFile() const;
    QStringList SelectedFiles() const;

    // Sort column (1 Subject, 2 Date) and direction; SetSort sorts the rows at once.
    void SetSort(int column, bool ascending);
    int SortColumn() const;
    bool SortAscending() const;

    // The menu shown on a right click (not owned); none shows nothing.
    void SetContextMenu(QMenu *menu);

    TMessageListModel *Model() const { return m_model; }
    QString CountText() const { return m_model->CountText(); }

    int sizeHintForColumn(int column) const override;

signals:
    // The selection changed 400 ms ago; the path of its row, "" when nothing is selected.
    void SelectionSettled(const QString &path);
    // Enter or a double-click on the focused row.
    void OpenRequested(const QString &path);
    // The status bar's message count after a listing or an update.
    void CountChanged(const QString &text);
    // A listing has ended and its rows are sorted (also after updates).
    void ListingFinished();

protected:
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;
    void changeEvent(QEvent *event) override;

private:
    void listingFinished(const QString &error);
    void folderChanged(const QString &folder);
    void watching(const QString &folder);
    void rescan();
    void selectAfterUpdate();
    void headerClicked(int column);
    void syncSortIndicator();
    void reportSelection();
    void showContextMenu(const QPoint &pos);
    void updateFonts();
    bool fileVanished(int row) const;

    TMessageListModel *m_model = nullptr;
    // Watches the listed folder on a thread of its own: starting to watch a folder of many
    // files takes the kernel a while, which the window does not wait for.
    QThread *m_watchThread = nullptr;
    QFileSystemWatcher *m_watcher = nullptr; // lives on m_watchThread
    QTimer *m_selectionTimer = nullptr;
    QTimer *m_changeTimer = nullptr;
    QPointer<QMenu> m_contextMenu;
    QString m_quickViewFile;
    QByteArray m_topRowName; // the top row to keep after a refresh
    bool m_keepTopRow = false;
    bool m_changePending = false; // the folder changed and is not read again yet
    bool m_rescanAfterListing = false;
    bool m_newFolder = false; // the running listing is of a new folder
    QFont m_normalFont;
    QFont m_boldFont;
};

} // namespace tarvin
