#pragma once

#include "view/MessageLoader.h"

#include <QObject>
#include <QPointer>
#include <QString>

namespace tarvin {

class TMessageListView;
class TTarvinFrame;

// Joins the message list to the explorer's quick-view pane: the row the selection settles on
// is loaded into the pane (ShowInQuickViewer), and Open (Enter, a double-click, the Open
// action) opens the focused row in a viewer window once the pane shows that row. An Open that
// comes before the pane has caught up with the selection is kept pending and runs when it has.
//
// The pane's file is read on a worker thread; meanwhile the pane says "Loading..." and a newer
// selection abandons the read. The quick-view file is the file last handed to the pane, also
// when it failed to load: the load error is reported once through the desktop's error box, and
// selecting the same row again does not load (nor report) it again.
class TQuickViewController : public QObject {
    Q_OBJECT

public:
    TQuickViewController(TTarvinFrame *frame, TMessageListView *list, QObject *parent = nullptr);

    QString QuickViewFile() const { return m_quickViewFile; }
    bool OpenPending() const { return m_openPending; }
    // The pane's file is still being read.
    bool IsLoading() const { return m_loader->IsLoading(); }

    // Makes `path` the quick-view file and starts loading it into the pane (an empty path
    // empties it). Nothing happens when it is the quick-view file already. The pane's tab
    // follows the ticked tab action, and a newly shown message starts in HTML form.
    void ShowInQuickViewer(const QString &path);
    // Forgets the quick-view file and empties the pane (a folder change).
    void Clear() { ShowInQuickViewer(QString()); }
    // Open for the focused row: asks for a viewer window when the pane shows that row, else
    // keeps the request pending until the delayed selection has loaded it.
    void Open();

signals:
    // The focused row is the quick-view file: the host opens it in a viewer window.
    void OpenViewerRequested(const QString &path);
    // The quick-view file changed (the pane may still be loading it).
    void QuickViewFileChanged(const QString &path);
    // The pane has shown the quick-view file, or given up on it.
    void Loaded(const QString &path);

private:
    void selectionSettled(const QString &path);
    void loadFinished(const QString &path, TMessageLoadOutcome outcome, const QString &error);

    QPointer<TTarvinFrame> m_frame;
    QPointer<TMessageListView> m_list;
    TMessageLoader *m_loader = nullptr;
    QString m_quickViewFile;
    bool m_openPending = false;
};

} // namespace tarvin
