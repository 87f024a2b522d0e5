#pragma once

#include "search/SearchCriteria.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

class QThread;

namespace tarvin {

class TFindFile;

// The find window's side of the search engine. Start runs a TFindFile on a worker thread of its
// own; its reports arrive as signals on the thread that owns this object (the user-interface
// thread), in the order the worker made them, and SearchFinish comes after the worker has
// ended. A window connects to the signals once and drives the search with Start and Stop.
//
//   Find button:  search.Start(criteria)   -> SearchBegin, FolderChange..., FileMatch...,
//                                             Problem..., SearchFinish(aborted)
//   Stop button:  search.Stop()            -> SearchFinish(true) once the worker has ended
//   After a completed search, a changed folder: search.SearchFolderNow(folder), on the calling
//   thread with the same criteria; its hits arrive through FileMatch before it returns.
class TFileSearch : public QObject {
    Q_OBJECT
public:
    explicit TFileSearch(QObject *parent = nullptr);
    ~TFileSearch() override; // stops a running search and waits for its worker

    // Starts a search. A search still running is stopped and waited for first; its remaining
    // reports and its SearchFinish are dropped.
    void Start(const TSearchCriteria &criteria);
    // Asks the running search to end; SearchFinish(true) follows. Does nothing when idle.
    void Stop();
    bool IsBusy() const { return m_thread != nullptr; }
    // Blocks until the running search has ended; its remaining reports and SearchFinish are
    // dropped (for program end; a window otherwise waits for SearchFinish).
    void WaitForFinished();

    // Searches one folder, without subfolders, with the criteria of the last Start, on the
    // calling thread. Refused (false) while a search runs or before the first Start. Problems
    // met are added to Problems().
    bool SearchFolderNow(const QString &folder);

    // State of the last search, for the window's status line and problem log.
    int FoldersSearched() const { return m_folders; }
    int FilesFound() const { return m_files; }
    double ElapsedSeconds() const;
    bool LastSearchCompleted() const { return m_completed; }
    const QStringList &Problems() const { return m_problems; }
    // "%d folder(s) searched and %d file(s) found - %.3f second(s)", with "Search aborted - "
    // first after Stop.
    QString StatusText() const;

signals:
    void SearchBegin();
    void FolderChange(const QString &folder);
    void FileMatch(const QString &path, const QByteArray &nativePath);
    void Problem(const QString &message);
    void SearchFinish(bool aborted);

private:
    class Relay;
    friend class Relay;

    void deliverFolder(quint64 generation, const QString &folder);
    void deliverMatch(quint64 generation, const QString &path, const QByteArray &nativePath);
    void deliverProblem(quint64 generation, const QString &message);
    void workerEnded(quint64 generation, bool completed);

    std::shared_ptr<TFindFile> m_engine;
    TSearchCriteria m_criteria;
    bool m_haveCriteria = false;
    QThread *m_thread = nullptr;
    quint64 m_generation = 0;
    int m_folders = 0;
    int m_files = 0;
    bool m_completed = false;
    bool m_aborted = false;
    QStringList m_problems;
    QElapsedTimer m_clock;
    qint64 m_elapsedMs = -1; // set at the finish
};

} // namespace tarvin
