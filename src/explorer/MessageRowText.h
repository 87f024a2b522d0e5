#pragma once

#include "explorer/MessageFolderReader.h"
#include "util/DateTime.h"

#include <QLocale>
#include <QString>
#include <cstdint>

namespace tarvin {

// Values of a message-list row worked out from its file name and times whenever the list
// needs them (painting, the benchmark); nothing here is cached per row.

// Positions in the item icon list.
inline constexpr int kIconMail = 8;
inline constexpr int kIconAppointment = 14;
inline constexpr int kIconTask = 20;
inline constexpr int kIconNote = 26;
inline constexpr int kIconPhone = 32;
inline constexpr int kIconDocumentReference = 72;
inline constexpr int kIconNoKind = 9;
inline constexpr int kIconNoFlags = 80; // closed grey envelope: the name carries no flag value

// Positions in the status glyph list; kGlyphNone draws nothing.
inline constexpr int kGlyphNone = -1;
inline constexpr int kGlyphBoxType2 = 0;     // red arrow leaving a bar
inline constexpr int kGlyphBoxTypeOther = 1; // pen nib
inline constexpr int kGlyphBoxType4 = 2;     // pencil
inline constexpr int kGlyphReplied = 3;
inline constexpr int kGlyphForwarded = 4;
inline constexpr int kGlyphRepliedForwarded = 6;
inline constexpr int kGlyphAttachment = 10;

// Subject and flag word of a row, from its file name.
struct TMessageNameInfo {
    QString Subject;
    uint16_t Flags = 0;        // normalised flag word; 0 when the name carries no flag value
    bool HasFlagValue = false; // the name's flag value was not 0
};
TMessageNameInfo ParseRowName(const QByteArray &nativeName);

// The item icon of a flag word (a non-zero flag value; a name without one uses kIconNoFlags).
int MessageIconIndex(uint16_t flags);
// The item icon of a row's name information.
int RowIconIndex(const TMessageNameInfo &info);

// The status glyphs drawn after the item icon, left to right; kGlyphNone where none is drawn.
struct TStatusGlyphs {
    int ReplyForward = kGlyphNone;
    int BoxType = kGlyphNone;
    int Attachment = kGlyphNone;
};
TStatusGlyphs StatusGlyphs(uint16_t flags);

// Unread rows are drawn in bold.
inline bool IsBoldRow(uint16_t flags) {
    return (flags & 0x2000) == 0;
}

// How the listed folder's file times are read for the Date column.
enum class TFolderDateMode {
    NotConverted,   // creation times, UTC shown as local time
    ConvertedUtc,   // last-write times, UTC shown as local time
    ConvertedLocal, // last-write times holding the local clock value unchanged
};
// The mode of a folder from its marker: none means not converted; a marker without the key
// uses `defaultIsUtc` (the "IsTimestampUtc" preference).
TFolderDateMode FolderDateMode(const QString &folder, bool defaultIsUtc);

// The local date-time a file time stands for in the given mode (creation time when not
// converted, else the last-write time); false when the time is zero or cannot be converted.
bool RowDisplayDateTime(const TMessageRow &row, TFolderDateMode mode, TDateTime &value);

// Date texts in the desktop locale's short date and long time formats (time left out at exactly
// midnight). Keeps the locale and formats, so one formatter serves many rows.
class TDateTextFormatter {
public:
    TDateTextFormatter();
    QString Text(TDateTime value) const;
    // The Date column's text of a row; empty when the time is zero or cannot be converted.
    QString RowText(const TMessageRow &row, TFolderDateMode mode) const;

private:
    QLocale m_locale;
    QString m_dateFormat;
    QString m_timeFormat;
};

// The status bar's count: "1 message", otherwise "<n> messages" (0 too).
QString MessageCountText(qsizetype count);

} // namespace tarvin
