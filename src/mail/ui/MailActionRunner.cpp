#include "mail/ui/MailActionRunner.h"

#include "base/DesktopServices.h"
#include "mail/ui/MessageNotAvailableForm.h"
#include "mail/ui/ReplyForm.h"
#include "model/GWMessage.h"
#include "model/XmlDocument.h"

#include <QApplication>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

namespace tarvin {

namespace {

QString g_socketPath;
int g_waitLimitMs = TSendMailHelper::kDefaultWaitLimitMs;
// The wait window shows up only when a wait lasts longer than this.
constexpr int kProgressDelayMs = 500;

} // namespace

void TMailActionRunner::SetSocketPathForTesting(const QString &path) {
    g_socketPath = path;
}

void TMailActionRunner::SetWaitLimitForTesting(int milliseconds) {
    g_waitLimitMs = milliseconds;
}

TMailActionRunner *TMailActionRunner::Start(const TMailRequest &request) {
    auto *runner = new TMailActionRunner(request);
    // From the event loop, so that the caller can connect to Finished() first; the message is
    // read here, while the caller still holds it.
    runner->prepare();
    QMetaObject::invokeMethod(runner, &TMailActionRunner::start, Qt::QueuedConnection);
    return runner;
}

TMailActionRunner::TMailActionRunner(const TMailRequest &request)
    : m_request(request), m_cancel(std::make_shared<std::atomic_bool>(false)) {}

TMailActionRunner::~TMailActionRunner() {
    // A worker still running stops at its next look at the flag.
    m_cancel->store(true);
    delete m_progress;
}

void TMailActionRunner::Cancel() {
    m_cancel->store(true);
}

void TMailActionRunner::showError(const QString &text) {
    Desktop().ShowError(m_request.Owner, QApplication::applicationDisplayName(), text);
}

void TMailActionRunner::showInformation(const QString &text) {
    Desktop().ShowInformation(m_request.Owner, QApplication::applicationDisplayName(), text);
}

void TMailActionRunner::finish() {
    delete m_progress;
    emit Finished();
    deleteLater();
}

void TMailActionRunner::prepare() {
    if (!m_request.Message)
        return;
    m_helper = std::make_shared<TGWMessageSendMailHelper>(m_request.Message);
    m_helper->SetSocketPath(g_socketPath);
    m_helper->SetWaitLimit(g_waitLimitMs);
    m_helper->SetCancelFlag(m_cancel.get());
    ApplyMailCommand(*m_helper, m_request.Command);
    // Forwards read the attachments on the worker, from a copy of their own: the viewer may
    // show another message (and free this one) before the files are written.
    if (m_helper->Action != TMailActionKind::maReply && m_request.Message->Document())
        m_messageXml = m_request.Message->Document()->ToXml();
    // From here on the helper never reaches the viewer's message.
    m_helper->AdoptMessageCopy(nullptr);
    m_request.Message = nullptr;
}

void TMailActionRunner::start() {
    if (!m_helper) {
        finish();
        return;
    }
    if (m_helper->IsGroupWiseInstalled()) {
        if (!m_helper->IsGroupWiseRunning()) {
            showInformation(QStringLiteral(
                "GroupWise is not running.  Please restart GroupWise, then try again."));
            finish();
            return;
        }
        auto available = std::make_shared<bool>(false);
        auto userId = std::make_shared<QString>();
        std::shared_ptr<TGWMessageSendMailHelper> helper = m_helper;
        runOnWorker(
            [helper, available, userId] {
                *available = helper->IsMessageAvailable();
                if (!*available)
                    *userId = helper->GetUserID();
            },
            QStringLiteral("Asking GroupWise for the message..."),
            [this, available, userId](const QString &error, bool cancelled) {
                if (!error.isEmpty() || cancelled) {
                    if (!cancelled)
                        showError(error);
                    finish();
                    return;
                }
                checked(*available, *userId);
            });
        return;
    }
    if (m_helper->IsMailClientInstalled()) {
        proceed(TSendMode::smMailClient);
        return;
    }
    showInformation(QStringLiteral("No email client is installed."));
    finish();
}

void TMailActionRunner::checked(bool available, const QString &userId) {
    if (available) {
        proceed(TSendMode::smNative);
        return;
    }
    const int answer = TMessageNotAvailableForm::Execute(userId, m_helper->Account,
                                                         m_helper->Subject, m_request.Owner);
    proceed(answer == 3   ? TSendMode::smSimulate
            : answer == 1 ? TSendMode::smRetry
                          : TSendMode::smNone);
}

void TMailActionRunner::proceed(TSendMode mode) {
    m_mode = mode;
    if (mode == TSendMode::smNone || mode == TSendMode::smRetry) {
        m_mode = TSendMode::smNone;
        finish();
        return;
    }
    if (m_request.Command == TMailCommand::Reply) {
        // On the heap: when the owner goes while the dialog runs, it takes the dialog along.
        QPointer<TReplyForm> form = new TReplyForm(m_request.Owner);
        const bool accepted = Desktop().ExecDialog(form) == QDialog::Accepted && form;
        if (form) {
            m_helper->ReplyTo = form->ReplyTo();
            m_helper->IncludeMessage = form->IncludeMessage();
            delete form.data();
        }
        if (!accepted) {
            m_mode = TSendMode::smNone;
            finish();
            return;
        }
    }
    try {
        if (m_request.WorkFolder)
            m_helper->SetWorkFolder(m_request.WorkFolder());
    } catch (const Error &error) {
        showError(error.message());
        finish();
        return;
    }
    std::shared_ptr<TGWMessageSendMailHelper> helper = m_helper;
    const QByteArray xml = m_messageXml;
    m_messageXml.clear();
    runOnWorker(
        [helper, xml, mode] {
            if (!xml.isEmpty()) {
                auto copy = std::make_unique<TGWMessage>();
                copy->LoadFromXml(xml);
                helper->AdoptMessageCopy(std::move(copy));
            }
            helper->Send(mode);
        },
        mode == TSendMode::smMailClient ? QStringLiteral("Starting the mail client...")
                                        : QStringLiteral("Waiting for GroupWise..."),
        [this](const QString &error, bool cancelled) { sent(error, cancelled); });
}

void TMailActionRunner::sent(const QString &error, bool cancelled) {
    if (!error.isEmpty() && !cancelled)
        showError(error);
    finish();
}

void TMailActionRunner::runOnWorker(std::function<void()> work, QString waitText,
                                    std::function<void(const QString &, bool)> done) {
    QPointer<TMailActionRunner> self(this);
    QThread *thread =
        QThread::create([self, helper = m_helper, work = std::move(work), done = std::move(done)] {
            QString error;
            bool wasCancelled = false;
            try {
                work();
            } catch (const TMailActionCancelled &) {
                wasCancelled = true;
            } catch (const Error &e) {
                error = e.message();
            } catch (const std::exception &e) {
                error = QString::fromLocal8Bit(e.what());
            }
            // The connection was made on this thread; the next step runs on another.
            helper->ReleaseCommander();
            // Back on the application's thread, unless the runner is gone meanwhile.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, done, error, wasCancelled] {
                    if (self)
                        done(error, wasCancelled);
                },
                Qt::QueuedConnection);
        });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);

    auto *progress =
        new QProgressDialog(waitText, QStringLiteral("Cancel"), 0, 0, m_request.Owner.data());
    progress->setWindowTitle(QApplication::applicationDisplayName());
    progress->setWindowModality(Qt::NonModal);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(kProgressDelayMs);
    progress->setValue(0);
    connect(progress, &QProgressDialog::canceled, this, &TMailActionRunner::Cancel);
    delete m_progress;
    m_progress = progress;
    thread->start();
}

} // namespace tarvin
