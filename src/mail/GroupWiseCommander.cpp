#include "mail/GroupWiseCommander.h"

#include "util/Error.h"
#include "util/WorkFolder.h"

#include <QEventLoop>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

namespace tarvin {

namespace {

constexpr int kConnectTimeoutMs = 2000;

QString notRunningText() {
    return QStringLiteral("The GroupWise client is not running.");
}

} // namespace

QString GroupWiseSocketPath() {
    return PrivateTempFolder() + QStringLiteral("GroupWiseCommander");
}

bool IsGroupWiseInstalled() {
    return !QStandardPaths::findExecutable(QStringLiteral("grpwise")).isEmpty();
}

bool IsGroupWiseRunning(const QString &socketPath) {
    QString path = socketPath;
    if (path.isEmpty()) {
        try {
            path = GroupWiseSocketPath();
        } catch (const Error &) {
            return false;
        }
    }
    QLocalSocket socket;
    socket.connectToServer(path);
    const bool running = socket.waitForConnected(kConnectTimeoutMs);
    socket.abort();
    return running;
}

void CheckGWReply(const TGWReply &reply, const QString &className, const QString &operation) {
    if (!reply.Succeeded())
        throw Error(QStringLiteral("%1.%2: %3").arg(className, operation, reply.Result));
}

TGroupWiseCommander::TGroupWiseCommander(QString socketPath)
    : m_socketPath(std::move(socketPath)) {}

TGroupWiseCommander::~TGroupWiseCommander() {
    disconnect();
}

void TGroupWiseCommander::disconnect() {
    if (m_socket) {
        m_socket->abort();
        m_socket.reset();
    }
}

bool TGroupWiseCommander::ensureConnected(QString &reason) {
    if (m_socket && m_socket->state() == QLocalSocket::ConnectedState)
        return true;
    disconnect();
    if (m_socketPath.isEmpty()) {
        try {
            m_socketPath = GroupWiseSocketPath();
        } catch (const Error &e) {
            reason = e.message();
            return false;
        }
    }
    m_socket = std::make_unique<QLocalSocket>();
    m_socket->connectToServer(m_socketPath);
    if (!m_socket->waitForConnected(kConnectTimeoutMs)) {
        disconnect();
        reason = notRunningText();
        return false;
    }
    return true;
}

TGWReply TGroupWiseCommander::Execute(const QString &command) {
    TGWReply reply;
    reply.Status = Execute(command, reply.Result);
    return reply;
}

int TGroupWiseCommander::Execute(const QString &command, QString &result) {
    result.clear();
    const QByteArray text = command.toUtf8();
    if (static_cast<quint64>(text.size()) > kMaxTextBytes) {
        result = QStringLiteral("The command is too long for the GroupWise client.");
        return kStatusChannelFailure;
    }
    if (!ensureConnected(result))
        return kStatusChannelFailure;

    QByteArray request(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(text.size()), request.data());
    request += text;
    m_socket->write(request);

    // Waits in an event loop of its own so that windows keep painting; user input waits.
    QByteArray answer;
    qint32 status = 0;
    quint32 length = 0;
    enum { Waiting, Complete, Broken, Closed, TimedOut } outcome = Waiting;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    auto readAnswer = [&]() {
        answer += m_socket->readAll();
        if (answer.size() < 8)
            return;
        status = qFromBigEndian<qint32>(answer.constData());
        length = qFromBigEndian<quint32>(answer.constData() + 4);
        if (length > kMaxTextBytes) {
            outcome = Broken;
        } else if (static_cast<quint64>(answer.size()) >= 8ull + length) {
            // One request has one answer; anything after it is not ours.
            outcome = answer.size() == qsizetype(8 + length) ? Complete : Broken;
        }
        if (outcome != Waiting)
            loop.quit();
    };
    QObject::connect(m_socket.get(), &QLocalSocket::readyRead, &loop, readAnswer);
    QObject::connect(m_socket.get(), &QLocalSocket::disconnected, &loop, [&]() {
        if (outcome == Waiting)
            outcome = Closed;
        loop.quit();
    });
    QObject::connect(&timer, &QTimer::timeout, &loop, [&]() {
        outcome = TimedOut;
        loop.quit();
    });
    timer.start(m_timeoutMs);
    readAnswer();
    if (outcome == Waiting && m_socket->state() != QLocalSocket::ConnectedState)
        outcome = Closed;
    if (outcome == Waiting)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (outcome == Waiting) // the loop was left from outside
        outcome = Closed;

    switch (outcome) {
    case Complete:
        result = QString::fromUtf8(answer.constData() + 8, length);
        return status;
    case TimedOut:
        result = QStringLiteral("The GroupWise client did not answer within %1 seconds.")
                     .arg(m_timeoutMs / 1000.0);
        break;
    case Broken:
        result = QStringLiteral("The GroupWise client sent an answer that cannot be read.");
        break;
    default:
        result = QStringLiteral("The GroupWise client closed the connection without answering.");
        break;
    }
    // After a lost or garbled exchange the connection is out of step: start afresh next time.
    disconnect();
    return kStatusChannelFailure;
}

} // namespace tarvin
