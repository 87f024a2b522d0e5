#include "app/InstanceLock.h"
#include "app/InstanceMessage.h"
#include "app/SingleInstance.h"
#include "util/NativePath.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>

#include <memory>

// The running viewer's end of the instance socket; apart from SingleInstance.cpp so that the
// launcher, which only hands over, does not need QtNetwork.

namespace tarvin {

TInstanceServer::TInstanceServer(int listeningSocket, QString socketPath, QObject *parent)
    : QObject(parent), m_listeningSocket(listeningSocket), m_socketPath(std::move(socketPath)),
      m_server(new QLocalServer(this)) {
    connect(m_server, &QLocalServer::newConnection, this, &TInstanceServer::acceptConnections);
}

TInstanceServer::~TInstanceServer() {
    const QByteArray path = EncodeNativePath(m_socketPath);
    TInstanceLock lock(path, 2000);
    const bool listening = m_server->isListening();
    delete m_server; // closes the socket, and the connections still open
    if (!listening && m_listeningSocket >= 0)
        ::close(m_listeningSocket);
    // Ours until now: nobody else binds while our socket still answers.
    ::unlink(path.constData());
}

bool TInstanceServer::Listen() {
    return m_server->listen(qintptr(m_listeningSocket));
}

void TInstanceServer::acceptConnections() {
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (m_clients >= MaxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        serve(socket);
    }
}

void TInstanceServer::serve(QLocalSocket *socket) {
    ++m_clients;
    connect(socket, &QObject::destroyed, this, [this] { --m_clients; });
    auto received = std::make_shared<QByteArray>();
    auto done = std::make_shared<bool>(false);
    auto *timer = new QTimer(socket);
    timer->setSingleShot(true);
    auto finish = [socket, done, timer](TInstanceReply reply) {
        *done = true;
        timer->stop();
        char answer[4];
        qToBigEndian(qint32(reply), answer);
        socket->write(answer, 4);
        socket->flush();                // now, not when the event loop next runs
        socket->disconnectFromServer(); // after the answer has been written
        if (socket->state() == QLocalSocket::UnconnectedState)
            socket->deleteLater();
    };
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(timer, &QTimer::timeout, socket, [socket, done] {
        *done = true;
        socket->abort();
        socket->deleteLater();
    });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, received, done, finish] {
        if (*done) {
            socket->readAll();
            return;
        }
        // Never more than one frame's worth: anything beyond it is invalid anyway.
        received->append(socket->read(4 + MaxInstanceMessageSize + 1 - received->size()));
        TInstanceMessage message;
        switch (ParseInstanceMessage(*received, message)) {
        case TParseState::Incomplete:
            return;
        case TParseState::Invalid:
            finish(TInstanceReply::Refused);
            return;
        case TParseState::Complete:
            break;
        }
        // The sender is answered before the open, so that it ends at once; the open (with any
        // box it shows) runs in this process after that.
        finish(TInstanceReply::Accepted);
        emit ArgumentsReceived(message.Lines, message.SenderFolder);
    });
    timer->start(ClientTimeout);
}

} // namespace tarvin
