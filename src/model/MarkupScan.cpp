#include "model/MarkupScan.h"

#include "model/AbstractMessageItem.h"

#include <QRegularExpression>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>

namespace tarvin {

namespace {

std::mutex g_limitsMutex;
std::optional<TMarkupLimits> g_limits; // set by tests

// Encodings in which every byte below 0x80 stands for its ASCII character and the markup
// characters never occur inside a multi-byte character, so the bytes can be followed as they
// are. Any other declared encoding (UTF-7, ISO-2022, EBCDIC pages, UCS-4...) is refused.
bool isAsciiCompatible(const QByteArray &name) {
    static const QRegularExpression allowed(
        QStringLiteral(
            "^(UTF-?8|US-ASCII|ASCII|ISO[-_]?8859[-_]\\d+|ISO[-_]LATIN[-_]?\\d|LATIN-?\\d|"
            "L\\d|(WINDOWS|CP)-?125\\d|KOI8-[A-Z]+|EUC-[A-Z]+|SHIFT[-_]JIS|SJIS|CP932|"
            "WINDOWS-31J|GB2312|GBK|GB18030|BIG5(-HKSCS)?|UTF-?16)$"),
        QRegularExpression::CaseInsensitiveOption);
    return allowed.match(QString::fromLatin1(name)).hasMatch();
}

} // namespace

TMarkupLimits MarkupLimits() {
    std::lock_guard<std::mutex> lock(g_limitsMutex);
    if (g_limits)
        return *g_limits;
    TMarkupLimits limits;
    // A base64 value whose decoded size passes the message's inflation budget.
    limits.MaxText = InflateMemoryLimit() / 3 * 4;
    return limits;
}

void SetMarkupLimits(const TMarkupLimits &limits) {
    std::lock_guard<std::mutex> lock(g_limitsMutex);
    g_limits = limits;
}

void ResetMarkupLimits() {
    std::lock_guard<std::mutex> lock(g_limitsMutex);
    g_limits.reset();
}

// The place reported is the character that passed the limit: the one consumed last.
bool TMarkupScan::refuse(QString reason) {
    if (m_reason.isEmpty()) {
        m_reason = std::move(reason);
        m_column = std::max(1, m_column - 1);
    }
    return false;
}

void TMarkupScan::detectEncoding(const char *data, qint64 size) {
    m_width = 1;
    const auto *b = reinterpret_cast<const unsigned char *>(data);
    auto starts = [&](std::initializer_list<int> bytes) {
        if (size < qint64(bytes.size()))
            return false;
        int i = 0;
        for (int v : bytes) {
            if (b[i++] != v)
                return false;
        }
        return true;
    };
    if (starts({0x00, 0x00, 0xFE, 0xFF}) || starts({0xFF, 0xFE, 0x00, 0x00}) ||
        starts({0x00, 0x00, 0x00, 0x3C}) || starts({0x3C, 0x00, 0x00, 0x00}) ||
        starts({0x00, 0x00, 0x3C, 0x00}) || starts({0x00, 0x3C, 0x00, 0x00})) {
        refuse(QStringLiteral("Unsupported document encoding (UCS-4)"));
    } else if (starts({0x4C, 0x6F, 0xA7, 0x94})) {
        refuse(QStringLiteral("Unsupported document encoding (EBCDIC)"));
    } else if (starts({0xFE, 0xFF}) || starts({0x00, 0x3C, 0x00, 0x3F})) {
        m_width = 2;
        m_bigEndian = true;
    } else if (starts({0xFF, 0xFE}) || starts({0x3C, 0x00, 0x3F, 0x00})) {
        m_width = 2;
        m_bigEndian = false;
    }
}

bool TMarkupScan::Feed(const char *data, qint64 size) {
    if (Refused())
        return false;
    if (size <= 0)
        return true;
    if (m_width == 0) {
        // The encoding is told by the first four bytes, however the input is cut.
        m_carry.append(data, qsizetype(size));
        if (m_carry.size() < 4)
            return true;
        const QByteArray start = m_carry;
        m_carry.clear();
        detectEncoding(start.constData(), start.size());
        if (Refused())
            return false;
        // A byte order mark is no character of the document.
        qint64 skip = 0;
        if (m_width == 2 && (start.startsWith("\xFE\xFF") || start.startsWith("\xFF\xFE")))
            skip = 2;
        else if (m_width == 1 && start.startsWith("\xEF\xBB\xBF"))
            skip = 3;
        return Feed(start.constData() + skip, start.size() - skip);
    }
    if (m_width == 1)
        return scan(data, size);
    // UTF-16: each unit becomes one byte, ASCII as itself and everything else 0x80, so that
    // the one byte machine follows it.
    m_narrow.resize(0);
    m_narrow.reserve((m_carry.size() + size) / 2);
    qint64 i = 0;
    auto unitAt = [&](unsigned char first, unsigned char second) -> char {
        const unsigned unit = m_bigEndian ? (first << 8 | second) : (second << 8 | first);
        return unit < 0x80 ? char(unit) : char(0x80);
    };
    if (!m_carry.isEmpty()) {
        m_narrow.append(unitAt(uchar(m_carry[0]), uchar(data[0])));
        m_carry.clear();
        i = 1;
    }
    for (; i + 1 < size; i += 2)
        m_narrow.append(unitAt(uchar(data[i]), uchar(data[i + 1])));
    if (i < size)
        m_carry.append(data[i]);
    return scan(m_narrow.constData(), m_narrow.size());
}

// Keeps line and column up to date over bytes that were skipped in one piece.
void TMarkupScan::advance(const char *from, const char *to) {
    const qint64 lines = std::count(from, to, '\n');
    if (lines == 0) {
        m_column += int(to - from);
        return;
    }
    m_line += int(lines);
    const char *last = to;
    while (last > from && last[-1] != '\n')
        --last;
    m_column = int(to - last) + 1;
}

bool TMarkupScan::checkDeclaredEncoding() {
    if (m_encodingGiven)
        return true;
    static const QRegularExpression encoding(
        QStringLiteral("^xml\\s.*\\bencoding\\s*=\\s*([\"'])([^\"']*)\\1"),
        QRegularExpression::DotMatchesEverythingOption);
    const auto match = encoding.match(QString::fromLatin1(m_piText));
    if (!match.hasMatch())
        return true;
    const QByteArray name = match.captured(2).toLatin1().trimmed();
    // UTF-16 input follows only its own encoding; a declaration may not switch it mid-way.
    const bool fits = m_width == 2
                          ? QRegularExpression(
                                QStringLiteral("^UTF-?16(%1)?$")
                                    .arg(m_bigEndian ? QStringLiteral("BE") : QStringLiteral("LE")),
                                QRegularExpression::CaseInsensitiveOption)
                                .match(QString::fromLatin1(name))
                                .hasMatch()
                          : isAsciiCompatible(name);
    if (fits)
        return true;
    return refuse(QStringLiteral("Unsupported document encoding '%1'")
                      .arg(QString::fromLatin1(name.left(64))));
}

bool TMarkupScan::scan(const char *data, qint64 size) {
    const char *p = data;
    const char *const end = data + size;
    // Skips to the next `wanted` character, but never more than `room` bytes, so that a
    // value passing its limit is refused at the same place however the input is cut.
    auto skipTo = [&](char wanted, qint64 room) {
        const char *limit = end - p > room ? p + room : end;
        const char *found = static_cast<const char *>(std::memchr(p, wanted, size_t(limit - p)));
        const char *stop = found ? found : limit;
        advance(p, stop);
        const qint64 skipped = stop - p;
        p = stop;
        return skipped;
    };
    auto tooLong = [&](qint64 limit, const QString &what) {
        return refuse(QStringLiteral("%1 too large: more than %2 bytes").arg(what).arg(limit));
    };
    auto tooMany = [&] {
        return refuse(QStringLiteral("Too many nodes: more than %1 elements, attributes and "
                                     "other nodes")
                          .arg(m_limits.MaxNodes));
    };
    auto inTag = [&](char c) {
        if (c == '"' || c == '\'') {
            m_quote = c;
            m_valueLength = 0;
            m_state = State::AttrValue;
        } else if (c == '=') {
            if (++m_attributes > m_limits.MaxAttributes)
                return refuse(QStringLiteral("Too many attributes in one start tag: more than %1")
                                  .arg(m_limits.MaxAttributes));
            if (++m_nodes > m_limits.MaxNodes)
                return tooMany();
        } else if (c == '/') {
            m_state = State::TagSlash;
        } else if (c == '>') {
            m_state = State::Text;
            m_valueLength = 0;
        }
        return true;
    };
    // Document type and other declarations: the parser refuses them as soon as it sees one;
    // this only has to find their end without being led astray by quotes.
    auto declChar = [&](char c) {
        if (m_quote) {
            if (c == m_quote)
                m_quote = 0;
        } else if (c == '"' || c == '\'') {
            m_quote = c;
        } else if (c == '[') {
            ++m_declDepth;
        } else if (c == ']') {
            if (m_declDepth > 0)
                --m_declDepth;
        } else if (c == '>' && m_declDepth == 0) {
            m_state = State::Text;
            m_valueLength = 0;
        }
    };
    while (p < end) {
        switch (m_state) {
        case State::Text:
            m_valueLength += skipTo('<', m_limits.MaxText - m_valueLength + 1);
            if (m_valueLength > m_limits.MaxText)
                return tooLong(m_limits.MaxText, QStringLiteral("Text"));
            if (p < end) {
                m_state = State::Lt;
                ++p;
                ++m_column;
            }
            continue;
        case State::AttrValue:
            m_valueLength += skipTo(m_quote, m_limits.MaxAttributeValue - m_valueLength + 1);
            if (m_valueLength > m_limits.MaxAttributeValue)
                return tooLong(m_limits.MaxAttributeValue, QStringLiteral("Attribute value"));
            if (p < end) {
                m_state = State::InTag;
                ++p;
                ++m_column;
            }
            continue;
        case State::CData:
            if (m_marks == 0) {
                m_valueLength += skipTo(']', m_limits.MaxText - m_valueLength + 1);
                if (m_valueLength > m_limits.MaxText)
                    return tooLong(m_limits.MaxText, QStringLiteral("CDATA section"));
                if (p == end)
                    continue;
            }
            break; // the "]" itself below
        case State::Comment:
            if (m_marks == 0) {
                skipTo('-', end - p);
                if (p == end)
                    continue;
            }
            break;
        case State::PI:
            if (!m_capturePI && m_marks == 0) {
                skipTo('?', end - p);
                if (p == end)
                    continue;
            }
            break;
        default:
            break;
        }

        const char c = *p++;
        if (c == '\n') {
            ++m_line;
            m_column = 1;
        } else {
            ++m_column;
        }
        switch (m_state) {
        case State::Text:
            break;
        case State::Lt:
            if (c == '/') {
                m_state = State::EndTag;
            } else if (c == '?') {
                m_state = State::PI;
                m_marks = 0;
                m_capturePI = !m_rootSeen && m_piText.isEmpty();
                if (++m_nodes > m_limits.MaxNodes)
                    return tooMany();
            } else if (c == '!') {
                m_state = State::Bang;
                m_bang.clear();
            } else {
                m_rootSeen = true;
                if (++m_nodes > m_limits.MaxNodes)
                    return tooMany();
                if (++m_depth > m_limits.MaxDepth)
                    return refuse(QStringLiteral("Elements nested too deeply: more than %1 "
                                                 "levels")
                                      .arg(m_limits.MaxDepth));
                m_attributes = 0;
                m_state = c == '>' ? State::Text : State::InTag;
            }
            m_valueLength = 0;
            break;
        case State::InTag:
            if (!inTag(c))
                return false;
            break;
        case State::TagSlash:
            if (c == '>') {
                --m_depth;
                m_state = State::Text;
                m_valueLength = 0;
            } else {
                // Not the end of an empty element: the character counts inside the tag.
                m_state = State::InTag;
                if (!inTag(c))
                    return false;
            }
            break;
        case State::EndTag:
            if (c == '>') {
                if (m_depth > 0)
                    --m_depth;
                m_state = State::Text;
                m_valueLength = 0;
            }
            break;
        case State::Bang: {
            m_bang.append(c);
            static const QByteArray comment("--");
            static const QByteArray cdata("[CDATA[");
            if (m_bang == comment) {
                m_state = State::Comment;
                m_marks = 0;
                ++m_nodes;
            } else if (m_bang == cdata) {
                m_state = State::CData;
                m_marks = 0;
                m_valueLength = 0;
                ++m_nodes;
            } else if (!comment.startsWith(m_bang) && !cdata.startsWith(m_bang)) {
                m_state = State::Decl;
                m_quote = 0;
                m_declDepth = 0;
                declChar(c); // the character belongs to the declaration
            }
            if (m_nodes > m_limits.MaxNodes)
                return tooMany();
            break;
        }
        case State::Comment:
            if (c == '-') {
                ++m_marks;
            } else {
                if (c == '>' && m_marks >= 2) {
                    m_state = State::Text;
                    m_valueLength = 0;
                }
                m_marks = 0;
            }
            break;
        case State::CData:
            // "]" characters count once it is known whether they end the section.
            if (c == ']') {
                ++m_marks;
                if (m_valueLength + m_marks - 2 > m_limits.MaxText)
                    return tooLong(m_limits.MaxText, QStringLiteral("CDATA section"));
            } else if (c == '>' && m_marks >= 2) {
                m_state = State::Text;
                m_valueLength = 0;
                m_marks = 0;
            } else {
                m_valueLength += m_marks + 1;
                m_marks = 0;
                if (m_valueLength > m_limits.MaxText)
                    return tooLong(m_limits.MaxText, QStringLiteral("CDATA section"));
            }
            break;
        case State::PI:
            if (m_capturePI) {
                if (m_piText.size() < 1024)
                    m_piText.append(c);
                else
                    m_capturePI = false; // too long for a declaration worth reading
            }
            if (c == '?') {
                m_marks = 1;
            } else {
                if (c == '>' && m_marks == 1) {
                    m_state = State::Text;
                    m_valueLength = 0;
                    if (m_capturePI) {
                        m_capturePI = false;
                        m_piText.chop(2); // "?>"
                        if (!checkDeclaredEncoding())
                            return false;
                    }
                }
                m_marks = 0;
            }
            break;
        case State::Decl:
            declChar(c);
            break;
        case State::AttrValue:
            break;
        }
    }
    return true;
}

} // namespace tarvin
