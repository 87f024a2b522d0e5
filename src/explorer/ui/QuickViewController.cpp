#include "explorer/ui/QuickViewController.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "explorer/ui/MessageListView.h"
#include "model/GWMessage.h"
#include "util/NativePath.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewerActionHandler.h"

#include <QAction>
#include <QApplication>

namespace tarvin {

TQuickViewController::TQuickViewController(TTarvinFrame *frame, TMessageListView *list,
                                           QObject *parent)
    : QObject(parent), m_frame(frame), m_list(list) {
    m_loader = new TMessageLoader(this);
    connect(m_loader, &TMessageLoader::Finished, this, &TQuickViewController::loadFinished);
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
    if (m_frame) {
        // The tab follows the tab action the user ticked last.
        if (const TViewerActionHandler *actions = m_frame->Actions())
            m_frame->SetActivePage(actions->actProperties->isChecked() ? fpProperties
                                   : actions->actSaveLog->isChecked()  ? fpSaveLog
                                                                       : fpMessage);
        if (path.isEmpty()) {
            m_loader->Cancel();
            m_frame->ShowLoadedMessage(QString(), nullptr);
        } else {
            m_frame->ShowLoading(path);
            m_loader->Start(path);
        }
    }
    emit QuickViewFileChanged(path);
}

void TQuickViewController::loadFinished(const QString &path, TMessageLoadOutcome outcome,
                                        const QString &error) {
    Q_UNUSED(outcome); // a missing file (gone since it was listed) has no error: the pane empties
    if (!m_frame || path != m_quickViewFile)
        return;
    QString failure = error;
    // Nothing thrown while the pane is built from the message may escape into the event loop:
    // it is reported as the load error, which names the file.
    QString buildError;
    try {
        m_frame->ShowLoadedMessage(path, m_loader->TakeMessage());
        m_frame->SetPlainText(false);
    } catch (const Error &e) {
        buildError = e.message();
    } catch (const std::bad_alloc &) {
        buildError = QStringLiteral("Not enough memory to show this message.");
    } catch (const std::exception &e) {
        buildError = QString::fromLocal8Bit(e.what());
    }
    if (!buildError.isEmpty()) {
        failure = MessageLoadError(path, buildError);
        if (m_frame)
            m_frame->ShowLoadedMessage(path, nullptr);
    }
    // A reason from deep inside the message ("data error") gets the file's name in front.
    if (!failure.isEmpty() && !failure.contains(DisplayPath(path)))
        failure = MessageLoadError(path, failure);
    emit Loaded(path);
    // The pane keeps the failed name, so this file is not loaded and reported again until
    // another row was shown in between.
    if (!failure.isEmpty())
        Desktop().ShowError(m_frame, QApplication::applicationDisplayName(), failure);
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
