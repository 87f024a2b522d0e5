#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tarvin {

// The marker file a converted folder holds; it records whether the message files' last-write
// times are UTC instants or local clock values.
inline constexpr char kMarkerFileName[] = "pmlver.000";

// The folder (with or without a trailing "/") joined with the marker's name.
QString MarkerFilePath(const QString &folder);

// The marker's exact bytes: six lines ended by CR LF, the first carrying the single byte 0x99.
QByteArray MarkerFileContent(bool isTimestampUtc);

// Writes the marker into the folder, replacing any earlier one as a whole. Raises
// "Cannot create file %s" with the marker's path when it cannot be written, or when an entry
// of that name is not a regular file (a link is never written through).
void WriteFolderMarker(const QString &folder, bool isTimestampUtc);

// True when the folder holds a regular file named "pmlver.000" (not a link).
bool FolderMarkerExists(const QString &folder);

// What a folder's marker says.
struct TFolderMarker {
    bool Exists = false;
    // The "IsTimestampUtc" key of section "[File Options]"; empty when the marker or the key
    // is missing (readers then assume their own default).
    std::optional<bool> IsTimestampUtc;
};
TFolderMarker ReadFolderMarker(const QString &folder);

} // namespace tarvin
