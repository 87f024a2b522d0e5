#include "view/ui/ViewerWindows.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/VersionInfo.h"
#include "model/GWMessage.h"
#include "util/NativePath.h"
#include "view/ui/LoadWaitWindow.h"
#include "view/ui/TarvinForm.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

namespace tarvin {

namespace {

// Changes the cursor to the hourglass for the lifetime of the object.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

// One message file being read for a new viewer window.
class TPendingOpen : public QObject {
public:
    using QObject::QObject;
    QString Folder;
    QString FileName;
    TViewSettings Settings;
    TMessageLoader *Loader = nullptr;
    QTimer *WaitTimer = nullptr;
    QPointer<TLoadWaitWindow> Wait;
};

TViewerWindows::TViewerWindows(QObject *parent) : QObject(parent) {
    QuitProgram = [] { QCoreApplication::quit(); };
}

TViewerWindows::~TViewerWindows() {
    // Reads still running are abandoned; their wait windows go with them.
    for (TPendingOpen *pending : std::as_const(m_pending)) {
        pending->Loader->Cancel();
        delete pending->Wait.data();
    }
    m_pending.clear();
    // Windows still open go now, while the HTML engine they use is still there.
    for (const QPointer<QObject> &window : m_windows) {
        if (window) {
            disconnect(window, nullptr, this, nullptr);
            delete window.data();
        }
    }
}

QList<TTarvinForm *> TViewerWindows::Windows() const {
    QList<TTarvinForm *> windows;
    for (const QPointer<QObject> &window : m_windows)
        if (window)
            windows.append(static_cast<TTarvinForm *>(window.data()));
    return windows;
}

TTarvinForm *TViewerWindows::FindFileWindow(const QString &fileName) const {
    // Names that differ only in case are different files here.
    for (TTarvinForm *window : Windows())
        if (!window->AttachedMessage() && window->FileName() == fileName)
            return window;
    return nullptr;
}

TTarvinForm *TViewerWindows::FindEmbeddedWindow(const QString &messageId) const {
    for (TTarvinForm *window : Windows())
        if (window->AttachedMessage() && window->MessageId() == messageId)
            return window;
    return nullptr;
}

TTarvinForm *TViewerWindows::OpenViewerWindow(const QString &folder, const QString &fileName,
                                              const QString &messageId, const QString &xml,
                                              bool embedded, const TViewSettings &settings) {
    TTarvinForm *window = embedded ? FindEmbeddedWindow(messageId) : FindFileWindow(fileName);
    if (!window && !embedded) {
        if (!pendingOpen(fileName))
            startOpen(folder, fileName, settings);
        return nullptr;
    }
    if (!window) {
        WaitCursor wait;
        auto *made = new TTarvinForm;
        try {
            made->SetAttachedMessage(true);
            made->SetToolbarVisible(settings.ToolbarVisible);
            made->SetAttachmentsVisible(settings.AttachmentsVisible);
            made->SetShowSystemAttachments(settings.ShowSystemAttachments);
            made->Viewer()->SetLoadRemoteContent(settings.LoadRemoteContent);
            made->SetSourceFolder(folder);
            made->LoadFromXml(xml);
            made->SetPlainText(false);
        } catch (const Error &error) {
            delete made;
            // An embedded message has no file another program could open.
            showError(ProductName() + QStringLiteral(" cannot open this message:\n\n") +
                      error.message());
            return nullptr;
        }
        adopt(made);
        window = made;
    }
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    return window;
}

TPendingOpen *TViewerWindows::pendingOpen(const QString &fileName) const {
    for (TPendingOpen *pending : m_pending)
        if (pending->FileName == fileName)
            return pending;
    return nullptr;
}

bool TViewerWindows::IsOpening(const QString &fileName) const {
    return pendingOpen(fileName) != nullptr;
}

QWidget *TViewerWindows::WaitWindow(const QString &fileName) const {
    TPendingOpen *pending = pendingOpen(fileName);
    return pending ? pending->Wait.data() : nullptr;
}

void TViewerWindows::CancelOpening(const QString &fileName) {
    TPendingOpen *pending = pendingOpen(fileName);
    if (!pending)
        return;
    dropPending(pending);
    emit OpenFailed(fileName);
    endWhenNothingIsLeft();
}

void TViewerWindows::startOpen(const QString &folder, const QString &fileName,
                               const TViewSettings &settings) {
    auto *pending = new TPendingOpen(this);
    pending->Folder = folder;
    pending->FileName = fileName;
    pending->Settings = settings;
    pending->Loader = new TMessageLoader(pending);
    pending->WaitTimer = new QTimer(pending);
    pending->WaitTimer->setSingleShot(true);
    pending->WaitTimer->setInterval(kWaitWindowDelayMs);
    connect(pending->WaitTimer, &QTimer::timeout, this,
            [this, pending] { showWaitWindow(pending); });
    connect(pending->Loader, &TMessageLoader::Finished, this,
            [this, pending](const QString &, TMessageLoadOutcome outcome, const QString &error) {
                openLoaded(pending, outcome, error);
            });
    m_pending.append(pending);
    pending->WaitTimer->start();
    pending->Loader->Start(fileName);
}

void TViewerWindows::showWaitWindow(TPendingOpen *pending) {
    QWidget *owner = m_mainWindow && m_mainWindow->isVisible() ? m_mainWindow.data() : nullptr;
    pending->Wait =
        new TLoadWaitWindow(DisplayPath(QFileInfo(pending->FileName).fileName()), owner);
    pending->Wait->setAttribute(Qt::WA_DeleteOnClose);
    const QString fileName = pending->FileName;
    connect(pending->Wait, &TLoadWaitWindow::Cancelled, this,
            [this, fileName] { CancelOpening(fileName); });
    pending->Wait->show();
}

// Forgets the open: its read is abandoned (the thread's result is dropped) and its wait
// window goes.
void TViewerWindows::dropPending(TPendingOpen *pending) {
    m_pending.removeOne(pending);
    pending->Loader->Cancel();
    pending->WaitTimer->stop();
    if (pending->Wait) {
        disconnect(pending->Wait, nullptr, this, nullptr);
        pending->Wait->hide();
        pending->Wait->deleteLater();
    }
    pending->deleteLater();
}

void TViewerWindows::openLoaded(TPendingOpen *pending, TMessageLoadOutcome outcome,
                                const QString &error) {
    std::unique_ptr<TGWMessage> message = pending->Loader->TakeMessage();
    const QString folder = pending->Folder, fileName = pending->FileName;
    const TViewSettings settings = pending->Settings;
    dropPending(pending);
    QPointer<TViewerWindows> self(this);
    if (outcome == TMessageLoadOutcome::Loaded) {
        TTarvinForm *window = nullptr;
        QString failure;
        {
            WaitCursor wait;
            // Nothing may escape into the event loop: every failure is the load error.
            try {
                window = makeWindow(folder, settings);
                window->ShowLoadedMessage(fileName, std::move(message));
                window->SetPlainText(false);
            } catch (const Error &e) {
                failure = e.message();
            } catch (const std::bad_alloc &) {
                failure = QStringLiteral("Not enough memory to show this message.");
            } catch (const std::exception &e) {
                failure = QString::fromLocal8Bit(e.what());
            }
        }
        if (failure.isEmpty()) {
            adopt(window);
            window->show();
            window->raise();
            window->activateWindow();
            emit WindowOpened(window);
            return;
        }
        // The half-made window may have work of its own queued (the HTML view).
        if (window)
            window->deleteLater();
        reportLoadFailure(fileName, failure);
    } else if (outcome == TMessageLoadOutcome::Missing) {
        // An empty window would say nothing about the name that was wrong.
        showError(ProductName() + QStringLiteral(" cannot open this file:\n\n") +
                  DisplayPath(fileName) + QStringLiteral("\n\nThe file does not exist."));
    } else if (outcome == TMessageLoadOutcome::Refused) {
        // No regular file (a pipe, a device): no other program is offered either.
        showError(ProductName() + QStringLiteral(" cannot open this file:\n\n") +
                  DisplayPath(fileName) + QStringLiteral("\n\n") + error);
    } else {
        reportLoadFailure(fileName, error);
    }
    if (!self)
        return;
    emit OpenFailed(fileName);
    endWhenNothingIsLeft();
}

TTarvinForm *TViewerWindows::makeWindow(const QString &folder, const TViewSettings &settings) {
    auto *made = new TTarvinForm;
    made->SetAttachedMessage(false);
    made->SetToolbarVisible(settings.ToolbarVisible);
    made->SetAttachmentsVisible(settings.AttachmentsVisible);
    made->SetShowSystemAttachments(settings.ShowSystemAttachments);
    made->Viewer()->SetLoadRemoteContent(settings.LoadRemoteContent);
    made->SetSourceFolder(folder);
    return made;
}

void TViewerWindows::reportLoadFailure(const QString &fileName, const QString &error) {
    const QString text =
        ProductName() + QStringLiteral(" cannot open this file:\n\n") + fileName +
        QStringLiteral("\n\n") + error +
        QStringLiteral("\nWould you like to choose another application to open this file?");
    if (Desktop().AskYesNo(nullptr, ProductName(), text)) {
        try {
            Desktop().OpenWith(nullptr, fileName);
        } catch (const Error &openError) {
            showError(openError.message());
        }
    }
}

// With the main window hidden, a program that was started only to show files ends when the
// last of them could not be shown.
void TViewerWindows::endWhenNothingIsLeft() {
    if (!Windows().isEmpty() || !m_pending.isEmpty() || QCoreApplication::closingDown())
        return;
    if (!m_mainWindow || m_mainWindow->isHidden())
        QuitProgram();
}

void TViewerWindows::SetFeatures(const TViewerFeatures &features) {
    m_features = features;
    for (TTarvinForm *window : Windows())
        window->Actions()->SetFeatures(features);
}

void TViewerWindows::showError(const QString &text) {
    Desktop().ShowError(nullptr, ProductName(), text);
}

void TViewerWindows::adopt(TTarvinForm *window) {
    m_windows.append(window);
    TViewerActionHandler *actions = window->Actions();
    actions->SetFeatures(m_features);
    connect(actions, &TViewerActionHandler::PrintRequested, this, &TViewerWindows::PrintRequested);
    connect(actions, &TViewerActionHandler::ExportPdfRequested, this,
            &TViewerWindows::ExportPdfRequested);
    connect(actions, &TViewerActionHandler::FindInMessagesRequested, this,
            &TViewerWindows::FindInMessagesRequested);
    connect(actions, &TViewerActionHandler::MailActionRequested, this,
            &TViewerWindows::MailActionRequested);
    connect(actions, &TViewerActionHandler::HelpRequested, this,
            [this, window] { emit HelpRequested(window); });
    connect(actions, &TViewerActionHandler::AboutRequested, this,
            [this, window] { emit AboutRequested(window); });
    connect(window, &QObject::destroyed, this, &TViewerWindows::windowDestroyed);
    connect(window, &TTarvinForm::OnOpenMessage, this,
            [this](TTarvinForm *sender, const TOpenMessageRequest &request) {
                TViewSettings settings{request.ShowSystemAttachments, request.AttachmentsVisible,
                                       request.ToolbarVisible, request.LoadRemoteContent};
                TTarvinForm *opened =
                    OpenViewerWindow(sender->SourceFolder(), QString(), request.MessageId,
                                     request.Xml, true, settings);
                if (opened) {
                    opened->raise();
                    opened->activateWindow();
                }
            });
}

void TViewerWindows::windowDestroyed(QObject *window) {
    m_windows.removeIf(
        [window](const QPointer<QObject> &w) { return w.isNull() || w.data() == window; });
    if (!m_windows.isEmpty())
        return;
    emit LastWindowClosed();
    if (!m_pending.isEmpty())
        return; // a window is still to come
    if (QCoreApplication::closingDown())
        return;
    if (!m_mainWindow || m_mainWindow->isHidden())
        QuitProgram();
}

bool TViewerWindows::OpenCommandLineFile(const QString &path, const TViewSettings &settings) {
    const QFileInfo info(path);
    if (info.suffix().compare(QStringLiteral("pml"), Qt::CaseInsensitive) == 0) {
        TTarvinForm *window = OpenViewerWindow(info.absolutePath(), info.absoluteFilePath(),
                                               QString(), QString(), false, settings);
        if (!window)
            return IsOpening(info.absoluteFilePath());
        window->raise();
        window->activateWindow();
        return true;
    }
    const QString file = info.absoluteFilePath();
    try {
        Desktop().OpenFile(nullptr, file);
    } catch (const Error &error) {
        // The system's text alone ("No such file or directory") would not say which file.
        showError(QStringLiteral("Cannot open '%1': %2").arg(file, error.message()));
    }
    return false;
}

} // namespace tarvin
