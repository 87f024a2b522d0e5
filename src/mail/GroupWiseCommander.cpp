#include "mail/GroupWiseCommander.h"

#include "base/Error.h"
#include "util/WorkFolder.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QtEndian>

namespace tarvin {

QString GroupWiseSocketPath() {
    return PrivateTempFolder() + QStringLiteral("GroupWiseCommander");
}

bool IsGroupWiseInstalled() {
    return !QStandardPaths::findExecutable(QStringLiteral("grpwise")).isEmpty();
}

namespace {

// The socket path to use: the given one, else the client's usual place ("" when the private
// temporary folder cannot be had).
QString resolveSocketPath(const QString &socketPath) {
    if (!socketPath.isEmpty())
        return socketPath;
    try {
        return GroupWiseSocketPath();
    } catch (const Error &) {
        return QString();
    }
}

} // namespace

bool IsGroupWiseRunning(const QString &socketPath) {
    const QString path = resolveSocketPath(socketPath);
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    const bool running = socket.waitForConnected(gwchannel::kConnectTimeoutMs);
    socket.abort();
    return running;
}

void CheckGWReply(const TGWReply &reply, const QString &className, const QString &operation) {
    if (!reply.Succeeded())
        throw Error(QStringLiteral("%1.%2: %3").arg(className, operation, reply.Result));
}

namespace gwchannel {

QByteArray EncodeRequest(const QString &command) {
    const QByteArray text = command.toUtf8();
    if (static_cast<quint64>(text.size()) > kMaxTextBytes)
        return QByteArray();
    QByteArray request(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(text.size()), request.data());
    return request + text;
}

TAnswerReader::State TAnswerReader::Add(const QByteArray &bytes) {
    if (m_state == State::Complete && !bytes.isEmpty())
        m_state = State::Broken; // a second answer to one request
    if (m_state != State::Incomplete)
        return m_state;
    m_buffer += bytes;
    if (m_buffer.size() < 8)
        return m_state;
    const quint32 length = qFromBigEndian<quint32>(m_buffer.constData() + 4);
    if (length > kMaxTextBytes)
        m_state = State::Broken;
    else if (static_cast<quint64>(m_buffer.size()) >= 8ull + length)
        // One request has one answer; anything after it is not ours.
        m_state = m_buffer.size() == qsizetype(8 + length) ? State::Complete : State::Broken;
    return m_state;
}

TGWReply TAnswerReader::Reply() const {
    TGWReply reply;
    reply.Status = qFromBigEndian<qint32>(m_buffer.constData());
    reply.Result = QString::fromUtf8(m_buffer.constData() + 8, m_buffer.size() - 8);
    return reply;
}

TGWReply NotRunning() {
    return {kStatusChannelFailure, QStringLiteral("The GroupWise client is not running.")};
}

TGWReply TooLong() {
    return {kStatusChannelFailure,
            QStringLiteral("The command is too long for the GroupWise client.")};
}

TGWReply TimedOut(int timeoutMs) {
    return {kStatusChannelFailure,
            QStringLiteral("The GroupWise client did not answer within %1 seconds.")
                .arg(timeoutMs / 1000.0)};
}

TGWReply Unreadable() {
    return {kStatusChannelFailure,
            QStringLiteral("The GroupWise client sent an answer that cannot be read.")};
}

TGWReply Closed() {
    return {kStatusChannelFailure,
            QStringLiteral("The GroupWise client closed the connection without answering.")};
}

} // namespace gwchannel

// ---- blocking ------------------------------------------------------------------------------

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

bool TGroupWiseCommander::ensureConnected(TGWReply &failure) {
    if (m_socket && m_socket->state() == QLocalSocket::ConnectedState)
        return true;
    disconnect();
    if (m_socketPath.isEmpty()) {
        try {
            m_socketPath = GroupWiseSocketPath();
        } catch (const Error &e) {
            failure = {kStatusChannelFailure, e.message()};
            return false;
        }
    }
    m_socket = std::make_unique<QLocalSocket>();
    m_socket->connectToServer(m_socketPath);
    if (!m_socket->waitForConnected(gwchannel::kConnectTimeoutMs)) {
        disconnect();
        failure = gwchannel::NotRunning();
        return false;
    }
    return true;
}

TGWReply TGroupWiseCommander::Execute(const QString &command) {
    const QByteArray request = gwchannel::EncodeRequest(command);
    if (request.isEmpty())
        return gwchannel::TooLong();
    TGWReply failure;
    if (!ensureConnected(failure))
        return failure;

    QDeadlineTimer deadline(m_timeoutMs);
    m_socket->write(request);
    gwchannel::TAnswerReader reader;
    using State = gwchannel::TAnswerReader::State;
    State state = State::Incomplete;
    while (state == State::Incomplete) {
        if (m_socket->bytesAvailable() == 0) {
            const bool arrived = m_socket->waitForReadyRead(int(deadline.remainingTime()));
            if (!arrived && m_socket->bytesAvailable() == 0) {
                failure = m_socket->state() == QLocalSocket::ConnectedState
                              ? gwchannel::TimedOut(m_timeoutMs)
                              : gwchannel::Closed();
                break;
            }
        }
        state = reader.Add(m_socket->readAll());
    }
    if (state == State::Complete)
        return reader.Reply();
    if (state == State::Broken)
        failure = gwchannel::Unreadable();
    // After a lost or garbled exchange the connection is out of step: start afresh next time.
    disconnect();
    return failure;
}

int TGroupWiseCommander::Execute(const QString &command, QString &result) {
    const TGWReply reply = Execute(command);
    result = reply.Result;
    return reply.Status;
}

// ---- asynchronous --------------------------------------------------------------------------

TGroupWiseChannel::TGroupWiseChannel(QString socketPath, QObject *parent)
    : QObject(parent), m_socketPath(std::move(socketPath)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this,
            [this] { finish(gwchannel::TimedOut(m_timeoutMs), false); });
}

TGroupWiseChannel::~TGroupWiseChannel() {
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

quint64 TGroupWiseChannel::Send(const QString &command) {
    const quint64 id = m_nextId++;
    m_queue.push_back({id, command});
    // Started from the event loop, so that no answer arrives before the caller has the id.
    QMetaObject::invokeMethod(this, &TGroupWiseChannel::startNext, Qt::QueuedConnection);
    return id;
}

void TGroupWiseChannel::startNext() {
    if (m_busy || m_queue.empty())
        return;
    m_busy = true;
    m_reader = gwchannel::TAnswerReader();
    if (gwchannel::EncodeRequest(m_queue.front().Command).isEmpty()) {
        finish(gwchannel::TooLong(), true);
        return;
    }
    m_timer.start(m_timeoutMs);
    if (m_socket && m_socket->state() == QLocalSocket::ConnectedState) {
        connected();
        return;
    }
    const QString path = resolveSocketPath(m_socketPath);
    if (path.isEmpty()) {
        finish(gwchannel::NotRunning(), true);
        return;
    }
    m_socket = new QLocalSocket(this);
    connect(m_socket, &QLocalSocket::connected, this, &TGroupWiseChannel::connected);
    connect(m_socket, &QLocalSocket::readyRead, this, &TGroupWiseChannel::readAnswer);
    connect(m_socket, &QLocalSocket::disconnected, this, &TGroupWiseChannel::socketLost);
    connect(m_socket, &QLocalSocket::errorOccurred, this, &TGroupWiseChannel::socketLost);
    m_socket->connectToServer(path);
}

void TGroupWiseChannel::connected() {
    m_linkUp = true;
    if (m_busy && !m_queue.empty())
        m_socket->write(gwchannel::EncodeRequest(m_queue.front().Command));
}

void TGroupWiseChannel::readAnswer() {
    if (!m_busy) { // nothing was asked: the connection is out of step
        finish({}, false);
        return;
    }
    using State = gwchannel::TAnswerReader::State;
    switch (m_reader.Add(m_socket->readAll())) {
    case State::Complete:
        finish(m_reader.Reply(), true);
        break;
    case State::Broken:
        finish(gwchannel::Unreadable(), false);
        break;
    case State::Incomplete:
        break;
    }
}

void TGroupWiseChannel::socketLost() {
    if (m_socket)
        finish(m_linkUp ? gwchannel::Closed() : gwchannel::NotRunning(), false);
}

void TGroupWiseChannel::finish(const TGWReply &reply, bool exchangeComplete) {
    m_timer.stop();
    if (!exchangeComplete && m_socket) {
        // After a lost or garbled exchange the connection is out of step: start afresh.
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
        m_linkUp = false;
    }
    if (!m_busy)
        return;
    const quint64 id = m_queue.front().Id;
    m_queue.pop_front();
    m_busy = false;
    // Delivered from the event loop rather than from inside the socket's signal, so that
    // whoever takes the answer may delete the channel (and its socket) right away.
    QMetaObject::invokeMethod(
        this,
        [this, id, reply] {
            QPointer<TGroupWiseChannel> alive(this);
            emit Answered(id, reply);
            if (alive)
                startNext();
        },
        Qt::QueuedConnection);
}

} // namespace tarvin
