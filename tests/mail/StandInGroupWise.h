#pragma once

#include "mail/GroupWiseCommander.h"

#include <QHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStringList>
#include <QtEndian>

#include <functional>

namespace tarvin::testing {

// A stand-in for the GroupWise client: listens on a local socket, records every command it
// receives and answers from its script. It reads and writes the channel's frames itself
// (uint32 length + UTF-8 command; int32 status + uint32 length + UTF-8 result, big-endian) so
// that it checks the commander's side of the format rather than sharing its code.
class TStandInGroupWise {
public:
    enum class Behaviour { Answer, Silent, HangUp, Garbage };

    explicit TStandInGroupWise(QString socketPath) : m_path(std::move(socketPath)) {
        QObject::connect(&m_server, &QLocalServer::newConnection, [this] { accept(); });
    }

    bool Listen() {
        QLocalServer::removeServer(m_path);
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        return m_server.listen(m_path);
    }
    void Close() { m_server.close(); }

    // What the client received, in order.
    QStringList Commands;
    // Connections accepted so far.
    int Connections = 0;
    // Answers by command; others get Default.
    QHash<QString, TGWReply> Answers;
    TGWReply Default{1, QString()};
    Behaviour Mode = Behaviour::Answer;

private:
    void accept() {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            ++Connections;
            socket->setParent(&m_server);
            auto buffer = std::make_shared<QByteArray>();
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, buffer] {
                *buffer += socket->readAll();
                while (buffer->size() >= 4) {
                    const quint32 length = qFromBigEndian<quint32>(buffer->constData());
                    if (quint32(buffer->size()) < 4 + length)
                        return;
                    const QString command = QString::fromUtf8(buffer->mid(4, length));
                    buffer->remove(0, 4 + length);
                    Commands.append(command);
                    respond(socket, command);
                }
            });
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void respond(QLocalSocket *socket, const QString &command) {
        switch (Mode) {
        case Behaviour::Silent:
            return;
        case Behaviour::HangUp:
            socket->disconnectFromServer();
            return;
        case Behaviour::Garbage: {
            QByteArray frame(8, '\xff');
            socket->write(frame);
            return;
        }
        case Behaviour::Answer:
            break;
        }
        const TGWReply reply = Answers.value(command, Default);
        const QByteArray text = reply.Result.toUtf8();
        QByteArray frame(8, '\0');
        qToBigEndian<qint32>(reply.Status, frame.data());
        qToBigEndian<quint32>(quint32(text.size()), frame.data() + 4);
        socket->write(frame + text);
    }

    QString m_path;
    QLocalServer m_server;
};

} // namespace tarvin::testing
