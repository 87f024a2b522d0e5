#include "view/HeaderText.h"

#include "model/GWMessage.h"

#include <QLocale>
#include <cmath>
#include <cstdlib>

namespace tarvin {

namespace {

bool IsBlankOrControl(QChar c) {
    return c.isSpace() || c.category() == QChar::Other_Control;
}

// Whole seconds since 1970-01-01, rounded to the nearest second, halves to even.
qint64 UnixSeconds(TDateTime value) {
    return static_cast<qint64>(std::nearbyint((value - kUnixEpochDays) * 86400.0));
}

QString CountText(qint64 count, const char *singular, const char *plural) {
    return QString::number(count) + QLatin1Char(' ') +
           QLatin1String(count == 1 ? singular : plural);
}

} // namespace

QString NormalizeLineBreaks(const QString &text) {
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    result.replace(QChar(0x2028), QLatin1Char('\n'));
    return result;
}

QString TrimBlanksAndControls(const QString &text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && IsBlankOrControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString RecipientEntryText(const QString &displayName, const QString &address) {
    QString entry = TrimBlanksAndControls(displayName);
    if (entry.isEmpty())
        entry = TrimBlanksAndControls(address);
    if (entry.isEmpty())
        entry = QStringLiteral("Not available");
    return entry;
}

QStringList RecipientEntries(const TGWMessage &message, int recipientType) {
    QStringList entries;
    for (const auto &recipient : message.CoreProperties.Recipients)
        if (recipient && recipient->TargetType == recipientType)
            entries << RecipientEntryText(recipient->DisplayName, recipient->Address);
    return entries;
}

QString HeaderDateText(TDateTime value) {
    return value == 0 ? QString() : FormatDisplayDateTime(value);
}

QString HeaderShortDateText(TDateTime value) {
    return value == 0 ? QString() : FormatShortDate(value);
}

QString DurationText(TDateTime start, TDateTime end) {
    const qint64 seconds = std::llabs(UnixSeconds(end) - UnixSeconds(start));
    const qint64 days = seconds / 86400;
    const qint64 hours = (seconds / 3600) % 24;
    const qint64 minutes = (seconds / 60) % 60;
    if (days < 1 && hours == 0 && minutes == 0)
        return QString();

    QString text = QStringLiteral(" (");
    bool written = false;
    if (days >= 1) {
        text += CountText(days, "Day", "Days");
        written = true;
    }
    if (hours > 0) {
        if (written)
            text += QLatin1Char(' ');
        text += CountText(hours, "Hour", "Hours");
        written = true;
    }
    if (minutes > 0) {
        if (written)
            text += QLatin1Char(' ');
        text += CountText(minutes, "Minute", "Minutes");
    }
    text += QLatin1Char(')');
    return text;
}

QString WhenText(TDateTime start, TDateTime end) {
    const QDate date = DateTimeToQDateTime(start).date();
    return QLocale::system().toString(date, QLocale::LongFormat) + QStringLiteral(" at ") +
           FormatLongTime(start) + DurationText(start, end);
}

QString PhoneAttributesText(const TPhoneAttributes &a) {
    QStringList phrases;
    if (a.Telephoned)
        phrases << QStringLiteral("Telephoned");
    if (a.PleaseCall)
        phrases << QStringLiteral("Please call");
    if (a.WillCall)
        phrases << QStringLiteral("Will call again");
    if (a.ReturnedCall)
        phrases << QStringLiteral("Returned your call");
    if (a.WantsSee)
        phrases << QStringLiteral("Wants to see you");
    if (a.CameToSee)
        phrases << QStringLiteral("Came to see you");
    if (a.Urgent)
        phrases << QStringLiteral("Urgent");
    return phrases.join(QStringLiteral(", "));
}

} // namespace tarvin
