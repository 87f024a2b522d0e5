#include "util/NativePath.h"

#include <cstring>
#include <sys/stat.h>

namespace tarvin {

namespace {

constexpr char16_t kKeptByteBase = 0xDC00; // kept byte b is held as U+DC00 + b (b >= 0x80)

// The number of bytes of the valid UTF-8 sequence at `p` (at most `left` bytes), 0 when the
// bytes there are not one (overlong forms, surrogates and values past U+10FFFF included).
// `value` receives the character it encodes.
int utf8SequenceLength(const unsigned char *p, qsizetype left, char32_t &value) {
    const unsigned char c = p[0];
    int length;
    value = c;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        value = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        value = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        value = c & 0x07;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (p[i] & 0x3F);
    }
    if ((length == 3 && value < 0x800) || (length == 4 && value < 0x10000) || value > 0x10FFFF ||
        (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

// The character at `i` holds a kept byte: a low surrogate of the kept range that is not the
// second half of a pair (characters past U+FFFF have such halves too, e.g. U+1F4A9).
bool isKeptByteAt(QStringView text, qsizetype i) {
    const char16_t c = text[i].unicode();
    return c >= kKeptByteBase + 0x80 && c <= kKeptByteBase + 0xFF &&
           !(i > 0 && text[i - 1].isHighSurrogate());
}

// Windows-1252 for 0x80..0x9F; the bytes it leaves undefined show as U+FFFD.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

} // namespace

QString DecodeNativePath(const QByteArray &native) {
    QString text;
    text.reserve(native.size());
    const auto *bytes = reinterpret_cast<const unsigned char *>(native.constData());
    const qsizetype size = native.size();
    for (qsizetype i = 0; i < size;) {
        char32_t value;
        const int length = utf8SequenceLength(bytes + i, size - i, value);
        if (length == 0) {
            text.append(QChar(char16_t(kKeptByteBase + bytes[i])));
            ++i;
            continue;
        }
        // Appended as decoded here: QString::fromUtf8 on a single sequence would drop a
        // U+FEFF as a byte order mark, and the name would no longer give back its bytes.
        if (QChar::requiresSurrogates(value)) {
            text.append(QChar(QChar::highSurrogate(value)));
            text.append(QChar(QChar::lowSurrogate(value)));
        } else {
            text.append(QChar(char16_t(value)));
        }
        i += length;
    }
    return text;
}

QString DecodeNativePath(const char *native) {
    return DecodeNativePath(QByteArray(native, native ? qsizetype(std::strlen(native)) : 0));
}

QByteArray EncodeNativePath(const QString &path) {
    QByteArray native;
    native.reserve(path.size());
    qsizetype start = 0; // the run of ordinary text not yet written
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!isKeptByteAt(path, i))
            continue;
        const char16_t c = path.at(i).unicode();
        native += QStringView(path).mid(start, i - start).toUtf8();
        native += char(c - kKeptByteBase);
        start = i + 1;
    }
    native += QStringView(path).mid(start).toUtf8();
    return native;
}

QString DisplayPath(const QString &path) {
    QString text = path;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!isKeptByteAt(path, i))
            continue;
        const char16_t byte = path.at(i).unicode() - kKeptByteBase;
        text[i] = QChar(byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
    }
    return text;
}

bool IsExistingFile(const QString &path) {
    struct stat st;
    return ::stat(EncodeNativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

template <typename Text, typename Char> Text withoutSlash(Text path, Char slash) {
    while (path.size() > 1 && path.endsWith(slash))
        path.chop(1);
    return path;
}

} // namespace

QString WithoutTrailingSlash(QString path) {
    return withoutSlash(std::move(path), QLatin1Char('/'));
}

QByteArray WithoutTrailingSlash(QByteArray nativePath) {
    return withoutSlash(std::move(nativePath), '/');
}

QString WithTrailingSlash(const QString &path) {
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QByteArray WithTrailingSlash(const QByteArray &nativePath) {
    return nativePath.endsWith('/') ? nativePath : nativePath + '/';
}

} // namespace tarvin
