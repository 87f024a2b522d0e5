#include "app/InstanceMessage.h"

#include "util/NativePath.h"

#include <QtEndian>

namespace tarvin {

namespace {

constexpr int HeaderSize = 4;
constexpr int RecordHeaderSize = 8;

void appendUInt32(QByteArray &out, quint32 value) {
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

quint32 readUInt32(const QByteArray &in, qsizetype at) {
    return qFromBigEndian<quint32>(in.constData() + at);
}

void appendRecord(QByteArray &body, TInstanceRecord kind, const QByteArray &data) {
    appendUInt32(body, static_cast<quint32>(kind));
    appendUInt32(body, static_cast<quint32>(data.size()));
    body.append(data);
}

} // namespace

QByteArray EncodeInstanceMessage(const QStringList &arguments, const QByteArray &senderFolder) {
    QByteArray body;
    if (!senderFolder.isEmpty())
        appendRecord(body, TInstanceRecord::SenderFolder, senderFolder);
    QByteArray text;
    qsizetype sent = 0;
    for (const QString &argument : arguments) {
        const QByteArray line = EncodeNativePath(argument) + "\r\n";
        if (body.size() + RecordHeaderSize + text.size() + line.size() > MaxInstanceMessageSize)
            break;
        text.append(line);
        ++sent;
    }
    if (sent == 0 && !arguments.isEmpty())
        return QByteArray();
    appendRecord(body, TInstanceRecord::CommandLine, text);
    QByteArray frame;
    appendUInt32(frame, static_cast<quint32>(body.size()));
    frame.append(body);
    return frame;
}

TParseState ParseInstanceMessage(const QByteArray &received, TInstanceMessage &message) {
    if (received.size() < HeaderSize)
        return TParseState::Incomplete;
    const quint32 length = readUInt32(received, 0);
    if (length > quint32(MaxInstanceMessageSize))
        return TParseState::Invalid;
    if (received.size() < HeaderSize + qsizetype(length))
        return TParseState::Incomplete;
    if (received.size() > HeaderSize + qsizetype(length))
        return TParseState::Invalid; // one message per connection

    bool haveLines = false, haveFolder = false;
    TInstanceMessage result;
    qsizetype at = HeaderSize;
    const qsizetype end = HeaderSize + qsizetype(length);
    while (at < end) {
        if (end - at < RecordHeaderSize)
            return TParseState::Invalid;
        const quint32 kind = readUInt32(received, at);
        const quint32 size = readUInt32(received, at + 4);
        at += RecordHeaderSize;
        if (size > quint32(end - at))
            return TParseState::Invalid;
        const QByteArray data = received.mid(at, size);
        at += size;
        if (kind == quint32(TInstanceRecord::CommandLine)) {
            if (haveLines || data.contains('\0'))
                return TParseState::Invalid;
            haveLines = true;
            result.Lines = SplitCommandLineText(data);
        } else if (kind == quint32(TInstanceRecord::SenderFolder)) {
            if (haveFolder || data.contains('\0'))
                return TParseState::Invalid;
            haveFolder = true;
            if (data.startsWith('/'))
                result.SenderFolder = DecodeNativePath(data);
        }
    }
    if (!haveLines)
        return TParseState::Invalid;
    message = result;
    return TParseState::Complete;
}

QStringList SplitCommandLineText(const QByteArray &text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(DecodeNativePath(text.mid(start, i - start)));
        if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(DecodeNativePath(text.mid(start)));
    return lines;
}

QStringList ResolveReceivedArguments(const QStringList &lines, const QString &senderFolder) {
    if (senderFolder.isEmpty())
        return lines;
    const QString folder =
        senderFolder.endsWith(QLatin1Char('/')) ? senderFolder : senderFolder + QLatin1Char('/');
    QStringList resolved;
    resolved.reserve(lines.size());
    for (const QString &line : lines)
        resolved.append(line.isEmpty() || line.startsWith(QLatin1Char('/')) ? line : folder + line);
    return resolved;
}

QStringList WithoutQtOptions(const QStringList &arguments) {
    // The options of QGuiApplication, QApplication and the X11 platform, with and without a
    // value; each may be written with one dash or two, a value also after "=".
    static const QStringList withValue{
        QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
        QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
        QStringLiteral("qwindowtitle"),    QStringLiteral("session"),
        QStringLiteral("display"),         QStringLiteral("geometry"),
        QStringLiteral("title"),           QStringLiteral("name"),
        QStringLiteral("style"),           QStringLiteral("stylesheet")};
    static const QStringList flags{QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                   QStringLiteral("sync"), QStringLiteral("nograb"),
                                   QStringLiteral("dograb")};
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!argument.startsWith(QLatin1Char('-'))) {
            kept.append(argument);
            continue;
        }
        QString option = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        if (equals >= 0) {
            if (withValue.contains(option.left(equals)) ||
                option.startsWith(QLatin1String("qmljsdebugger")))
                continue;
        } else if (withValue.contains(option)) {
            if (i + 1 < arguments.size()) {
                ++i; // its value; without one Qt leaves the option alone
                continue;
            }
        } else if (flags.contains(option)) {
            continue;
        }
        kept.append(argument);
    }
    return kept;
}

} // namespace tarvin
