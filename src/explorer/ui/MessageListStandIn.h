#pragma once

#include "explorer/MessageRowText.h"

#include <QTreeView>

class QMenu;
class QTimer;

namespace tarvin {

class TMessageListModel;

// A plain message list with the interface the explorer expects of its list: the folder's
// message files with icon, subject and date columns, sortable, reporting the settled
// selection, open requests and the count text.
class TMessageListStandIn : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kSettleDelayMs = 400;

    explicit TMessageListStandIn(QWidget *parent = nullptr);

    void SetFolder(const QString &folder, TFolderDateMode mode);
    void Refresh();
    QString SelectedFile() const;
    QStringList SelectedFiles() const;
    void SetSort(int column, bool ascending);
    int SortColumn() const;
    bool SortAscending() const;
    void SetContextMenu(QMenu *menu) { m_contextMenu = menu; }
    TMessageListModel *Model() const { return m_model; }

signals:
    void SelectionSettled(const QString &path);
    void OpenRequested(const QString &path);
    void CountChanged(const QString &text);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    TMessageListModel *m_model;
    QTimer *m_settle;
    QMenu *m_contextMenu = nullptr;
};

} // namespace tarvin
