#include "explorer/ui/QuickViewController.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "explorer/ui/MessageListView.h"
#include "view/ui/TarvinFrame.h"

#include <QApplication>

namespace tarvin {

TQuickViewController::TQuickViewController(TTarvinFrame *frame, TMessageListView *list,
                                           QObject *parent)
    : QObject(parent), m_frame(frame), m_list(list) {
    connect(list, &TMessageListView::SelectionSettled, this,
            &TQuickViewController::selectionSettled);
    connect(list, &TMessageListView::OpenRequested, this, [this] { Open(); });
}

// An emptied selection is not reported to the pane: it keeps its message.
void TQuickViewController::selectionSettled(const QString &path) {
    if (path.isEmpty())
        return;
    ShowInQuickViewer(path);
    if (m_openPending)
        Open();
}

void TQuickViewController::ShowInQuickViewer(const QString &path) {
    // Names that differ in case are different files here.
    if (path == m_quickViewFile)
        return;
    m_quickViewFile = path;
    if (m_list)
        m_list->SetQuickViewFile(path);
    if (!m_frame)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    try {
        m_frame->SetFileName(path);
    } catch (const Error &e) {
        error = e.message();
    }
    if (m_frame)
        m_frame->SetPlainText(false);
    QApplication::restoreOverrideCursor();
    // The frame keeps the failed name, so this file is not loaded and reported again until
    // another row was shown in between.
    if (!error.isEmpty())
        Desktop().ShowError(m_frame, QApplication::applicationDisplayName(), error);
}

void TQuickViewController::Open() {
    if (!m_list)
        return;
    const QString focused = m_list->FocusedFile();
    if (focused.isEmpty())
        return;
    if (focused == m_quickViewFile) {
        m_openPending = false;
        emit OpenViewerRequested(m_quickViewFile);
        return;
    }
    m_openPending = true;
}

} // namespace tarvin
