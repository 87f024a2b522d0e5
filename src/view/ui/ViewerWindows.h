#pragma once

#include "view/ui/TarvinFrame.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

namespace tarvin {

class TTarvinForm;

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

    // Brings forward the window that shows the file (or, with `embedded`, the embedded
    // message with this id), or creates one: settings first, then the message, then HTML
    // mode. When the message cannot be shown the half-made window is released and the user
    // is told, with the offer to open the file with another program; nullptr comes back.
    TTarvinForm *OpenViewerWindow(const QString &folder, const QString &fileName,
                                  const QString &messageId, const QString &xml, bool embedded,
                                  const TViewSettings &settings);

    // Opens a file named on the command line: a message file in a viewer window brought to
    // the front, any other file with its program. True when a viewer window shows it.
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
    void windowDestroyed(QObject *window);
    void adopt(TTarvinForm *window);
    void showError(const QString &text);

    QList<QPointer<TTarvinForm>> m_windows;
    QPointer<QWidget> m_mainWindow;
    TViewerFeatures m_features;
};

} // namespace tarvin
