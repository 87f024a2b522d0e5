#include "base/Settings.h"

#include "base/IniFile.h"

namespace tarvin {

namespace Setting {
using K = TSettingKind;
const TSettingKey MainWindowLeft{"Main Window", "Left", K::Integer, -1};
const TSettingKey MainWindowTop{"Main Window", "Top", K::Integer, -1};
const TSettingKey MainWindowWidth{"Main Window", "Width", K::Integer, -1};
const TSettingKey MainWindowHeight{"Main Window", "Height", K::Integer, -1};
const TSettingKey MainWindowState{"Main Window", "State", K::Integer, 1};
const TSettingKey FoldersMessagesPaneHeight{"Folders/Messages Pane", "Height", K::Integer, {}};
const TSettingKey FoldersPaneWidth{"Folders Pane", "Width", K::Integer, -1};
const TSettingKey MessagesSubjectWidth{"Messages Pane", "Subject Width", K::Integer, 360};
const TSettingKey MessagesDateWidth{"Messages Pane", "Date Width", K::Integer, 152};
const TSettingKey MessagesSortBy{"Messages Pane", "Sort By", K::Integer, 2};
const TSettingKey MessagesSortAscending{"Messages Pane", "Sort Ascending", K::Boolean, true};
const TSettingKey QuickViewerShowToolbar{"QuickViewer", "ShowToolbar", K::Boolean, true};
const TSettingKey QuickViewerShowAttachmentWindow{"QuickViewer", "ShowAttachmentWindow", K::Boolean,
                                                  true};
const TSettingKey QuickViewerShowSystemAttachments{"QuickViewer", "ShowSystemAttachments",
                                                   K::Boolean, true};
const TSettingKey QuickViewerVisible{"QuickViewer", "Visible", K::Boolean, true};
const TSettingKey FileOptionsIsTimestampUtc{"File Options", "IsTimestampUtc", K::Boolean, false};
const TSettingKey ConvertDatesPromptToConvert{"Convert Dates", "PromptToConvert", K::Boolean, true};
const TSettingKey ConvertDatesConvertSubfolders{"Convert Dates", "ConvertSubfolders", K::Boolean,
                                                true};
const TSettingKey SendMailSubjectForward{"Send Mail", "SubjectForward", K::Text,
                                         QStringLiteral("Fwd:")};
const TSettingKey SendMailSubjectReply{"Send Mail", "SubjectReply", K::Text, QStringLiteral("Re:")};
const TSettingKey SendMailViewerTrailer{
    "Send Mail", "ViewerTrailer", K::Text,
    QStringLiteral("Download a viewer for the attached PML file from "
                   "https://www.halvorn.example/tarvin/download")};
const TSettingKey SendMailIncludeViewerTrailer{"Send Mail", "IncludeViewerTrailer", K::Boolean,
                                               true};
// Off: an opened message reaches no web server unless the user asks for it.
const TSettingKey ViewerLoadRemoteContent{"Viewer", "LoadRemoteContent", K::Boolean, false};
} // namespace Setting

const QList<const TSettingKey *> &AllSettingKeys() {
    using namespace Setting;
    static const QList<const TSettingKey *> keys = {
        &MainWindowLeft,
        &MainWindowTop,
        &MainWindowWidth,
        &MainWindowHeight,
        &MainWindowState,
        &FoldersMessagesPaneHeight,
        &FoldersPaneWidth,
        &MessagesSubjectWidth,
        &MessagesDateWidth,
        &MessagesSortBy,
        &MessagesSortAscending,
        &QuickViewerShowToolbar,
        &QuickViewerShowAttachmentWindow,
        &QuickViewerShowSystemAttachments,
        &QuickViewerVisible,
        &FileOptionsIsTimestampUtc,
        &ConvertDatesPromptToConvert,
        &ConvertDatesConvertSubfolders,
        &SendMailSubjectForward,
        &SendMailSubjectReply,
        &SendMailViewerTrailer,
        &SendMailIncludeViewerTrailer,
        &ViewerLoadRemoteContent,
    };
    return keys;
}

namespace {
QString sec(const TSettingKey &key) {
    return QString::fromLatin1(key.Section);
}
QString nm(const TSettingKey &key) {
    return QString::fromLatin1(key.Key);
}
} // namespace

int ReadIntegerSetting(const TIniFile &ini, const TSettingKey &key, int fallback) {
    return ini.ReadInteger(sec(key), nm(key),
                           key.Default.isValid() ? key.Default.toInt() : fallback);
}

bool ReadBoolSetting(const TIniFile &ini, const TSettingKey &key) {
    return ini.ReadBool(sec(key), nm(key), key.Default.toBool());
}

QString ReadTextSetting(const TIniFile &ini, const TSettingKey &key) {
    return ini.ReadString(sec(key), nm(key), key.Default.toString());
}

void WriteIntegerSetting(TIniFile &ini, const TSettingKey &key, int value) {
    ini.WriteInteger(sec(key), nm(key), value);
}

void WriteBoolSetting(TIniFile &ini, const TSettingKey &key, bool value) {
    ini.WriteBool(sec(key), nm(key), value);
}

void WriteTextSetting(TIniFile &ini, const TSettingKey &key, const QString &value) {
    ini.WriteString(sec(key), nm(key), value);
}

} // namespace tarvin
