#pragma once

#include <QString>
#include <QVariant>

namespace tarvin {

class TIniFile;

// Every entry of "CONFIG.INI": section, key, kind and default.
enum class TSettingKind { Integer, Boolean, Text };

struct TSettingKey {
    const char *Section;
    const char *Key;
    TSettingKind Kind;
    QVariant Default; // invalid where the default depends on the window (pane height)
};

// The entries, named for their users.
namespace Setting {
extern const TSettingKey MainWindowLeft;
extern const TSettingKey MainWindowTop;
extern const TSettingKey MainWindowWidth;
extern const TSettingKey MainWindowHeight;
extern const TSettingKey MainWindowState;
extern const TSettingKey FoldersMessagesPaneHeight; // default: half the client height
extern const TSettingKey FoldersPaneWidth;
extern const TSettingKey MessagesSubjectWidth;
extern const TSettingKey MessagesDateWidth;
extern const TSettingKey MessagesSortBy;
extern const TSettingKey MessagesSortAscending;
extern const TSettingKey QuickViewerShowToolbar;
extern const TSettingKey QuickViewerShowAttachmentWindow;
extern const TSettingKey QuickViewerShowSystemAttachments;
extern const TSettingKey QuickViewerVisible;
extern const TSettingKey FileOptionsIsTimestampUtc;
extern const TSettingKey ConvertDatesPromptToConvert;
extern const TSettingKey ConvertDatesConvertSubfolders;
extern const TSettingKey SendMailSubjectForward;
extern const TSettingKey SendMailSubjectReply;
extern const TSettingKey SendMailViewerTrailer;
extern const TSettingKey SendMailIncludeViewerTrailer;
extern const TSettingKey ViewerLoadRemoteContent;
} // namespace Setting

// All entries in file order.
const QList<const TSettingKey *> &AllSettingKeys();

// Reads an entry with its own default (or `fallback` for an entry whose default is the
// caller's), and writes one.
int ReadIntegerSetting(const TIniFile &ini, const TSettingKey &key, int fallback = 0);
bool ReadBoolSetting(const TIniFile &ini, const TSettingKey &key);
QString ReadTextSetting(const TIniFile &ini, const TSettingKey &key);
void WriteIntegerSetting(TIniFile &ini, const TSettingKey &key, int value);
void WriteBoolSetting(TIniFile &ini, const TSettingKey &key, bool value);
void WriteTextSetting(TIniFile &ini, const TSettingKey &key, const QString &value);

} // namespace tarvin
