#include "explorer/ExplorerSettings.h"

#include "base/IniFile.h"
#include "base/Settings.h"

namespace tarvin {

QRect TExplorerSettings::RestoredBounds(const QRect &designed) const {
    QRect bounds = designed;
    const int left = Left != -1 ? Left : designed.left();
    const int top = Top != -1 ? Top : designed.top();
    bounds.moveTo(left, top);
    if (Width != -1)
        bounds.setWidth(Width);
    if (Height != -1)
        bounds.setHeight(Height);
    return bounds;
}

TExplorerSettings ReadExplorerSettings(const TIniFile &ini) {
    using namespace Setting;
    TExplorerSettings s;
    s.Left = ReadIntegerSetting(ini, MainWindowLeft);
    s.Top = ReadIntegerSetting(ini, MainWindowTop);
    s.Width = ReadIntegerSetting(ini, MainWindowWidth);
    s.Height = ReadIntegerSetting(ini, MainWindowHeight);
    s.State = ReadIntegerSetting(ini, MainWindowState);
    s.PaneHeight = ReadIntegerSetting(ini, FoldersMessagesPaneHeight, -1);
    s.FoldersWidth = ReadIntegerSetting(ini, FoldersPaneWidth);
    s.SubjectWidth = ReadIntegerSetting(ini, MessagesSubjectWidth);
    s.DateWidth = ReadIntegerSetting(ini, MessagesDateWidth);
    s.SortBy = ReadIntegerSetting(ini, MessagesSortBy);
    s.SortAscending = ReadBoolSetting(ini, MessagesSortAscending);
    s.QuickViewToolbar = ReadBoolSetting(ini, QuickViewerShowToolbar);
    s.AttachmentWindow = ReadBoolSetting(ini, QuickViewerShowAttachmentWindow);
    s.SystemAttachments = ReadBoolSetting(ini, QuickViewerShowSystemAttachments);
    s.QuickViewVisible = ReadBoolSetting(ini, QuickViewerVisible);
    s.IsTimestampUtc = ReadBoolSetting(ini, FileOptionsIsTimestampUtc);
    s.PromptToConvert = ReadBoolSetting(ini, ConvertDatesPromptToConvert);
    s.ConvertSubfolders = ReadBoolSetting(ini, ConvertDatesConvertSubfolders);
    return s;
}

void WriteExplorerSettings(TIniFile &ini, const TExplorerSettings &s) {
    using namespace Setting;
    WriteIntegerSetting(ini, MainWindowState, s.State);
    if (s.State != TExplorerSettings::StateMaximized) {
        WriteIntegerSetting(ini, MainWindowLeft, s.Left);
        WriteIntegerSetting(ini, MainWindowTop, s.Top);
        WriteIntegerSetting(ini, MainWindowWidth, s.Width);
        WriteIntegerSetting(ini, MainWindowHeight, s.Height);
    }
    WriteIntegerSetting(ini, FoldersMessagesPaneHeight, s.PaneHeight);
    WriteIntegerSetting(ini, FoldersPaneWidth, s.FoldersWidth);
    WriteIntegerSetting(ini, MessagesSubjectWidth, s.SubjectWidth);
    WriteIntegerSetting(ini, MessagesDateWidth, s.DateWidth);
    WriteIntegerSetting(ini, MessagesSortBy, s.SortBy);
    WriteBoolSetting(ini, MessagesSortAscending, s.SortAscending);
    WriteBoolSetting(ini, QuickViewerVisible, s.QuickViewVisible);
    WriteBoolSetting(ini, QuickViewerShowToolbar, s.QuickViewToolbar);
    WriteBoolSetting(ini, QuickViewerShowAttachmentWindow, s.AttachmentWindow);
    WriteBoolSetting(ini, QuickViewerShowSystemAttachments, s.SystemAttachments);
    WriteBoolSetting(ini, FileOptionsIsTimestampUtc, s.IsTimestampUtc);
    WriteBoolSetting(ini, ConvertDatesPromptToConvert, s.PromptToConvert);
    WriteBoolSetting(ini, ConvertDatesConvertSubfolders, s.ConvertSubfolders);
}

} // namespace tarvin
