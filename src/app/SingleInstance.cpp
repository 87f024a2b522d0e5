#include "app/SingleInstance.h"

#include "app/InstanceLock.h"
#include "app/InstanceMessage.h"
#include "base/Error.h"
#include "util/NativePath.h"
#include "util/WorkFolder.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QThread>
#include <QtEndian>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tarvin {

namespace {

void warn(const QString &text) {
    const QByteArray line = "tarvin: " + text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool socketAddress(const QByteArray &path, sockaddr_un &address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

struct TConnection {
    int Fd = -1;
    int Error = 0;
};

// Connects without blocking. A full backlog (a viewer too busy to accept) is tried again until
// the deadline; a refused connection or a missing socket comes back at once.
TConnection connectTo(const QByteArray &path, const QDeadlineTimer &deadline) {
    sockaddr_un address;
    if (!socketAddress(path, address))
        return {-1, ENAMETOOLONG};
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0)
            return {-1, errno};
        if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
            return {fd, 0};
        const int error = errno;
        ::close(fd);
        if ((error != EAGAIN && error != EINTR) || deadline.hasExpired())
            return {-1, error};
        QThread::msleep(10);
    }
}

int bindAndListen(const QByteArray &path, int &error) {
    sockaddr_un address;
    if (!socketAddress(path, address)) {
        error = ENAMETOOLONG;
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::chmod(path.constData(), 0600) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        error = errno;
        ::close(fd);
        return -1;
    }
    return fd;
}

enum class TSendResult { Accepted, Refused, Closed, TimedOut };

// Writes the frame and reads the four-byte answer, each step bounded by the deadline.
TSendResult sendFrame(int fd, const QByteArray &frame, const QDeadlineTimer &deadline) {
    auto waitFor = [&](short events) {
        pollfd entry{fd, events, 0};
        for (;;) {
            const int left = int(qMin<qint64>(deadline.remainingTime(), 1000 * 1000));
            const int ready = ::poll(&entry, 1, left);
            if (ready > 0)
                return true;
            if (ready == 0 || errno != EINTR)
                return false;
        }
    };
    qsizetype written = 0;
    while (written < frame.size()) {
        if (!waitFor(POLLOUT))
            return TSendResult::TimedOut;
        const ssize_t n =
            ::send(fd, frame.constData() + written, size_t(frame.size() - written), MSG_NOSIGNAL);
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return TSendResult::Closed;
        if (n > 0)
            written += n;
    }
    char answer[4];
    size_t got = 0;
    while (got < sizeof answer) {
        if (!waitFor(POLLIN))
            return TSendResult::TimedOut;
        const ssize_t n = ::recv(fd, answer + got, sizeof answer - got, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            return TSendResult::Closed;
        if (n > 0)
            got += size_t(n);
    }
    return qFromBigEndian<qint32>(answer) == qint32(TInstanceReply::Accepted)
               ? TSendResult::Accepted
               : TSendResult::Refused;
}

QByteArray currentFolder() {
    char *folder = ::getcwd(nullptr, 0);
    if (!folder)
        return QByteArray();
    const QByteArray result(folder);
    std::free(folder);
    return result;
}

} // namespace

QByteArray CanonicalProgramPath() {
    QByteArray buffer(4096, Qt::Uninitialized);
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), size_t(buffer.size()));
    return n > 0 && n < buffer.size() ? buffer.left(n) : QByteArray();
}

QString InstanceSocketPath(const QByteArray &programPath, const QString &tempFolder) {
    const QByteArray hash = QCryptographicHash::hash(programPath, QCryptographicHash::Sha256);
    return tempFolder + QStringLiteral("viewer-") + QString::fromLatin1(hash.toHex().left(32));
}

TViewerStart StartSingleInstance(const QStringList &arguments, const QString &socketPath,
                                 const TInstanceTimeouts &timeouts) {
    TViewerStart start;
    start.SocketPath = socketPath;
    const QByteArray path = EncodeNativePath(socketPath);
    const QByteArray frame = EncodeInstanceMessage(WithoutQtOptions(arguments), currentFolder());
    auto handedOver = [&](int status, const QString &problem) {
        if (!problem.isEmpty())
            warn(problem);
        start.HandedOver = true;
        start.ExitStatus = status;
        return start;
    };
    // A viewer that closes between our connection and its answer is replaced by this process:
    // the next round finds its socket refused or gone.
    for (int round = 0; round < 3; ++round) {
        int connected = -1;
        {
            TInstanceLock lock(path, timeouts.Decide);
            const TConnection connection = connectTo(path, QDeadlineTimer(timeouts.Decide));
            if (connection.Fd >= 0) {
                connected = connection.Fd;
            } else if (connection.Error == EAGAIN) {
                return handedOver(1, QStringLiteral("the running viewer does not accept the "
                                                    "command line."));
            } else if (!lock.Locked()) {
                warn(QStringLiteral("cannot lock '%1.lock'; running without hand-over.")
                         .arg(socketPath));
                return start;
            } else if (connection.Error == ECONNREFUSED || connection.Error == ENOENT) {
                // Refused: the socket is left from a viewer that ended without removing it.
                // Only a socket is removed; anything else at that name is left alone.
                struct stat st {};
                if (connection.Error == ECONNREFUSED &&
                    (::lstat(path.constData(), &st) != 0 || !S_ISSOCK(st.st_mode) ||
                     ::unlink(path.constData()) != 0)) {
                    warn(QStringLiteral("cannot remove '%1'; running without hand-over.")
                             .arg(socketPath));
                    return start;
                }
                int error = 0;
                start.ListeningSocket = bindAndListen(path, error);
                if (start.ListeningSocket < 0)
                    warn(QStringLiteral("cannot listen on '%1': %2; running without hand-over.")
                             .arg(socketPath, errorText(error)));
                return start;
            } else {
                warn(QStringLiteral("cannot connect to '%1': %2; running without hand-over.")
                         .arg(socketPath, errorText(connection.Error)));
                return start;
            }
        }
        if (frame.isEmpty()) {
            ::close(connected);
            return handedOver(1, QStringLiteral("the command line is too long to hand over."));
        }
        const TSendResult result = sendFrame(connected, frame, QDeadlineTimer(timeouts.Reply));
        ::close(connected);
        switch (result) {
        case TSendResult::Accepted:
            return handedOver(0, QString());
        case TSendResult::Refused:
            return handedOver(1, QStringLiteral("the running viewer refused the command line."));
        case TSendResult::TimedOut:
            return handedOver(1, QStringLiteral("the running viewer did not answer."));
        case TSendResult::Closed:
            break;
        }
    }
    return handedOver(1, QStringLiteral("the running viewer went away."));
}

TViewerStart ClaimViewer(const QStringList &arguments) {
    try {
        return StartSingleInstance(arguments,
                                   InstanceSocketPath(CanonicalProgramPath(), PrivateTempFolder()));
    } catch (const Error &error) {
        // No private folder: run as a viewer of our own rather than not at all.
        warn(error.message());
        return TViewerStart();
    }
}

} // namespace tarvin
