#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace tarvin {

// One viewer per program file and user. The running viewer listens on a local socket in the
// user's private temporary folder, named from a hash of the program's canonical path; a
// second start connects to it, sends its command line (app/InstanceMessage.h), waits for the
// answer and ends. Who serves is decided under an flock'ed lock file beside the socket, so
// two starts at the same moment never both become the viewer; a socket left by a crash is
// removed only after a connection to it was refused.

// The program file's canonical path, as the file system's bytes (/proc/self/exe).
QByteArray CanonicalProgramPath();

// `tempFolder` (with a trailing "/") + "viewer-" + the first 32 hexadecimal digits of the
// SHA-256 of the program path.
QString InstanceSocketPath(const QByteArray &programPath, const QString &tempFolder);

// Limits of the hand-over, in milliseconds.
struct TInstanceTimeouts {
    int Decide = 5000; // the lock, and a connection to a busy viewer
    int Reply = 30000; // the running viewer's answer
};

// The outcome of the start-up check in viewer mode.
struct TViewerStart {
    bool HandedOver = false;  // another viewer took (or refused) the command line: end now
    int ExitStatus = 0;       // when handed over: 0 accepted, 1 refused or not answered
    int ListeningSocket = -1; // else: the socket this process serves on, or -1 to run alone
    QString SocketPath;
};

// Decides whether this process becomes the viewer or hands `arguments` over to the running
// one, which it then does. Needs no application object; runs before any window exists. A
// viewer that goes away between the connection and its answer is replaced: the check runs
// again, so the arguments are never lost to a dying instance. Problems that keep the check
// from working (no private folder, a path too long for a socket) are written to standard
// error and the process runs as a viewer of its own.
TViewerStart StartSingleInstance(const QStringList &arguments, const QString &socketPath,
                                 const TInstanceTimeouts &timeouts = {});

// StartSingleInstance for this program file's socket in the private temporary folder. Without
// that folder the problem is written to standard error and the process runs as a viewer of
// its own.
TViewerStart ClaimViewer(const QStringList &arguments);

// The running viewer's end of the socket. Reads each connection's message without blocking,
// with the limits of ParseInstanceMessage; a client that has not sent a whole message within
// ClientTimeout is dropped; at most MaxClients connections are served at once. A complete
// message is answered (1) at once and then emits ArgumentsReceived, so that the sender ends
// while this process opens what it sent. Invalid messages are answered with 0.
class TInstanceServer : public QObject {
    Q_OBJECT
public:
    static constexpr int ClientTimeout = 3000;
    static constexpr int MaxClients = 16;

    // Takes over the listening socket of StartSingleInstance.
    TInstanceServer(int listeningSocket, QString socketPath, QObject *parent = nullptr);
    // Stops listening and removes the socket, under the lock so that a start deciding at the
    // same moment never loses a socket it has just made.
    ~TInstanceServer() override;

    // Starts accepting connections (those made since the socket was bound have waited).
    bool Listen();

signals:
    // A second start's arguments, as it typed them, and its current folder (empty when none
    // came); see ResolveReceivedArguments.
    void ArgumentsReceived(const QStringList &lines, const QString &senderFolder);

private:
    void acceptConnections();
    void serve(QLocalSocket *socket);

    int m_listeningSocket;
    QString m_socketPath;
    QLocalServer *m_server;
    int m_clients = 0;
};

} // namespace tarvin
