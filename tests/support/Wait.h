#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

namespace tarvin::testing {

// Processes events until `done` holds or `msecs` have passed; returns `done()`. The one place
// where tests wait: every wait has a deadline.
inline bool WaitFor(const std::function<bool()> &done, int msecs = 20000) {
    QDeadlineTimer deadline(msecs);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
    return done();
}

// Processes pending events, deferred deletes included.
inline void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

} // namespace tarvin::testing
