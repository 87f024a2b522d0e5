#include "view/ViewTexts.h"

namespace tarvin {

QString NotPostedTypeName(int messageType) {
    switch (messageType) {
    case 0:
        return QStringLiteral("Mail");
    case 1:
        return QStringLiteral("Appointment");
    case 2:
        return QStringLiteral("Task");
    case 3:
        return QStringLiteral("Reminder Note");
    case 4:
        return QStringLiteral("Phone");
    case 5:
        return QStringLiteral("Document Reference");
    default:
        return QString();
    }
}

QString MessageTypeName(int messageType, int boxtype) {
    if (boxtype != 3)
        return NotPostedTypeName(messageType);
    switch (messageType) {
    case 0:
        return QStringLiteral("Posted Message");
    case 4:
        return QStringLiteral("Posted Phone Message");
    case 1:
    case 2:
    case 3:
        return QStringLiteral("Posted ") + NotPostedTypeName(messageType);
    default:
        return NotPostedTypeName(messageType);
    }
}

namespace {

// Where the pen stands after `line` when tabs advance to the next stop strictly to the right,
// as the text view lays them out.
int PenPosition(const QString &line, const TTextMeasure &measure, int tabWidth) {
    int x = 0;
    qsizetype from = 0;
    for (qsizetype tab = line.indexOf(QLatin1Char('\t')); tab >= 0;
         tab = line.indexOf(QLatin1Char('\t'), from)) {
        x += measure(line.mid(from, tab - from));
        x = (x / tabWidth + 1) * tabWidth;
        from = tab + 1;
    }
    return x + measure(line.mid(from));
}

} // namespace

QString TweakFormat(const QString &text, const TTextMeasure &measure, int tabWidth) {
    constexpr int kValueStop = 5; // values start at the fifth tab stop
    QString result;
    result.reserve(text.size() + text.size() / 4);
    qsizetype done = 0; // everything before this index has been emitted
    qsizetype pos = text.indexOf(QLatin1Char('\t'));
    while (pos >= 0) {
        bool atLineStart = pos > 0 && text.at(pos - 1) == QLatin1Char('\n');
        bool tabFollows = pos + 1 < text.size() && text.at(pos + 1) == QLatin1Char('\t');
        if (atLineStart && !tabFollows) {
            result += QStringView(text).mid(done, pos - done);
            result += QLatin1String("    ");
            done = pos + 1;
        } else {
            result += QStringView(text).mid(done, pos - done);
            // The label as it is shown: an indent is already spaces, earlier tabs are stops.
            const qsizetype lineStart = result.lastIndexOf(QLatin1Char('\n')) + 1;
            QString label = result.mid(lineStart);
            label.remove(QLatin1Char('\r'));
            // The stop the first tab reaches, then one more for each tab directly after it.
            int stop = PenPosition(label, measure, tabWidth) / tabWidth + 1;
            qsizetype last = pos;
            while (last + 1 < text.size() && text.at(last + 1) == QLatin1Char('\t')) {
                ++last;
                ++stop;
            }
            result += QStringView(text).mid(pos, last + 1 - pos);
            for (; stop < kValueStop; ++stop)
                result += QLatin1Char('\t');
            done = last + 1;
        }
        pos = text.indexOf(QLatin1Char('\t'), done);
    }
    result += QStringView(text).mid(done);
    return result;
}

QString PropertiesText(const QString &bodyProperties, const QString &fileName) {
    QString text = bodyProperties;
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    text.truncate(end);
    if (text.isEmpty() || text == QLatin1String("none")) {
        text = QStringLiteral("No properties are available for this message.");
    } else {
        text.replace(QLatin1String(" \t"), QLatin1String("\t\t"));
        text.replace(QLatin1String("\t "), QLatin1String("\t\t"));
    }
    if (!fileName.isEmpty())
        text += QStringLiteral("\n\nMessage Properties\n File Name:\t") + fileName;
    return text;
}

QString SaveLogText(TDateTime dateSaved, int status, const QStringList &items,
                    bool hasEmbeddedMessage) {
    QString text = QStringLiteral("Date:\t") + FormatShortDate(dateSaved) + QLatin1Char(' ') +
                   FormatLongTime(dateSaved) + QLatin1Char('\n');
    text += QStringLiteral("Status:\t");
    if (status == 0) {
        text += QStringLiteral("Normal");
    } else if (status == -1) {
        text += QStringLiteral("One or more errors occurred");
        if (items.isEmpty() && hasEmbeddedMessage)
            text += QStringLiteral(" while saving a message attachment");
    } else {
        // No wording exists for other codes; show the code itself rather than nothing.
        text += QString::number(status);
    }
    for (const QString &item : items)
        text += QLatin1Char('\n') + item;
    return text;
}

QString ViewerTitle(const QString &typeName, const QString &from, const QString &fallback) {
    if (typeName.isEmpty() || from.isEmpty())
        return fallback;
    return typeName + QStringLiteral(" From: ") + from;
}

QString StatusHint(bool attachedMessage, const QString &subject) {
    return attachedMessage ? QStringLiteral("Attached message - ") + subject : subject;
}

QString ShortenText(const QString &text, int maxWidth, const TTextMeasure &measure) {
    if (measure(text) <= maxWidth)
        return text;
    const QString dots = QStringLiteral("...");
    // Keep `keep` characters, the larger half at the start; find the largest that fits.
    auto shortened = [&](qsizetype keep) {
        qsizetype head = (keep + 1) / 2;
        qsizetype tail = keep - head;
        return text.left(head) + dots + text.right(tail);
    };
    qsizetype low = 0, high = text.size() - 1;
    while (low < high) {
        qsizetype mid = (low + high + 1) / 2;
        if (measure(shortened(mid)) <= maxWidth)
            low = mid;
        else
            high = mid - 1;
    }
    return shortened(low);
}

QStringList WrapCaption(const QString &text, int maxWidth, const TTextMeasure &measure) {
    if (measure(text) <= maxWidth)
        return {text};
    // The longest start that fits (at least one character), then the last break in it.
    qsizetype fit = 1;
    while (fit < text.size() && measure(text.left(fit + 1)) <= maxWidth)
        ++fit;
    qsizetype cut = fit;
    if (fit < text.size() && text.at(fit) == QLatin1Char(' ')) {
        cut = fit;
    } else {
        for (qsizetype i = fit; i > 1; --i) {
            const QChar c = text.at(i - 1);
            if (c == QLatin1Char(' ') || c == QLatin1Char('-') || c == QLatin1Char('_') ||
                c == QLatin1Char('.') || c == QLatin1Char('/')) {
                cut = i;
                break;
            }
        }
    }
    QString first = text.left(cut);
    QString rest = text.mid(cut);
    while (first.size() > 1 && first.endsWith(QLatin1Char(' ')))
        first.chop(1);
    while (rest.startsWith(QLatin1Char(' ')))
        rest.remove(0, 1);
    if (rest.isEmpty())
        return {first};
    return {first, ShortenText(rest, maxWidth, measure)};
}

} // namespace tarvin
