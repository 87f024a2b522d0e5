#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

namespace tarvin::viewtest {

// Processes events until `done` holds or `msecs` have passed; returns `done()`.
inline bool WaitFor(const std::function<bool()> &done, int msecs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < msecs) {
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

} // namespace tarvin::viewtest
