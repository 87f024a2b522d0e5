#pragma once

#include <QString>

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

class TGroupWiseCommander {
public:
    static constexpr int kStatusSuccess = 1;
    static constexpr int kStatusChannelFailure = 0;
    static constexpr quint32 kMaxTextBytes = 64u << 20;

    // `socketPath` empty: GroupWiseSocketPath(). Nothing is connected before the first command.
    explicit TGroupWiseCommander(QString socketPath = QString());
    ~TGroupWiseCommander();
    TGroupWiseCommander(const TGroupWiseCommander &) = delete;
    TGroupWiseCommander &operator=(const TGroupWiseCommander &) = delete;

    // Sends the command and waits for its answer, keeping repaints going but taking no user
    // input meanwhile. Returns the status and puts the result text in `result`. When the
    // client cannot be reached or does not answer, the status is kStatusChannelFailure and the
    // result says why.
    int Execute(const QString &command, QString &result);
    TGWReply Execute(const QString &command);

    // How long one command may take before it counts as failed (default 60 s).
    void SetTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    QString SocketPath() const { return m_socketPath; }

private:
    bool ensureConnected(QString &reason);
    void disconnect();

    QString m_socketPath;
    int m_timeoutMs = 60000;
    std::unique_ptr<QLocalSocket> m_socket;
};

} // namespace tarvin
