#pragma once

#include "view/MessageLoader.h"
#include "view/ui/TarvinFrame.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

namespace tarvin {

class TTarvinForm;
class TPendingOpen;

// The view settings a new viewer window starts with.
struct TViewSettings {
    bool ShowSystemAttachments = true;
    bool AttachmentsVisible = true;
    bool ToolbarVisible = true;
    bool LoadRemoteContent = false; // web pictures of HTML bodies load without asking
};

// Finds or creates the viewer window for a message file or an embedded message, and knows
// when the last of them has closed. Embedded messages opened in any of its windows come
// back through it.
class TViewerWindows : public QObject {
    Q_OBJECT
public:
    explicit TViewerWindows(QObject *parent = nullptr);
    // Closes the windows that are still open.
    ~TViewerWindows() override;

    // Time after which a file still being read for a new window shows the wait window.
    static constexpr int kWaitWindowDelayMs = 500;

    // Brings forward the window that shows the file (or, with `embedded`, the embedded
    // message with this id) and returns it. Without one, an embedded message gets its window
    // at once: settings first, then the message, then HTML mode; when it cannot be shown the
    // half-made window is released, the user is told and nullptr comes back. A message file
    // is read on a worker thread instead (nullptr comes back): the window appears once it has
    // been read (WindowOpened), in front; a read that takes longer than kWaitWindowDelayMs
    // shows the wait window, whose Cancel abandons it. A file that is missing or no regular
    // file is reported; one that fails to load is reported with the offer to open it with
    // another program (OpenFailed in every case). A second request for a file being read
    // joins the first.
    TTarvinForm *OpenViewerWindow(const QString &folder, const QString &fileName,
                                  const QString &messageId, const QString &xml, bool embedded,
                                  const TViewSettings &settings);
    // A message file is being read for a new window.
    bool IsOpening(const QString &fileName) const;
    bool IsOpeningAny() const { return !m_pending.isEmpty(); }
    // The wait window of the file being read, once shown (tests).
    QWidget *WaitWindow(const QString &fileName) const;
    // Abandons the reading of the file for a new window, as its wait window's Cancel does.
    void CancelOpening(const QString &fileName);

    // Opens a file named on the command line: a message file in a viewer window brought to
    // the front, any other file with its program. True when a viewer window shows it or is
    // being made for it.
    bool OpenCommandLineFile(const QString &path, const TViewSettings &settings = {});

    // The windows alive, oldest first.
    QList<TTarvinForm *> Windows() const;
    TTarvinForm *FindFileWindow(const QString &fileName) const;
    TTarvinForm *FindEmbeddedWindow(const QString &messageId) const;

    // The program's main window; while it is hidden (or there is none), closing the last
    // viewer window ends the program.
    void SetMainWindow(QWidget *mainWindow) { m_mainWindow = mainWindow; }

    // The features the program serves to the viewer windows' actions (all off at first).
    void SetFeatures(const TViewerFeatures &features);

    // Ends the event loop (replaced by tests). Files, questions and failures go through
    // Desktop() (base/DesktopServices.h).
    std::function<void()> QuitProgram;

signals:
    // A window made for a message file read in the background is shown.
    void WindowOpened(tarvin::TTarvinForm *window);
    // Reading a message file for a new window failed or was cancelled; nothing was opened.
    void OpenFailed(const QString &fileName);
    // The last viewer window has closed (before the program is ended, when it is).
    void LastWindowClosed();
    // A viewer window's actions asked for these; `window` is the viewer window.
    void PrintRequested(tarvin::TTarvinFrame *frame);
    void ExportPdfRequested(tarvin::TTarvinFrame *frame);
    void FindInMessagesRequested(tarvin::TTarvinFrame *frame);
    void MailActionRequested(tarvin::TTarvinFrame *frame, tarvin::TMailAction action);
    void HelpRequested(QWidget *window);
    void AboutRequested(QWidget *window);

private:
    TPendingOpen *pendingOpen(const QString &fileName) const;
    void startOpen(const QString &folder, const QString &fileName, const TViewSettings &settings);
    void showWaitWindow(TPendingOpen *pending);
    void dropPending(TPendingOpen *pending);
    void openLoaded(TPendingOpen *pending, TMessageLoadOutcome outcome, const QString &error);
    TTarvinForm *makeWindow(const QString &folder, const TViewSettings &settings);
    void reportLoadFailure(const QString &fileName, const QString &error);
    void endWhenNothingIsLeft();
    void windowDestroyed(QObject *window);
    void adopt(TTarvinForm *window);
    void showError(const QString &text);

    // Guarded as QObject: while a window is being destroyed its type is no longer TTarvinForm,
    // and a guard of that type would cast to it when compared.
    QList<QPointer<QObject>> m_windows;
    QList<TPendingOpen *> m_pending;
    QPointer<QWidget> m_mainWindow;
    TViewerFeatures m_features;
};

} // namespace tarvin
