#pragma once

#include <QTreeView>

class QAction;

namespace tarvin {

class TSearchResultModel;

// The result list of the find window: a detailed file list of the hits. Rows are sorted by a
// click on a column header; the header's context menu shows and hides columns; several rows
// can be selected, renamed in place (F2), dragged out as files, copied and cut as file lists
// (Ctrl+C, Ctrl+X), moved to the trash (Del) and opened (double-click, Enter). The context
// menu carries the same commands with Open With, a link on the desktop and the properties.
class TSearchResultView : public QTreeView {
    Q_OBJECT
public:
    explicit TSearchResultView(TSearchResultModel *model, QWidget *parent = nullptr);

    TSearchResultModel *ResultModel() const { return m_model; }
    QStringList SelectedPaths() const;

    // The commands, for the selection.
    void OpenSelected();
    void OpenSelectedWith();
    void CopySelected(bool cut);
    void DeleteSelected();
    void CreateDesktopLinks();
    void ShowProperties();

    // The context menu's actions, in menu order.
    QAction *actOpen, *actOpenWith, *actCut, *actCopy, *actCreateLink, *actDelete, *actRename,
        *actProperties;

signals:
    // A message file is to be shown in a viewer window.
    void OpenMessageRequested(const QString &path);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void openPath(const QString &path);
    void updateActions();
    void showHeaderMenu(const QPoint &pos);

    TSearchResultModel *m_model;
};

} // namespace tarvin
