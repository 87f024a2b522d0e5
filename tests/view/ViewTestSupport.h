#pragma once

#include "base/Error.h"
#include "view/ui/FrameDesktop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>
#include <vector>

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

// A desktop that records what the viewer asks of it instead of starting programs or
// showing dialogs.
struct RecordingDesktop {
    std::vector<QString> Opened, OpenedInEditor, Errors;
    std::vector<TSaveDialogRequest> SaveRequests;
    QString SaveAnswer;   // the path the save dialog "chooses"; "" cancels
    QString FailOpenWith; // when set, opening raises an error with this text

    TFrameDesktop Desktop() {
        TFrameDesktop desktop;
        desktop.OpenFile = [this](const QString &path) {
            if (!FailOpenWith.isEmpty())
                throw Error(FailOpenWith);
            Opened.push_back(path);
        };
        desktop.OpenInTextEditor = [this](const QString &path) { OpenedInEditor.push_back(path); };
        desktop.AskSaveFileName = [this](QWidget *, const TSaveDialogRequest &request) {
            SaveRequests.push_back(request);
            return SaveAnswer;
        };
        desktop.ShowError = [this](QWidget *, const QString &, const QString &text) {
            Errors.push_back(text);
        };
        return desktop;
    }
};

} // namespace tarvin::viewtest
