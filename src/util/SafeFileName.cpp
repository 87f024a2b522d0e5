#include "util/SafeFileName.h"

#include <QFile>

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

// The length of a name as the file system gets it: the bytes that name the file.
int nameBytes(QStringView text) {
    return int(QFile::encodeName(text.toString()).size());
}

// Cuts `text` (without unpaired surrogates) so that the name it gives on disk has at most
// `maxBytes` bytes, never splitting a surrogate pair.
QString truncateToNameBytes(const QString &text, int maxBytes) {
    int bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype len = text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const int size = nameBytes(QStringView(text).mid(end, len));
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        end += len;
    }
    return text.left(end);
}

// SafeFileName with NUL characters and unpaired surrogates replaced too: a lone surrogate has
// no form in the file system's encoding (it would become a replacement of another length).
QString safeCharacters(const QString &name) {
    QString result = SafeFileName(name);
    const qsizetype n = result.size();
    QChar *chars = result.data();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = chars[i];
        if (c.isHighSurrogate() && i + 1 < n && chars[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.unicode() == 0 || c.isSurrogate())
            chars[i] = QLatin1Char('_');
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
    QString result = safeCharacters(name);
    if (result.isEmpty() || result == QLatin1String(".") || result == QLatin1String(".."))
        return QStringLiteral("File");
    if (nameBytes(result) > kMaxNameBytes) {
        const qsizetype dot = result.lastIndexOf(QLatin1Char('.'));
        QString ext = dot > 0 ? result.mid(dot) : QString();
        if (nameBytes(ext) > 32)
            ext.clear();
        result = truncateToNameBytes(result.left(dot > 0 && !ext.isEmpty() ? dot : result.size()),
                                     kMaxNameBytes - nameBytes(ext)) +
                 ext;
    }
    return result;
}

QString SafeNameWithSuffix(const QString &stem, const QString &suffix) {
    const QString tail = safeCharacters(suffix);
    const QString head = safeCharacters(stem);
    const int room = kMaxNameBytes - nameBytes(tail);
    if (room <= 0)
        return SafePathComponent(stem + suffix);
    const QString name = truncateToNameBytes(head, room) + tail;
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("File");
    return name;
}

} // namespace tarvin
