#pragma once

#include "view/ui/TarvinFrame.h"

#include <QMainWindow>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;

namespace tarvin {

// A top-level window that shows one message (a message file or an embedded message)
// through its frame, with a menu, the frame's toolbar and a status bar. It has its own
// task-bar entry and frees itself when closed.
class TTarvinForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TTarvinForm(QWidget *parent = nullptr);
    ~TTarvinForm() override;

    TTarvinFrame *Viewer() const { return m_viewer; }

    QString FileName() const { return m_viewer->FileName(); }
    void SetFileName(const QString &path);
    QString SourceFolder() const { return m_viewer->SourceFolder(); }
    void SetSourceFolder(const QString &folder) { m_viewer->SetSourceFolder(folder); }
    QString MessageId() const { return m_viewer->MessageId(); }
    void LoadFromXml(const QString &xml);
    void SetPlainText(bool plainText);
    bool AttachmentsVisible() const { return m_viewer->AttachmentsVisible(); }
    void SetAttachmentsVisible(bool visible);
    bool ShowSystemAttachments() const { return m_viewer->ShowSystemAttachments(); }
    void SetShowSystemAttachments(bool show);
    bool ToolbarVisible() const { return m_viewer->ToolbarVisible(); }
    void SetToolbarVisible(bool visible);

    // Whether the window shows an embedded message loaded from XML text.
    bool AttachedMessage() const { return m_attachedMessage; }
    void SetAttachedMessage(bool attached);

    // The status bar's text (shortened to fit) and its hint (in full).
    QString StatusText() const;
    QString StatusHint() const;

    // Sets every action's enabled, checked and visible state from the current state.
    void UpdateActions();

    // The number of viewer windows alive in the process.
    static int WindowCount();

    QAction *actPrint = nullptr;
    QAction *actClose = nullptr;
    QAction *actToolbar = nullptr;
    QAction *actAttachmentWindow = nullptr;
    QAction *actSystemAttachments = nullptr;
    QAction *actMessage = nullptr;
    QAction *actProperties = nullptr;
    QAction *actSaveLog = nullptr;
    QAction *actHTML = nullptr;
    QAction *actPlainText = nullptr;
    QAction *actOpenAttachment = nullptr;
    QAction *actSaveAs = nullptr;
    QAction *actFont = nullptr;
    QAction *actFindInMessages = nullptr;
    QAction *actAppHelp = nullptr;
    QAction *actAboutApp = nullptr;
    QAction *actReplyMenu = nullptr; // "Reply..." in the Actions menu, runs the frame's Reply

signals:
    // An embedded message was opened in this window's frame.
    void OnOpenMessage(tarvin::TTarvinForm *sender, const tarvin::TOpenMessageRequest &request);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions();
    void createMenus();
    void updateTitle();
    void updateStatusText();
    void chooseFont();
    void showAbout();
    void openHelp();
    void messageShown();

    TTarvinFrame *m_viewer = nullptr;
    QLabel *m_statusLabel = nullptr;
    bool m_attachedMessage = false;
    QActionGroup *m_pageGroup = nullptr;
    QActionGroup *m_bodyGroup = nullptr;
    QMenu *m_mnuView = nullptr;
};

} // namespace tarvin
