#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace tarvin {

class TGWMessage;

// Reads a message file into a TGWMessage (the part of a load that may block). Replaceable for
// tests through TMessageLoader::SetReadFunction.
using TMessageReadFunction = std::function<std::unique_ptr<TGWMessage>(const QString &path)>;

// How a load ended.
enum class TMessageLoadOutcome {
    Loaded,  // the message was read
    Missing, // no file by that name
    Refused, // no regular file (a named pipe, a device, a socket, a folder): see the error text
    Failed,  // it could not be read or parsed: see the error text
};

// The load error for `path`: "Cannot load file:", the path as given, and the reason.
QString MessageLoadError(const QString &path, const QString &reason);

// Refuses a path that does not lead to a regular file (after following links): a named pipe,
// a device or a socket could block the first read, or the open itself, and a folder is no
// message. Only the file's status is asked for; nothing is opened. Returns Loaded for a
// regular file, Missing when there is nothing by that name, Refused for anything else but a
// regular file and Failed when its status cannot be read, with the error text in `error`
// ("Cannot load file:" naming the path).
TMessageLoadOutcome CheckMessageFile(const QString &path, QString *error);

// Reads one message file at a time off the user-interface thread: the check above, then the
// read and parse on a thread of its own, the result delivered on the thread that owns the
// loader through Finished. Starting another load, Cancel() or the loader's end abandon the
// load running: its result is dropped when it comes, nothing waits for it, and the thread
// frees what it read by itself (a read that never returns, as from a stalled network mount,
// only keeps its own thread). Every failure of the read, an allocation failure included,
// comes back as the load error naming the file.
class TMessageLoader : public QObject {
    Q_OBJECT
public:
    explicit TMessageLoader(QObject *parent = nullptr);
    ~TMessageLoader() override;

    // Starts reading `path`, abandoning a load still running.
    void Start(const QString &path);
    // Abandons the load running (nothing is reported).
    void Cancel();
    bool IsLoading() const { return m_current != nullptr; }
    // The file of the running load, or of the load just finished.
    QString Path() const { return m_path; }

    // The message read; to be taken while Finished is delivered (null afterwards).
    std::unique_ptr<TGWMessage> TakeMessage();

    // The read that loads use from now on (tests slow it down); an empty function restores
    // TGWMessage::LoadFromFile.
    static void SetReadFunction(TMessageReadFunction read);

signals:
    // The load of `path` has ended; `error` holds the load error when it failed.
    void Finished(const QString &path, tarvin::TMessageLoadOutcome outcome, const QString &error);

private:
    struct Shared;
    void deliver(const std::shared_ptr<Shared> &shared);

    std::shared_ptr<Shared> m_current;
    std::unique_ptr<TGWMessage> m_message;
    QString m_path;
};

} // namespace tarvin
