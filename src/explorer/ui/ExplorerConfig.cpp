// The explorer's settings: read when the window is made, written when it goes.

#include "base/AppFolders.h"
#include "base/Error.h"
#include "base/IniFile.h"
#include "base/RunMode.h"
#include "explorer/ExplorerSettings.h"
#include "explorer/FolderViewStore.h"
#include "explorer/ui/ExplorerActions.h"
#include "explorer/ui/ExplorerForm.h"
#include "explorer/ui/FolderTree.h"
#include "mail/Config.h"
#include "view/ui/TarvinFrame.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QSplitter>

namespace tarvin {

void TExplorerForm::LoadConfig() {
    if (RunMode() != rmViewer)
        return;
    const TIniFile ini(m_settingsFolder + QStringLiteral("CONFIG.INI"));
    const TExplorerSettings s = ReadExplorerSettings(ini);

    const QRect bounds = s.RestoredBounds(QRect(pos(), size()));
    move(bounds.topLeft());
    resize(bounds.size());

    m_paneHeight = s.PaneHeight != -1 ? s.PaneHeight : height() / 2;
    if (s.FoldersWidth != -1)
        m_splFolderFile->setSizes({s.FoldersWidth, std::max(0, width() - s.FoldersWidth - 3)});

    QHeaderView *columns = m_messages->header();
    columns->resizeSection(1, s.SubjectWidth);
    columns->resizeSection(2, s.DateWidth);
    m_messages->SetSort(s.SortBy, s.SortAscending);

    // Each check is applied as if chosen, so a hidden pane starts hidden.
    m_actions->actQuickViewToolbar->setChecked(s.QuickViewToolbar);
    m_quickViewer->SetToolbarVisible(s.QuickViewToolbar);
    m_actions->actAttachmentWindow->setChecked(s.AttachmentWindow);
    m_quickViewer->SetAttachmentsVisible(s.AttachmentWindow);
    m_actions->actSystemAttachments->setChecked(s.SystemAttachments);
    m_quickViewer->SetShowSystemAttachments(s.SystemAttachments);
    m_actions->actQuickViewer->setChecked(s.QuickViewVisible);
    setQuickViewerVisible(s.QuickViewVisible);

    // A minimised window is never restored.
    if (s.State == TExplorerSettings::StateMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    else if (s.State == TExplorerSettings::StateNormal)
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));

    m_convertDatesInfo.IsTimestampUtc = s.IsTimestampUtc;
    m_convertDatesInfo.PromptToConvert = s.PromptToConvert;
    m_convertDatesInfo.ConvertSubfolders = s.ConvertSubfolders;
    AppConfig().LoadFromIni(ini);
    m_quickViewer->SetLoadRemoteContent(AppConfig().LoadRemoteContent);
}

void TExplorerForm::SaveConfig() {
    if (RunMode() != rmViewer || !m_activated)
        return;
    const QString folder = QDir::cleanPath(m_settingsFolder);
    if (!ForceDirectories(folder))
        throw Error(
            QStringLiteral("TExplorerForm.SaveConfig: cannot create folder '%1'").arg(folder));

    const QString viewsFile = m_settingsFolder + QStringLiteral("Folders.DAT");
    TFolderViews views = LoadFolderViews(viewsFile);
    views.insert(QString::fromLatin1(kFoldersTreeView), m_folders->SaveView());
    SaveFolderViews(viewsFile, views);

    TIniFile ini(m_settingsFolder + QStringLiteral("CONFIG.INI"));
    TExplorerSettings s;
    s.State = isMaximized()   ? TExplorerSettings::StateMaximized
              : isMinimized() ? TExplorerSettings::StateMinimized
                              : TExplorerSettings::StateNormal;
    s.Left = pos().x();
    s.Top = pos().y();
    s.Width = width();
    s.Height = height();
    s.PaneHeight = m_paneHeight;
    s.FoldersWidth = m_splFolderFile->sizes().value(0, -1);
    s.SubjectWidth = m_messages->header()->sectionSize(1);
    s.DateWidth = m_messages->header()->sectionSize(2);
    s.SortBy = m_messages->SortColumn();
    s.SortAscending = m_messages->SortAscending();
    s.QuickViewVisible = m_actions->actQuickViewer->isChecked();
    s.QuickViewToolbar = m_actions->actQuickViewToolbar->isChecked();
    s.AttachmentWindow = m_actions->actAttachmentWindow->isChecked();
    s.SystemAttachments = m_actions->actSystemAttachments->isChecked();
    s.IsTimestampUtc = m_convertDatesInfo.IsTimestampUtc;
    s.PromptToConvert = m_convertDatesInfo.PromptToConvert;
    s.ConvertSubfolders = m_convertDatesInfo.ConvertSubfolders;
    WriteExplorerSettings(ini, s);
    AppConfig().SaveToIni(ini);
    ini.UpdateFile();
}

} // namespace tarvin
