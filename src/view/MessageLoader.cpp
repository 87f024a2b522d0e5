#include "view/MessageLoader.h"

#include "base/Error.h"
#include "model/GWMessage.h"
#include "util/NativePath.h"

#include <QDir>
#include <QPointer>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <new>
#include <sys/stat.h>
#include <system_error>
#include <thread>

namespace tarvin {

namespace {

QString kindOfFile(mode_t mode) {
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    return QStringLiteral("no regular file");
}

std::unique_ptr<TGWMessage> readMessageFile(const QString &path) {
    auto message = std::make_unique<TGWMessage>();
    message->LoadFromFile(path);
    return message;
}

std::mutex g_readMutex;
TMessageReadFunction g_read; // empty: readMessageFile

TMessageReadFunction currentRead() {
    std::lock_guard<std::mutex> lock(g_readMutex);
    return g_read ? g_read : TMessageReadFunction(readMessageFile);
}

// What a load thread hands back.
struct TLoadResult {
    QString Path;
    TMessageLoadOutcome Outcome = TMessageLoadOutcome::Failed;
    QString Error;
    std::unique_ptr<TGWMessage> Message;
};

// Runs on the load thread; never throws.
void runLoad(TLoadResult &result, const TMessageReadFunction &read) {
    try {
        result.Outcome = CheckMessageFile(result.Path, &result.Error);
        if (result.Outcome != TMessageLoadOutcome::Loaded)
            return;
        result.Message = read(result.Path);
        if (!result.Message) {
            result.Outcome = TMessageLoadOutcome::Failed;
            result.Error =
                MessageLoadError(result.Path, QStringLiteral("The file could not be read."));
        }
        return;
    } catch (const Error &error) {
        result.Error = error.message();
    } catch (const std::bad_alloc &) {
        result.Error = MessageLoadError(result.Path,
                                        QStringLiteral("Not enough memory to load this message."));
    } catch (const std::exception &error) {
        result.Error = MessageLoadError(result.Path, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        result.Error = MessageLoadError(result.Path, QStringLiteral("Unknown error."));
    }
    result.Message.reset();
    result.Outcome = TMessageLoadOutcome::Failed;
}

} // namespace

QString MessageLoadError(const QString &path, const QString &reason) {
    return QStringLiteral("Cannot load file:\r\n\r\n%1\r\n\r\n%2").arg(DisplayPath(path), reason);
}

TMessageLoadOutcome CheckMessageFile(const QString &path, QString *error) {
    const QString absolute =
        QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path);
    struct stat st;
    if (::stat(EncodeNativePath(absolute).constData(), &st) != 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR)
            return TMessageLoadOutcome::Missing;
        if (error)
            *error = MessageLoadError(path, QString::fromLocal8Bit(std::strerror(err)));
        return TMessageLoadOutcome::Failed;
    }
    if (!S_ISREG(st.st_mode)) {
        if (error)
            *error = MessageLoadError(
                path,
                QStringLiteral("The file is %1, not a regular file.").arg(kindOfFile(st.st_mode)));
        return TMessageLoadOutcome::Refused;
    }
    return TMessageLoadOutcome::Loaded;
}

// Shared between a loader and the thread of one load. The receiver is cleared (under the lock)
// when the loader abandons the load, so the thread only ever posts to a living loader.
struct TMessageLoader::Shared {
    std::mutex Mutex;
    TMessageLoader *Receiver = nullptr;
    std::shared_ptr<TLoadResult> Result;
};

TMessageLoader::TMessageLoader(QObject *parent) : QObject(parent) {}

TMessageLoader::~TMessageLoader() {
    Cancel();
}

void TMessageLoader::SetReadFunction(TMessageReadFunction read) {
    std::lock_guard<std::mutex> lock(g_readMutex);
    g_read = std::move(read);
}

void TMessageLoader::Cancel() {
    if (!m_current)
        return;
    {
        std::lock_guard<std::mutex> lock(m_current->Mutex);
        m_current->Receiver = nullptr;
    }
    m_current.reset();
}

void TMessageLoader::Start(const QString &path) {
    Cancel();
    m_message.reset();
    m_path = path;
    auto shared = std::make_shared<Shared>();
    shared->Receiver = this;
    shared->Result = std::make_shared<TLoadResult>();
    shared->Result->Path = path;
    m_current = shared;
    TMessageReadFunction read = currentRead();
    try {
        // Detached: a read that never returns must not hold up anything, the program's end
        // included. The thread owns what it uses; its result waits in `shared` (the loader
        // does not look at it before it is delivered).
        std::thread([shared, read = std::move(read)] {
            runLoad(*shared->Result, read);
            std::lock_guard<std::mutex> lock(shared->Mutex);
            TMessageLoader *receiver = shared->Receiver;
            if (!receiver)
                return; // abandoned: what was read goes with this thread
            try {
                QMetaObject::invokeMethod(
                    receiver, [receiver, shared] { receiver->deliver(shared); },
                    Qt::QueuedConnection);
            } catch (...) {
                // No memory to post the result: the load stays unanswered, as if cancelled.
            }
        }).detach();
    } catch (const std::system_error &error) {
        shared->Result->Error = MessageLoadError(
            path,
            QStringLiteral("No thread to read it: %1").arg(QString::fromLocal8Bit(error.what())));
        QMetaObject::invokeMethod(
            this, [this, shared] { deliver(shared); }, Qt::QueuedConnection);
    }
}

void TMessageLoader::deliver(const std::shared_ptr<Shared> &shared) {
    if (shared != m_current)
        return; // superseded or cancelled meanwhile
    m_current.reset();
    const std::shared_ptr<TLoadResult> result = shared->Result;
    m_message = std::move(result->Message);
    QPointer<TMessageLoader> self(this);
    emit Finished(result->Path, result->Outcome, result->Error);
    // A message nobody took is not kept (the loader may be gone by now).
    if (self)
        m_message.reset();
}

std::unique_ptr<TGWMessage> TMessageLoader::TakeMessage() {
    return std::move(m_message);
}

} // namespace tarvin
