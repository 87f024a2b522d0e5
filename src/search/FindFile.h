#pragma once

#include "search/PhraseMatcher.h"
#include "search/SearchCriteria.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <map>
#include <sys/stat.h>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace tarvin {

// What a search reports while it runs, on the thread that runs it.
class TFindFileEvents {
public:
    virtual ~TFindFileEvents() = default;
    // A folder is about to be searched.
    virtual void FolderChange(const QString &folder) = 0;
    // An entry passed every test. `path` is the folder plus the entry's name; `nativePath` the
    // same in the file system's own bytes.
    virtual void FileMatch(const QString &path, const QByteArray &nativePath) = 0;
    // A folder could not be listed or a file could not be read for the content test.
    virtual void Problem(const QString &message) = 0;
};

// The search engine: walks the locations of its criteria and reports the entries that pass the
// name, attribute, size, date and content tests. Execute runs on the calling thread; Stop may
// be called from any thread and ends a running Execute at its next check.
//
// Locations are taken from the last to the first, each folder's matching entries before its
// subfolders (depth first, in the file system's listing order). A linked subfolder is not
// entered, so links cannot make the walk loop; a folder reached twice in one search (through
// overlapping locations) reports its entries once, and an entry matching several name
// patterns is reported once. With a content phrase, folders are never hits.
class TFindFile {
public:
    explicit TFindFile(const TSearchCriteria &criteria);

    const TSearchCriteria &Criteria() const { return m_criteria; }

    // Runs the whole search. Returns false when it was stopped.
    bool Execute(TFindFileEvents &events);
    // Searches one folder (file system bytes, taken as it is: no ";" list, no "<" or ">") with
    // these criteria instead of their locations. Returns false when it was stopped.
    bool ExecuteFolder(const QByteArray &folder, bool subfolders, TFindFileEvents &events);

    void Stop() { m_stop.store(true, std::memory_order_relaxed); }
    bool IsStopped() const { return m_stop.load(std::memory_order_relaxed); }

private:
    struct Location {
        QByteArray Path; // native, without a trailing "/"
        bool Subfolders;
    };

    void searchFolder(const QByteArray &folder, bool subfolders, bool noFollow,
                      TFindFileEvents &events);
    bool testEntry(int dirFd, const char *name, size_t nameLength, unsigned char type,
                   const QByteArray &folder, bool &fileSystemReadOnly, bool &fsChecked,
                   TFindFileEvents &events);
    bool passesDates(int dirFd, const char *name, const struct stat &st) const;
    bool passesContent(int dirFd, const char *name, const QByteArray &path,
                       TFindFileEvents &events);

    TSearchCriteria m_criteria;
    std::vector<TWildcardPattern> m_patterns;
    std::vector<Location> m_locations;
    TFileAttributes m_allowed;
    TPhraseMatcher m_phrase;
    bool m_needStat = false;     // size or date bounds, or read-only decides the attribute test
    bool m_needReadOnly = false; // the read-only attribute can decide the attribute test
    bool m_hasDates = false;
    std::vector<unsigned char> m_buffer;
    std::map<std::pair<dev_t, ino_t>, bool> m_listed; // folders searched: with subfolders?
    std::atomic<bool> m_stop{false};
};

} // namespace tarvin
