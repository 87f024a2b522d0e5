#include "util/SafeFileName.h"

namespace tarvin {

namespace {

bool isUnsafe(QChar c) {
    switch (c.unicode()) {
    case 9:
    case 10:
    case 13:
    case '"':
    case '*':
    case '/':
    case ':':
    case '<':
    case '>':
    case '?':
    case '\\':
    case '|':
        return true;
    default:
        return false;
    }
}

constexpr int kMaxNameBytes = 255; // NAME_MAX of the usual Linux file systems

// Cuts `text` so that its UTF-8 form has at most `maxBytes` bytes, never splitting a
// surrogate pair.
QString truncateUtf8(const QString &text, int maxBytes) {
    QString result;
    int bytes = 0;
    for (int i = 0; i < text.size(); ++i) {
        int len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        int size = text.mid(i, len).toUtf8().size();
        if (bytes + size > maxBytes)
            break;
        result += text.mid(i, len);
        bytes += size;
        i += len - 1;
    }
    return result;
}

} // namespace

QString SafeFileName(const QString &name, const QString &exempt) {
    QString result = name;
    for (QChar &c : result) {
        if (isUnsafe(c) && !exempt.contains(c))
            c = QLatin1Char('_');
    }
    return result;
}

QString SafePathComponent(const QString &name) {
    QString result = SafeFileName(name);
    result.replace(QChar(0), QLatin1Char('_'));
    if (result.isEmpty() || result == QLatin1String(".") || result == QLatin1String(".."))
        return QStringLiteral("File");
    if (result.toUtf8().size() > kMaxNameBytes) {
        int dot = result.lastIndexOf(QLatin1Char('.'));
        QString ext = dot > 0 ? result.mid(dot) : QString();
        if (ext.toUtf8().size() > 32)
            ext.clear();
        result = truncateUtf8(result.left(dot > 0 && !ext.isEmpty() ? dot : result.size()),
                              kMaxNameBytes - ext.toUtf8().size()) +
                 ext;
    }
    return result;
}

QString SafeNameWithSuffix(const QString &stem, const QString &suffix) {
    QString tail = SafeFileName(suffix);
    tail.replace(QChar(0), QLatin1Char('_'));
    QString head = SafeFileName(stem);
    head.replace(QChar(0), QLatin1Char('_'));
    const int room = kMaxNameBytes - int(tail.toUtf8().size());
    if (room <= 0)
        return SafePathComponent(stem + suffix);
    const QString name = truncateUtf8(head, room) + tail;
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("File");
    return name;
}

} // namespace tarvin
