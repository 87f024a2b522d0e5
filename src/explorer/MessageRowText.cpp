#include "explorer/MessageRowText.h"

#include "convert/FolderMarker.h"
#include "model/MessageFileName.h"

#include <QFile>
#include <ctime>

namespace tarvin {

TMessageNameInfo ParseRowName(const QByteArray &nativeName) {
    TMessageNameInfo info;
    uint32_t value = 0;
    ParseMessageFileName(QFile::decodeName(nativeName), info.Subject, value);
    info.HasFlagValue = value != 0;
    info.Flags = info.HasFlagValue ? NormalizeMessageFlags(value) : 0;
    return info;
}

int MessageIconIndex(uint16_t flags) {
    int index = kIconNoKind;
    if (flags & mfMail)
        index = kIconMail;
    else if (flags & mfAppointment)
        index = kIconAppointment;
    else if (flags & mfTask)
        index = kIconTask;
    else if (flags & mfNote)
        index = kIconNote;
    else if (flags & mfPhone)
        index = kIconPhone;
    else if (flags & mfDocumentReference)
        return kIconDocumentReference;
    if (!(flags & mfPriority1)) {
        if (flags & mfPriority2)
            index += 1;
        else if (flags & mfPriority3)
            index += 2;
    }
    if (flags & mfRead)
        index += 3;
    return index;
}

int RowIconIndex(const TMessageNameInfo &info) {
    return info.HasFlagValue ? MessageIconIndex(info.Flags) : kIconNoFlags;
}

TStatusGlyphs StatusGlyphs(uint16_t flags) {
    TStatusGlyphs glyphs;
    const bool replied = flags & mfReplied;
    const bool forwarded = flags & mfForwarded;
    if (replied && forwarded)
        glyphs.ReplyForward = kGlyphRepliedForwarded;
    else if (replied)
        glyphs.ReplyForward = kGlyphReplied;
    else if (forwarded)
        glyphs.ReplyForward = kGlyphForwarded;
    if (!(flags & (mfBoxType1 | mfDocumentReference))) {
        if (flags & mfBoxType2)
            glyphs.BoxType = kGlyphBoxType2;
        else if (flags & mfBoxType4)
            glyphs.BoxType = kGlyphBoxType4;
        else
            glyphs.BoxType = kGlyphBoxTypeOther;
    }
    if (flags & mfHasAttachments)
        glyphs.Attachment = kGlyphAttachment;
    return glyphs;
}

TFolderDateMode FolderDateMode(const QString &folder, bool defaultIsUtc) {
    const TFolderMarker marker = ReadFolderMarker(folder);
    if (!marker.Exists)
        return TFolderDateMode::NotConverted;
    return marker.IsTimestampUtc.value_or(defaultIsUtc) ? TFolderDateMode::ConvertedUtc
                                                        : TFolderDateMode::ConvertedLocal;
}

bool RowDisplayDateTime(const TMessageRow &row, TFolderDateMode mode, TDateTime &value) {
    const qint64 nanoseconds =
        mode == TFolderDateMode::NotConverted ? row.CreationTime : row.LastWriteTime;
    // Whole milliseconds, rounded down also before 1970.
    qint64 msecs = nanoseconds / 1000000;
    if (nanoseconds % 1000000 < 0)
        --msecs;
    if (mode == TFolderDateMode::ConvertedLocal) {
        // The stored value is the local clock reading itself.
        value = UnixMSecsToDateTime(msecs);
        return true;
    }
    if (nanoseconds == 0)
        return false;
    qint64 seconds = msecs / 1000;
    qint64 msecOfSecond = msecs % 1000;
    if (msecOfSecond < 0) {
        msecOfSecond += 1000;
        --seconds;
    }
    const time_t time = time_t(seconds);
    struct tm local;
    if (!localtime_r(&time, &local))
        return false;
    return TryEncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                             local.tm_min, local.tm_sec, int(msecOfSecond), value);
}

TDateTextFormatter::TDateTextFormatter()
    : m_locale(QLocale::system()), m_dateFormat(ShortDateFormat()), m_timeFormat(LongTimeFormat()) {
}

QString TDateTextFormatter::Text(TDateTime value) const {
    const DateTimeParts p = DecodeDateTime(value);
    const QString date = m_locale.toString(QDate(p.year, p.month, p.day), m_dateFormat);
    if (p.hour == 0 && p.minute == 0 && p.second == 0 && p.msec == 0)
        return date;
    return date + QLatin1Char(' ') +
           m_locale.toString(QTime(p.hour, p.minute, p.second, p.msec), m_timeFormat);
}

QString TDateTextFormatter::RowText(const TMessageRow &row, TFolderDateMode mode) const {
    TDateTime value = 0;
    return RowDisplayDateTime(row, mode, value) ? Text(value) : QString();
}

QString MessageCountText(qsizetype count) {
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" message") : QStringLiteral(" messages"));
}

} // namespace tarvin
