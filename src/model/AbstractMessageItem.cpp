#include "model/AbstractMessageItem.h"

#include "base/Error.h"
#include "util/NumberFormat.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/statvfs.h>
#include <unistd.h>
#include <zlib.h>

namespace tarvin {

// ---- TAbstractMessageItem ------------------------------------------------------------------

void TAbstractMessageItem::SetNode(XmlNode node) {
    Node = node;
    if (Node)
        ReadNode();
}

QString TAbstractMessageItem::GetElementValue(const char *path) const {
    if (!Node)
        throw Error(QStringLiteral("%1.GetElementValue: Node has not been assigned")
                        .arg(QLatin1String(ClassName())));
    XmlNode found = tarvin::SelectSingleNode(Node, path);
    if (!found)
        throw Error(QStringLiteral("%1.GetElementValue: element '%2' not found")
                        .arg(QLatin1String(ClassName()), QString::fromUtf8(path)));
    return NodeText(found);
}

QString TAbstractMessageItem::GetElementValue(const QString &path) const {
    return GetElementValue(path.toUtf8().constData());
}

bool TAbstractMessageItem::FindElementValue(const char *path, QString &value) const {
    if (!Node)
        throw Error(QStringLiteral("%1.FindElementValue: Node has not been assigned")
                        .arg(QLatin1String(ClassName())));
    XmlNode found = tarvin::SelectSingleNode(Node, path);
    if (!found) {
        value.clear();
        return false;
    }
    value = NodeText(found);
    return true;
}

bool TAbstractMessageItem::FindElementValue(const QString &path, QString &value) const {
    return FindElementValue(path.toUtf8().constData(), value);
}

QString TAbstractMessageItem::GetAttributeValue(const char *name) const {
    if (!Node)
        throw Error(QStringLiteral("%1.GetAttributeValue: Node has not been assigned")
                        .arg(QLatin1String(ClassName())));
    return AttributeValue(Node, name);
}

QString TAbstractMessageItem::GetAttributeValue(const QString &name) const {
    return GetAttributeValue(name.toUtf8().constData());
}

XmlNode TAbstractMessageItem::SelectSingleNode(const char *path) const {
    return tarvin::SelectSingleNode(Node, path);
}

std::vector<XmlNode> TAbstractMessageItem::SelectNodes(const char *path) const {
    return tarvin::SelectNodes(Node, path);
}

// ---- value conversions ---------------------------------------------------------------------

namespace {

inline bool isDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Optional sign, then at least one digit, nothing else; false when out of 32-bit range.
bool tryStrToInt(const QString &text, int32_t &value) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        return false;
    int64_t result = 0;
    for (; i < n; ++i) {
        if (!isDigit(text[i]))
            return false;
        result = result * 10 + (text[i].unicode() - '0');
        if (result > int64_t(INT32_MAX) + 1)
            return false;
    }
    if (negative)
        result = -result;
    if (result > INT32_MAX || result < INT32_MIN)
        return false;
    value = int32_t(result);
    return true;
}

// Optional sign, digits with at most one decimal separator (at least one digit), optional
// exponent ("e"/"E", optional sign, digits).
bool tryStrToFloat(const QString &text, double &value) {
    const QChar separator = DecimalSeparator();
    const qsizetype n = text.size();
    QByteArray ascii;
    ascii.reserve(n);
    qsizetype i = 0;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ascii.append(char(text[i++].unicode()));
    int digits = 0;
    bool seenSeparator = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            ascii.append(char(c.unicode()));
            ++digits;
        } else if (c == separator && !seenSeparator) {
            ascii.append('.');
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ascii.append('e');
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            ascii.append(char(text[i++].unicode()));
        int expDigits = 0;
        for (; i < n && isDigit(text[i]); ++i, ++expDigits)
            ascii.append(char(text[i].unicode()));
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    bool ok = false;
    const double result = ascii.toDouble(&ok);
    if (!ok)
        return false;
    value = result;
    return true;
}

} // namespace

bool StrToBool(const QString &text) {
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    double number = 0;
    if (tryStrToFloat(text, number))
        return number != 0;
    throw ConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(text));
}

int32_t StrToInt(const QString &text) {
    int32_t value = 0;
    if (!tryStrToInt(text, value))
        throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

int32_t StrToIntDef(const QString &text, int32_t defaultValue) {
    int32_t value = 0;
    return tryStrToInt(text, value) ? value : defaultValue;
}

double StrToFloat(const QString &text) {
    double value = 0;
    if (!tryStrToFloat(text, value))
        throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

TDateTime IsoDateTimeToDateTime(const QString &text) {
    try {
        auto field = [&](int position, int length) {
            const int value = StrToInt(text.mid(position - 1, length));
            if (value < 0 || value > 65535)
                throw ConvertError(QStringLiteral("Range check error"));
            return value;
        };
        const int year = field(1, 4);
        const int month = field(5, 2);
        const int day = field(7, 2);
        const int hour = field(10, 2);
        const int minute = field(12, 2);
        const int second = field(14, 2);
        TDateTime date = 0;
        if (!TryEncodeDateTime(year, month, day, 0, 0, 0, 0, date))
            throw ConvertError(QStringLiteral("Invalid argument to date encode"));
        if (hour > 23 || minute > 59 || second > 59)
            throw ConvertError(QStringLiteral("Invalid argument to time encode"));
        return EncodeDateTime(year, month, day, hour, minute, second, 0);
    } catch (const Error &e) {
        throw ConvertError(QStringLiteral("IsoDateTimeToDateTime(%1): %2").arg(text, e.message()));
    }
}

QString UnescapeCData(const QString &text) {
    if (!text.contains(QLatin1String("]]&gt;")))
        return text;
    QString result = text;
    result.replace(QLatin1String("]]&gt;"), QLatin1String("]]>"));
    return result;
}

// ---- base64 --------------------------------------------------------------------------------

namespace {

// Our own decoder: every character outside the alphabet is skipped wherever it stands ("="
// included), which QByteArray::fromBase64 does not do.
struct Base64Table {
    int8_t value[256];
    constexpr Base64Table() : value() {
        for (int i = 0; i < 256; ++i)
            value[i] = -1;
        const char *alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i)
            value[static_cast<unsigned char>(alphabet[i])] = int8_t(i);
    }
};
constexpr Base64Table kBase64;

} // namespace

QByteArray DecodeBase64(QByteArrayView text) {
    QByteArray out;
    out.resize(text.size() / 4 * 3 + 3);
    char *dst = out.data();
    const unsigned char *src = reinterpret_cast<const unsigned char *>(text.data());
    const unsigned char *end = src + text.size();
    uint32_t group = 0;
    int count = 0;
    for (; src < end; ++src) {
        const int v = kBase64.value[*src];
        if (v < 0)
            continue;
        group = (group << 6) | uint32_t(v);
        if (++count == 4) {
            *dst++ = char(group >> 16);
            *dst++ = char(group >> 8);
            *dst++ = char(group);
            group = 0;
            count = 0;
        }
    }
    if (count == 3) {
        *dst++ = char(group >> 10);
        *dst++ = char(group >> 2);
    } else if (count == 2) {
        *dst++ = char(group >> 4);
    }
    out.truncate(dst - out.constData());
    return out;
}

QByteArray DecodeBase64(const QString &text) {
    // Only ASCII characters can belong to the alphabet; others are skipped anyway.
    QByteArray latin = text.toLatin1();
    return DecodeBase64(QByteArrayView(latin));
}

// ---- inflating -----------------------------------------------------------------------------

namespace {

std::atomic<qint64> g_inflateLimit{kDefaultInflateMemoryLimit};

constexpr qsizetype kInputBlock = 65536;

[[noreturn]] void throwZlib(int code) {
    const char *text = zError(code);
    throw DecompressionError(QString::fromLatin1(text ? text : "unknown error"));
}

// Inflates `data` and hands each produced block to `sink(const char*, size_t)`.
template <class Sink> void inflateBlocks(QByteArrayView data, Sink sink) {
    z_stream stream{};
    const int init = inflateInit(&stream);
    if (init != Z_OK)
        throwZlib(init);
    struct Guard {
        z_stream *s;
        ~Guard() { inflateEnd(s); }
    } guard{&stream};
    char buffer[65536];
    qsizetype offset = 0;
    for (;;) {
        if (stream.avail_in == 0 && offset < data.size()) {
            const qsizetype block = std::min(kInputBlock, data.size() - offset);
            stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data() + offset));
            stream.avail_in = uInt(block);
            offset += block;
        }
        stream.next_out = reinterpret_cast<Bytef *>(buffer);
        stream.avail_out = sizeof buffer;
        const uInt availIn = stream.avail_in;
        int rc = inflate(&stream, Z_NO_FLUSH);
        if (rc == Z_NEED_DICT)
            rc = Z_DATA_ERROR;
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
            throwZlib(rc);
        const size_t produced = sizeof buffer - stream.avail_out;
        if (produced)
            sink(buffer, produced);
        if (rc == Z_STREAM_END)
            break;
        if (rc == Z_BUF_ERROR && produced == 0 && stream.avail_in == availIn && availIn != 0)
            throwZlib(rc); // no progress with input and room: never loop for ever
        // Input used up and no output pending (a full buffer may leave some behind): a stream
        // that ends early gives what was inflated so far.
        if (stream.avail_in == 0 && offset >= data.size() && stream.avail_out != 0)
            break;
    }
}

// Windows-1252 by table: Qt's own codecs cover only Unicode forms and Latin-1, and a
// dependence on ICU for one code page is not worth it. 0x80..0x9F differ from Latin-1;
// the five undefined codes map to the same C1 code points as Windows does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(QByteArrayView bytes) {
    QString result(bytes.size(), Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(result.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        dst[i] = (c >= 0x80 && c < 0xA0) ? kCp1252High[c - 0x80] : char16_t(c);
    }
    return result;
}

} // namespace

qint64 InflateMemoryLimit() {
    return g_inflateLimit.load();
}

void SetInflateMemoryLimit(qint64 bytes) {
    g_inflateLimit.store(bytes);
}

void TInflateBudget::Take(qint64 bytes) {
    qint64 left = m_remaining.load();
    for (;;) {
        if (bytes > left) {
            m_remaining.store(0);
            m_exceeded.store(true);
            throwZlib(Z_MEM_ERROR);
        }
        if (m_remaining.compare_exchange_weak(left, left - bytes))
            break;
    }
    if (m_parent)
        m_parent->Take(bytes);
}

qint64 TInflateBudget::Remaining() const {
    const qint64 own = m_remaining.load();
    return m_parent ? std::min(own, m_parent->Remaining()) : own;
}

QByteArray InflateBytes(QByteArrayView data, TInflateBudget *budget) {
    QByteArray result;
    if (data.isEmpty())
        return result;
    qint64 limit = InflateMemoryLimit();
    if (budget)
        limit = std::min(limit, budget->Remaining());
    // Compressed data usually grows a few times; start there to save reallocations.
    result.reserve(qsizetype(std::min<qint64>(limit, qint64(data.size()) * 2 + 1024)));
    inflateBlocks(data, [&](const char *block, size_t size) {
        if (qint64(result.size()) + qint64(size) > limit)
            throwZlib(Z_MEM_ERROR);
        if (budget)
            budget->Take(qint64(size));
        result.append(block, qsizetype(size));
    });
    return result;
}

QByteArray InflatePrefix(QByteArrayView data, qsizetype maxBytes, TInflateBudget *budget,
                         bool *complete) {
    QByteArray result;
    *complete = true;
    if (data.isEmpty())
        return result;
    struct Enough {};
    try {
        inflateBlocks(data, [&](const char *block, size_t size) {
            const qsizetype take = std::min<qsizetype>(qsizetype(size), maxBytes - result.size());
            if (budget)
                budget->Take(take);
            result.append(block, take);
            if (take < qsizetype(size))
                throw Enough{};
        });
    } catch (const Enough &) {
        *complete = false;
    }
    return result;
}

QString DecodeText(QByteArrayView bytes) {
    // A byte order mark is content like any other character: it is kept.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    return fromWindows1252(bytes);
}

QString InflateText(QByteArrayView data, TInflateBudget *budget) {
    if (data.isEmpty())
        return QString();
    return DecodeText(InflateBytes(data, budget));
}

void InflateToStream(QByteArrayView data, QIODevice &output) {
    if (data.isEmpty())
        return;
    inflateBlocks(data, [&](const char *block, size_t size) {
        if (output.write(block, qint64(size)) != qint64(size))
            throw Error(QStringLiteral("Cannot write file. %1").arg(output.errorString()));
    });
}

namespace {

std::mutex g_streamLimitsMutex;
TStreamLimits g_streamLimits;

constexpr qint64 kFreeSpaceCheckInterval = qint64(16) << 20;

qint64 freeBytes(int fd) {
    struct statvfs st {};
    if (::fstatvfs(fd, &st) != 0)
        return -1; // unknown: not checked
    return qint64(st.f_bavail) * qint64(st.f_frsize);
}

QString gibText(qint64 bytes) {
    if (bytes % (qint64(1) << 30) == 0)
        return QStringLiteral("%1 GiB").arg(bytes >> 30);
    if (bytes % (qint64(1) << 20) == 0)
        return QStringLiteral("%1 MiB").arg(bytes >> 20);
    return QStringLiteral("%1 bytes").arg(bytes);
}

} // namespace

TStreamLimits StreamLimits() {
    std::lock_guard<std::mutex> lock(g_streamLimitsMutex);
    return g_streamLimits;
}

void SetStreamLimits(const TStreamLimits &limits) {
    std::lock_guard<std::mutex> lock(g_streamLimitsMutex);
    g_streamLimits = limits;
}

void InflateToFile(QByteArrayView data, const QString &path, TInflateBudget *budget) {
    const TStreamLimits limits = StreamLimits();
    // Opened by hand: a link at the path is never followed, and O_NONBLOCK keeps a named pipe
    // from blocking the open (it fails instead).
    const int opened =
        ::open(QFile::encodeName(path).constData(),
               O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK, 0666);
    if (opened < 0)
        throw Error(QStringLiteral("Cannot create file \"%1\". %2")
                        .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    QFile file;
    if (!file.open(opened, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(opened);
        throw Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    }
    const int fd = file.handle();
    qint64 written = 0;
    qint64 free = freeBytes(fd);
    qint64 sinceCheck = 0;
    auto writeError = [&](const QString &reason) {
        return Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, reason));
    };
    try {
        inflateBlocks(data, [&](const char *block, size_t size) {
            const qint64 n = qint64(size);
            if (written + n > limits.MaxBytes)
                throw writeError(
                    QStringLiteral("The content is larger than %1.").arg(gibText(limits.MaxBytes)));
            if (sinceCheck + n > kFreeSpaceCheckInterval) {
                file.flush();
                free = freeBytes(fd);
                sinceCheck = 0;
            }
            if (free >= 0 && free - sinceCheck - n < limits.MinFree)
                throw writeError(QStringLiteral("Less than %1 would be left free on its file "
                                                "system.")
                                     .arg(gibText(limits.MinFree)));
            if (budget)
                budget->Take(n);
            if (file.write(block, n) != n)
                throw writeError(file.errorString());
            written += n;
            sinceCheck += n;
        });
        if (!file.flush())
            throw writeError(file.errorString());
        file.close();
        if (file.error() != QFileDevice::NoError)
            throw writeError(file.errorString());
    } catch (...) {
        // A partial file says nothing true: it goes.
        file.close();
        QFile::remove(path);
        throw;
    }
}

} // namespace tarvin
