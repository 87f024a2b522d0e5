#pragma once

#include "mail/GroupWiseCommander.h"

#include <QHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMutex>
#include <QStringList>
#include <QThread>
#include <QtEndian>

namespace tarvin::testing {

// A stand-in for the GroupWise client: listens on a local socket, records every command it
// receives and answers from its script. It reads and writes the channel's frames itself
// (uint32 length + UTF-8 command; int32 status + uint32 length + UTF-8 result, big-endian) so
// that it checks the commander's side of the format rather than sharing its code.
//
// The server runs on a thread of its own, as the real client runs in a process of its own:
// a blocking commander on the test's thread and an asynchronous channel both reach it.
class TStandInGroupWise {
public:
    enum class Behaviour { Answer, Silent, HangUp, Garbage };

    explicit TStandInGroupWise(QString socketPath) : m_path(std::move(socketPath)) {
        m_context.moveToThread(&m_thread);
        m_thread.start();
    }
    ~TStandInGroupWise() {
        onServerThread([this] { m_server.reset(); });
        m_thread.quit();
        m_thread.wait();
    }

    bool Listen() {
        bool listening = false;
        onServerThread([&] {
            m_server = std::make_unique<QLocalServer>();
            QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(),
                             [this] { accept(); });
            QLocalServer::removeServer(m_path);
            m_server->setSocketOptions(QLocalServer::UserAccessOption);
            listening = m_server->listen(m_path);
        });
        return listening;
    }
    void Close() {
        onServerThread([this] { m_server.reset(); });
    }

    // What the client received, in order.
    QStringList Commands() const {
        QMutexLocker lock(&m_mutex);
        return m_commands;
    }
    // Connections accepted so far.
    int Connections() const {
        QMutexLocker lock(&m_mutex);
        return m_connections;
    }
    // Answers by command; others get the default.
    void SetAnswer(const QString &command, const TGWReply &reply) {
        QMutexLocker lock(&m_mutex);
        m_answers[command] = reply;
    }
    void SetDefault(const TGWReply &reply) {
        QMutexLocker lock(&m_mutex);
        m_default = reply;
    }
    void SetMode(Behaviour mode) {
        QMutexLocker lock(&m_mutex);
        m_mode = mode;
    }

private:
    template <typename Fn> void onServerThread(Fn fn) {
        QMetaObject::invokeMethod(&m_context, fn, Qt::BlockingQueuedConnection);
    }

    void accept() {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            {
                QMutexLocker lock(&m_mutex);
                ++m_connections;
            }
            socket->setParent(m_server.get());
            auto buffer = std::make_shared<QByteArray>();
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, buffer] {
                *buffer += socket->readAll();
                while (buffer->size() >= 4) {
                    const quint32 length = qFromBigEndian<quint32>(buffer->constData());
                    if (quint32(buffer->size()) < 4 + length)
                        return;
                    const QString command = QString::fromUtf8(buffer->mid(4, length));
                    buffer->remove(0, 4 + length);
                    respond(socket, command);
                }
            });
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void respond(QLocalSocket *socket, const QString &command) {
        QMutexLocker lock(&m_mutex);
        m_commands.append(command);
        switch (m_mode) {
        case Behaviour::Silent:
            return;
        case Behaviour::HangUp:
            socket->disconnectFromServer();
            return;
        case Behaviour::Garbage:
            socket->write(QByteArray(8, '\xff'));
            return;
        case Behaviour::Answer:
            break;
        }
        const TGWReply reply = m_answers.value(command, m_default);
        const QByteArray text = reply.Result.toUtf8();
        QByteArray frame(8, '\0');
        qToBigEndian<qint32>(reply.Status, frame.data());
        qToBigEndian<quint32>(quint32(text.size()), frame.data() + 4);
        socket->write(frame + text);
    }

    QString m_path;
    QThread m_thread;
    QObject m_context;
    std::unique_ptr<QLocalServer> m_server;
    mutable QMutex m_mutex;
    QStringList m_commands;
    int m_connections = 0;
    QHash<QString, TGWReply> m_answers;
    TGWReply m_default{1, QString()};
    Behaviour m_mode = Behaviour::Answer;
};

} // namespace tarvin::testing
