#pragma once

#include "convert/InteractiveConversion.h"
#include "explorer/ui/ExplorerDialogs.h"
#include "explorer/ui/ExplorerMessageList.h"
#include "view/ui/ViewerWindows.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class QLabel;
class QSplitter;
class QToolBar;

namespace tarvin {

class TExplorerActions;
class TQuickViewController;
class TFolderTree;
class TTarvinForm;
class TTarvinFrame;
class TViewerActionHandler;

// The main window of viewer mode: the folder tree, the message list of the selected folder
// and the quick-view pane below them. It opens the files named on the command line (or handed
// over by a second start) in viewer windows, checks the dates of the selected folder and
// offers their conversion, and keeps its layout and the user's preferences in "CONFIG.INI".
class TExplorerForm : public QMainWindow {
    Q_OBJECT
public:
    // The designed size and the smallest one.
    static constexpr int kDesignedWidth = 769, kDesignedHeight = 579;
    static constexpr int kMinimumWidth = 360, kMinimumHeight = 480;

    // `settingsFolder` holds "CONFIG.INI", "Folders.DAT" and "CVTDATES.LOG" (default: the
    // application data folder). Settings are read here when the program runs in viewer mode.
    explicit TExplorerForm(const QString &settingsFolder = QString(), QWidget *parent = nullptr);
    // Saves the settings when the explorer was activated; a failure is shown.
    ~TExplorerForm() override;

    void LoadConfig();
    // Raises "TExplorerForm.SaveConfig: cannot create folder '%s'" when the settings folder
    // cannot be made.
    void SaveConfig();

    // Makes the folder tree and the message list live; runs once.
    void ActivateExplorer();
    bool IsActivated() const { return m_activated; }

    // The program's arguments (switches included): only the first is opened; with none the
    // window is shown (and activated when `activate`). The entry of a second start too.
    void OpenCommandLineFiles(const QStringList &arguments, bool activate);
    void OpenPendingFiles(bool activate);
    // True once opening found nothing to show and ended the program.
    bool EndRequested() const { return m_endRequested; }

    TTarvinForm *OpenViewerWindow(const QString &folder, const QString &fileName,
                                  const QString &messageId, const QString &xml, bool embedded,
                                  const TViewSettings &settings);
    TViewerWindows &Viewers() { return m_viewers; }

    // The quick-view pane's file and loading (ShowInQuickViewer, Open with open pending).
    TQuickViewController *QuickView() const { return m_quickView; }
    QString QuickViewFile() const;

    // The date check of one folder: prompted (a folder was selected) or explicit (the menu).
    void CheckFolderDates(const QString &folder, bool prompted);
    void ReadFolderMarker(const QString &folder);
    bool FolderConverted() const { return m_folderConverted; }
    bool FolderTimesUtc() const { return m_folderTimesUtc; }
    TConvertDatesInfo &ConvertDatesInfo() { return m_convertDatesInfo; }
    // The date warning's text while it is shown, else "".
    QString DateWarning() const;
    // The status bar's message count while it is shown, else "".
    QString MessageCountText() const;

    // The full path of the folder selected in the tree; "" when none.
    QString CurrentFolder() const;
    // Selects a folder in the tree (after activation).
    bool SelectFolder(const QString &folder);

    // Options dialog, about box and the conversion log.
    void ShowOptions();
    void ShowAbout();
    void ShowConvertDatesLog();

    TExplorerActions *Actions() const { return m_actions; }
    TViewerActionHandler *ViewerActions() const { return m_viewerActions; }
    TTarvinFrame *QuickViewer() const { return m_quickViewer; }
    TFolderTree *Folders() const { return m_folders; }
    TExplorerMessageList *MessageList() const { return m_messages; }
    QString SettingsFolder() const { return m_settingsFolder; }
    int PaneHeight() const { return m_paneHeight; }
    // The dialogs it starts (given by the program root; without them it asks nothing).
    void SetDialogs(IExplorerDialogs *dialogs) { m_dialogs = dialogs; }
    // A conversion run is going on.
    bool IsConverting() const { return m_converting; }

    // Sets the actions' states from the current state.
    void UpdateActions();
    // The features the program serves (printing, the find window, reply and forward): their
    // actions are enabled only when served.
    void SetFeatures(const TViewerFeatures &features);

signals:
    // "Find in Messages..." with the folder to search.
    void FindInMessagesRequested(const QString &folder);
    // "Export as PDF..." and "Save All Attachments..." for the list's selected message files.
    void ExportPdfRequested(const QStringList &files, bool showSystemAttachments);
    void SaveAllAttachmentsRequested(const QStringList &files, bool showSystemAttachments);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void connectActions();
    void folderSelected(const QString &folder);
    void setQuickViewerVisible(bool visible);
    void setDateWarning(const QString &text);
    void updateFolderHeader(const QString &folder);
    void openHelp();
    void showError(const QString &text);
    void endProgram();
    TViewSettings viewSettings() const;

    TConvertDatesInfo m_convertDatesInfo;
    QString m_settingsFolder;
    int m_currentBodyForm = 0;
    bool m_activated = false;
    bool m_checkingDates = false;
    bool m_checkFromFolderChange = false;
    bool m_folderConverted = false;
    bool m_folderTimesUtc = false;
    QStringList m_pendingFiles;
    int m_paneHeight = -1;
    bool m_endRequested = false;
    bool m_converting = false;
    IExplorerDialogs *m_dialogs = nullptr;

    TViewerWindows m_viewers;
    TExplorerActions *m_actions = nullptr;
    QToolBar *m_toolBar = nullptr;
    QSplitter *m_splExplorerViewer = nullptr;
    QWidget *m_pnlMain = nullptr;
    QSplitter *m_splFolderFile = nullptr;
    TFolderTree *m_folders = nullptr;
    QLabel *m_imgFolder = nullptr;
    QLabel *m_lblFolder = nullptr;
    TExplorerMessageList *m_messages = nullptr;
    TTarvinFrame *m_quickViewer = nullptr;
    TQuickViewController *m_quickView = nullptr;
    TViewerActionHandler *m_viewerActions = nullptr;
    TViewerFeatures m_features;
    QLabel *m_spMessageCount = nullptr;
    QWidget *m_gsWarning = nullptr;
    QLabel *m_warningText = nullptr;
};

} // namespace tarvin
