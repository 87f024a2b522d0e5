#include "search/SearchCriteria.h"

#include "util/SafeFileName.h"

#include <QFile>

namespace tarvin {

QStringList SplitSearchList(const QString &text) {
    QStringList result;
    for (const QString &part : text.split(QLatin1Char(';'))) {
        const QString entry = part.trimmed();
        if (!entry.isEmpty() && !result.contains(entry))
            result.append(entry);
    }
    return result;
}

QString SubjectToNamePattern(const QString &subject) {
    static const QString kExtension = QStringLiteral(".pml");
    QString text = SafeFileName(subject, QStringLiteral("*?"));
    if (text.endsWith(kExtension, Qt::CaseInsensitive))
        text.chop(kExtension.size());
    if (text.isEmpty())
        return QStringLiteral("*") + kExtension;
    return QStringLiteral("*") + text + QStringLiteral("*") + kExtension;
}

namespace {

// The wildcard walk shared by the character and byte forms: the last "*" seen is where a
// mismatch resumes, one character further into the name each time.
template <typename Char, typename Equal>
bool wildcardMatch(const Char *pattern, size_t patternLength, const Char *name, size_t nameLength,
                   Equal equal) {
    size_t p = 0, n = 0;
    size_t starP = size_t(-1), starN = 0;
    while (n < nameLength) {
        if (p < patternLength && pattern[p] == Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < patternLength && (pattern[p] == Char('?') || equal(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starP != size_t(-1)) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < patternLength && pattern[p] == Char('*'))
        ++p;
    return p == patternLength;
}

inline char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

} // namespace

TWildcardPattern::TWildcardPattern(const QString &pattern) : m_folded(pattern.toCaseFolded()) {
    m_isAscii = true;
    for (QChar c : pattern)
        if (c.unicode() >= 0x80) {
            m_isAscii = false;
            break;
        }
    if (m_isAscii)
        m_ascii = m_folded.toLatin1();
}

bool TWildcardPattern::Matches(const QString &name) const {
    const QString folded = name.toCaseFolded();
    return wildcardMatch(m_folded.constData(), size_t(m_folded.size()), folded.constData(),
                         size_t(folded.size()), [](QChar a, QChar b) { return a == b; });
}

bool TWildcardPattern::Matches(const char *name, size_t length) const {
    if (m_isAscii) {
        bool asciiName = true;
        for (size_t i = 0; i < length; ++i)
            if (static_cast<unsigned char>(name[i]) >= 0x80) {
                asciiName = false;
                break;
            }
        if (asciiName)
            return wildcardMatch(m_ascii.constData(), size_t(m_ascii.size()), name, length,
                                 [](char a, char b) { return a == asciiLower(b); });
    }
    return Matches(QFile::decodeName(QByteArray::fromRawData(name, qsizetype(length))));
}

QString SearchStatusText(int folders, int files, double seconds, bool aborted) {
    QString text = QString::asprintf("%d folder(s) searched and %d file(s) found - %.3f second(s)",
                                     folders, files, seconds);
    if (aborted)
        text.prepend(QStringLiteral("Search aborted - "));
    return text;
}

} // namespace tarvin
