#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tarvin {

// An exclusive flock on `path` + ".lock", held for the object's lifetime. The lock file is
// never removed: removing it would let two processes lock two different files.
class TInstanceLock {
public:
    TInstanceLock(const QByteArray &socketPath, int timeoutMs) {
        const QByteArray path = socketPath + ".lock";
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0)
            return;
        QDeadlineTimer deadline(timeoutMs);
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) {
                ::close(m_fd);
                m_fd = -1;
                return;
            }
            QThread::msleep(5);
        }
    }
    ~TInstanceLock() {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    TInstanceLock(const TInstanceLock &) = delete;
    TInstanceLock &operator=(const TInstanceLock &) = delete;
    bool Locked() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace tarvin
