#pragma once

#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewerActionHandler.h"

#include <QMainWindow>

class QLabel;

namespace tarvin {

// A top-level window that shows one message (a message file or an embedded message)
// through its frame, with a menu, the frame's toolbar and a status bar. It has its own
// task-bar entry and frees itself when closed. Its actions are those of its action handler;
// printing, finding, help, the about box, reply and forward are asked for through the
// handler's signals.
class TTarvinForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TTarvinForm(QWidget *parent = nullptr);
    ~TTarvinForm() override;

    TTarvinFrame *Viewer() const { return m_viewer; }

    QString FileName() const { return m_viewer->FileName(); }
    void SetFileName(const QString &path);
    // Shows a message file read elsewhere (TMessageLoader).
    void ShowLoadedMessage(const QString &path, std::unique_ptr<TGWMessage> message);
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

    // The viewer actions of the window's menus and of the frame's toolbar and pop-up menus.
    TViewerActionHandler *Actions() const { return m_actions; }

signals:
    // An embedded message was opened in this window's frame.
    void OnOpenMessage(tarvin::TTarvinForm *sender, const tarvin::TOpenMessageRequest &request);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMenus();
    void updateTitle();
    void updateStatusText();
    void messageShown();

    TTarvinFrame *m_viewer = nullptr;
    TViewerActionHandler *m_actions = nullptr;
    QLabel *m_statusLabel = nullptr;
    bool m_attachedMessage = false;
};

} // namespace tarvin
