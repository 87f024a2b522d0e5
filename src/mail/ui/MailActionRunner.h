#pragma once

#include "mail/SendMailHelper.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace tarvin {

class TGWMessage;

// What a viewer hands over for one reply or forward.
struct TMailRequest {
    TMailCommand Command = TMailCommand::Reply;
    // The viewer's loaded message; read while Start() runs, not afterwards (the helper keeps
    // its fields, and forwards a copy of the message).
    const TGWMessage *Message = nullptr;
    // The viewer's work folder ("/" at the end), asked for once the action goes ahead.
    std::function<QString()> WorkFolder;
    // The window the dialogs and messages belong to (may go away meanwhile).
    QPointer<QWidget> Owner;
};

// Runs one reply or forward of a saved message: decides how (GroupWise natively, simulated,
// or the desktop's mail client) with the information messages and the "Message Not
// Available" dialog, asks the "Reply" dialog for "Reply", then writes the files and drives
// GroupWise or the mail client. Talking to GroupWise and waiting for it happen on a worker
// thread; meanwhile the windows stay responsive and a small window offers to cancel. Dialogs
// and messages go through Desktop(). The runner deletes itself when the action is over.
class TMailActionRunner : public QObject {
    Q_OBJECT
public:
    // Starts the action; returns the runner, which is gone once Finished() was emitted.
    static TMailActionRunner *Start(const TMailRequest &request);
    ~TMailActionRunner() override;

    // Stops a wait for GroupWise or the mail client.
    void Cancel();
    // The mode chosen (smNone until decided or when nothing is sent).
    TSendMode Mode() const { return m_mode; }

    // For tests: the command channel's socket ("" for the usual one) and the time limit of the
    // waiting loops of runners started from now on.
    static void SetSocketPathForTesting(const QString &path);
    static void SetWaitLimitForTesting(int milliseconds);

signals:
    // The action is over (sent, cancelled or failed); the runner is deleted afterwards.
    void Finished();

private:
    explicit TMailActionRunner(const TMailRequest &request);
    void prepare();
    void start();
    void checked(bool available, const QString &userId);
    void proceed(TSendMode mode);
    void sent(const QString &error, bool cancelled);
    // Runs `work` on a worker thread, then `done` with its error text ("" when none) here.
    void runOnWorker(std::function<void()> work, QString waitText,
                     std::function<void(const QString &, bool)> done);
    void showError(const QString &text);
    void showInformation(const QString &text);
    void finish();

    TMailRequest m_request;
    std::shared_ptr<TGWMessageSendMailHelper> m_helper;
    std::shared_ptr<std::atomic_bool> m_cancel;
    QByteArray m_messageXml; // a copy of the message for the worker (forwards)
    TSendMode m_mode = TSendMode::smNone;
    QPointer<QProgressDialog> m_progress;
};

} // namespace tarvin
