#include "view/ui/ViewerWindows.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/VersionInfo.h"
#include "util/NativePath.h"
#include "view/ui/TarvinForm.h"

#include <QApplication>
#include <QFileInfo>

namespace tarvin {

namespace {

// Changes the cursor to the hourglass for the lifetime of the object.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

TViewerWindows::TViewerWindows(QObject *parent) : QObject(parent) {
    QuitProgram = [] { QCoreApplication::quit(); };
}

TViewerWindows::~TViewerWindows() {
    // Windows still open go now, while the HTML engine they use is still there.
    for (const QPointer<TTarvinForm> &window : m_windows) {
        if (window) {
            disconnect(window, nullptr, this, nullptr);
            delete window.data();
        }
    }
}

QList<TTarvinForm *> TViewerWindows::Windows() const {
    QList<TTarvinForm *> windows;
    for (const QPointer<TTarvinForm> &window : m_windows)
        if (window)
            windows.append(window);
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
    WaitCursor wait;
    TTarvinForm *window = embedded ? FindEmbeddedWindow(messageId) : FindFileWindow(fileName);
    if (!window && !embedded && !IsExistingFile(fileName)) {
        // An empty window would say nothing about the name that was wrong.
        showError(ProductName() + QStringLiteral(" cannot open this file:\n\n") +
                  DisplayPath(fileName) + QStringLiteral("\n\nThe file does not exist."));
        return nullptr;
    }
    if (!window) {
        auto *made = new TTarvinForm;
        try {
            made->SetAttachedMessage(embedded);
            made->SetToolbarVisible(settings.ToolbarVisible);
            made->SetAttachmentsVisible(settings.AttachmentsVisible);
            made->SetShowSystemAttachments(settings.ShowSystemAttachments);
            made->Viewer()->SetLoadRemoteContent(settings.LoadRemoteContent);
            made->SetSourceFolder(folder);
            if (embedded)
                made->LoadFromXml(xml);
            else
                made->SetFileName(fileName);
            made->SetPlainText(false);
        } catch (const Error &error) {
            delete made;
            if (fileName.isEmpty()) {
                // An embedded message has no file another program could open.
                showError(ProductName() + QStringLiteral(" cannot open this message:\n\n") +
                          error.message());
                return nullptr;
            }
            const QString text =
                ProductName() + QStringLiteral(" cannot open this file:\n\n") + fileName +
                QStringLiteral("\n\n") + error.message() +
                QStringLiteral("\nWould you like to choose another application to open this file?");
            if (Desktop().AskYesNo(nullptr, ProductName(), text)) {
                try {
                    Desktop().OpenWith(nullptr, fileName);
                } catch (const Error &openError) {
                    showError(openError.message());
                }
            }
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
    m_windows.removeIf([window](const QPointer<TTarvinForm> &w) {
        return w.isNull() || static_cast<QObject *>(w.data()) == window;
    });
    if (!m_windows.isEmpty())
        return;
    emit LastWindowClosed();
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
            return false;
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
