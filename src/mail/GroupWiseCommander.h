#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <memory>

class QLocalSocket;

namespace tarvin {

// The command channel to the GroupWise client.
//
// The client listens on a local (Unix domain) socket named "GroupWiseCommander" in the user's
// private temporary folder (util/WorkFolder.h: "$XDG_RUNTIME_DIR/tarvin/GroupWiseCommander", or
// "<temp>/tarvin-<uid>/GroupWiseCommander"), a folder of mode 0700 that only its owner can
// reach. A connection carries any number of requests, one at a time, each answered before the
// next is sent:
//
//   request:  uint32 n, then n bytes: the command text in UTF-8
//   answer:   int32 status, uint32 m, then m bytes: the result text in UTF-8
//
// All integers are big-endian; n and m are at most 64 MiB. Status 1 is success and the result
// is the command's return value; any other status is failure and the result is the reason.
//
// Two ways to talk to it: TGroupWiseChannel on the user-interface thread (asynchronous, answers
// come as signals) and TGroupWiseCommander for worker threads and other headless callers
// (blocking, no event loop of its own).

// The answer to one command.
struct TGWReply {
    int Status = 0;
    QString Result;
    bool Succeeded() const { return Status == 1; }
};

// Where the client's socket lies (the private temporary folder is made if missing).
QString GroupWiseSocketPath();

// The client counts as installed when an executable "grpwise" is found on PATH.
bool IsGroupWiseInstalled();

// The client counts as running when its socket accepts a connection.
bool IsGroupWiseRunning(const QString &socketPath = QString());

// Raises Error("<className>.<operation>: <result>") when the reply is a failure, the form in
// which callers report failed commands ("TSendMailHelper.GetUserID: ...").
void CheckGWReply(const TGWReply &reply, const QString &className, const QString &operation);

namespace gwchannel {

constexpr int kStatusSuccess = 1;
constexpr int kStatusChannelFailure = 0;
constexpr quint32 kMaxTextBytes = 64u << 20;
constexpr int kConnectTimeoutMs = 2000;
constexpr int kDefaultTimeoutMs = 60000;

// The request frame for a command, or an empty array when the command is too long.
QByteArray EncodeRequest(const QString &command);

// Reads one answer frame from the bytes received so far.
class TAnswerReader {
public:
    enum class State { Incomplete, Complete, Broken };
    State Add(const QByteArray &bytes);
    TGWReply Reply() const;

private:
    QByteArray m_buffer;
    State m_state = State::Incomplete;
};

// The failure replies of the channel itself (status kStatusChannelFailure).
TGWReply NotRunning();
TGWReply TooLong();
TGWReply TimedOut(int timeoutMs);
TGWReply Unreadable();
TGWReply Closed();

} // namespace gwchannel

// Blocking commands for worker threads and headless callers: waits on the socket itself, so
// it never runs an event loop and never re-enters the caller. Not for the user-interface
// thread, where TGroupWiseChannel keeps windows responsive.
class TGroupWiseCommander {
public:
    static constexpr int kStatusSuccess = gwchannel::kStatusSuccess;
    static constexpr int kStatusChannelFailure = gwchannel::kStatusChannelFailure;
    static constexpr quint32 kMaxTextBytes = gwchannel::kMaxTextBytes;

    // `socketPath` empty: GroupWiseSocketPath(). Nothing is connected before the first command.
    explicit TGroupWiseCommander(QString socketPath = QString());
    ~TGroupWiseCommander();
    TGroupWiseCommander(const TGroupWiseCommander &) = delete;
    TGroupWiseCommander &operator=(const TGroupWiseCommander &) = delete;

    // Sends the command and waits for its answer. Returns the status and puts the result text
    // in `result`. When the client cannot be reached or does not answer, the status is
    // kStatusChannelFailure and the result says why.
    int Execute(const QString &command, QString &result);
    TGWReply Execute(const QString &command);

    // How long one command may take before it counts as failed (default 60 s).
    void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    QString SocketPath() const { return m_socketPath; }

private:
    bool ensureConnected(TGWReply &failure);
    void disconnect();

    QString m_socketPath;
    int m_timeoutMs = gwchannel::kDefaultTimeoutMs;
    std::unique_ptr<QLocalSocket> m_socket;
};

// Asynchronous commands on the thread that owns the object: Send() queues a command and
// returns at once; Answered() reports each answer (or the channel's failure) in the order the
// commands were sent. Nothing waits, so a window that drives it may close at any time;
// deleting the channel drops the commands still queued without answering them.
class TGroupWiseChannel : public QObject {
    Q_OBJECT
public:
    explicit TGroupWiseChannel(QString socketPath = QString(), QObject *parent = nullptr);
    ~TGroupWiseChannel() override;

    // Queues the command; returns its number, which Answered() carries.
    quint64 Send(const QString &command);

    void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    // Commands sent and not yet answered.
    int Pending() const { return int(m_queue.size()); }

signals:
    void Answered(quint64 request, const tarvin::TGWReply &reply);

private:
    struct TRequest {
        quint64 Id;
        QString Command;
    };
    void startNext();
    void connected();
    void readAnswer();
    void socketLost();
    // Ends the command under way with the reply; a failed exchange also drops the connection.
    void finish(const TGWReply &reply, bool exchangeComplete);

    QString m_socketPath;
    int m_timeoutMs = gwchannel::kDefaultTimeoutMs;
    quint64 m_nextId = 1;
    std::deque<TRequest> m_queue;
    bool m_busy = false;
    bool m_linkUp = false;
    gwchannel::TAnswerReader m_reader;
    QLocalSocket *m_socket = nullptr;
    QTimer m_timer;
};

} // namespace tarvin
