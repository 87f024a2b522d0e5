#include "mail/MailClient.h"

#include "base/Error.h"
#include "util/DesktopApps.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>

#include <memory>

namespace tarvin {

QStringList XdgEmailArguments(const TMailClientMessage &message) {
    QStringList arguments{QStringLiteral("--utf8")};
    auto add = [&arguments](const char *option, const QString &value) {
        if (!value.isEmpty())
            arguments << QLatin1String(option) << value;
    };
    for (const QString &address : message.To)
        add("--to", address);
    for (const QString &address : message.CC)
        add("--cc", address);
    add("--subject", message.Subject);
    // xdg-email writes every LF as CR LF into the mailto address itself and passes a CR on as
    // %0D, so CR LF in the text would reach the mail client as CR CR LF: hand it LF only.
    QString body = message.Body;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    add("--body", body);
    for (const QString &path : message.Attachments)
        add("--attach", path);
    return arguments;
}

bool IsMailClientInstalled() {
    if (QStandardPaths::findExecutable(QLatin1String(kMailClientProgram)).isEmpty())
        return false;
    return DefaultAppForType(QStringLiteral("x-scheme-handler/mailto")).has_value();
}

namespace {

// Lets a program run on after its caller stops waiting: the process object moves to the
// application's thread, keeps draining the program's error output and is deleted when the
// program ends. It is never deleted before, so the program is never killed, not even when
// Tarvin ends first.
void keepRunning(std::unique_ptr<QProcess> process) {
    QCoreApplication *app = QCoreApplication::instance();
    if (!app) {
        (void)process.release();
        return;
    }
    QProcess *kept = process.release();
    kept->moveToThread(app->thread());
    QMetaObject::invokeMethod(app, [kept] {
        QObject::connect(kept, &QProcess::readyReadStandardError, kept,
                         [kept] { kept->readAllStandardError(); });
        QObject::connect(kept, &QProcess::finished, kept, &QObject::deleteLater);
        if (kept->state() == QProcess::NotRunning)
            kept->deleteLater();
    });
}

} // namespace

void RunMailClient(const QString &program, const QStringList &arguments,
                   const std::atomic_bool *cancel, int waitMs) {
    QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        throw Error(QStringLiteral("Cannot start %1: the program was not found.").arg(program));
    auto process = std::make_unique<QProcess>();
    process->setProgram(path);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted())
        throw Error(QStringLiteral("Cannot start %1: %2").arg(program, process->errorString()));
    QDeadlineTimer deadline(waitMs);
    while (process->state() != QProcess::NotRunning) {
        if (deadline.hasExpired() || (cancel && cancel->load())) {
            keepRunning(std::move(process));
            return;
        }
        process->waitForFinished(100);
    }
    const QString errors = QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
    if (process->exitStatus() != QProcess::NormalExit)
        throw Error(QStringLiteral("%1 ended abnormally.%2")
                        .arg(program, errors.isEmpty() ? QString() : QLatin1Char('\n') + errors));
    if (process->exitCode() != 0)
        throw Error(QStringLiteral("%1 failed with exit status %2.%3")
                        .arg(program)
                        .arg(process->exitCode())
                        .arg(errors.isEmpty() ? QString() : QLatin1Char('\n') + errors));
}

} // namespace tarvin
