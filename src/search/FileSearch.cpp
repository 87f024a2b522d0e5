#include "search/FileSearch.h"

#include "search/FindFile.h"

#include <QFile>
#include <QThread>

namespace tarvin {

// Carries the worker's reports over to the owning thread, tagged with the search they belong to.
class TFileSearch::Relay : public TFindFileEvents {
public:
    Relay(TFileSearch *owner, quint64 generation) : m_owner(owner), m_generation(generation) {}

    void FolderChange(const QString &folder) override {
        QMetaObject::invokeMethod(
            m_owner, [o = m_owner, g = m_generation, folder] { o->deliverFolder(g, folder); },
            Qt::QueuedConnection);
    }
    void FileMatch(const QString &path, const QByteArray &nativePath) override {
        QMetaObject::invokeMethod(
            m_owner,
            [o = m_owner, g = m_generation, path, nativePath] {
                o->deliverMatch(g, path, nativePath);
            },
            Qt::QueuedConnection);
    }
    void Problem(const QString &message) override {
        QMetaObject::invokeMethod(
            m_owner, [o = m_owner, g = m_generation, message] { o->deliverProblem(g, message); },
            Qt::QueuedConnection);
    }

private:
    TFileSearch *m_owner;
    quint64 m_generation;
};

namespace {

// Reports straight to the owner, for searches on the calling thread.
class DirectEvents : public TFindFileEvents {
public:
    explicit DirectEvents(TFileSearch *owner, QStringList &problems)
        : m_owner(owner), m_problems(problems) {}
    void FolderChange(const QString &) override {}
    void FileMatch(const QString &path, const QByteArray &nativePath) override {
        emit m_owner->FileMatch(path, nativePath);
    }
    void Problem(const QString &message) override {
        m_problems.append(message);
        emit m_owner->Problem(message);
    }

private:
    TFileSearch *m_owner;
    QStringList &m_problems;
};

} // namespace

TFileSearch::TFileSearch(QObject *parent) : QObject(parent) {}

TFileSearch::~TFileSearch() {
    if (m_engine)
        m_engine->Stop();
    WaitForFinished();
}

void TFileSearch::Start(const TSearchCriteria &criteria) {
    if (m_thread) {
        m_engine->Stop();
        WaitForFinished();
    }
    const quint64 generation = ++m_generation;
    m_criteria = criteria;
    m_haveCriteria = true;
    m_folders = 0;
    m_files = 0;
    m_completed = false;
    m_aborted = false;
    m_problems.clear();
    m_elapsedMs = -1;
    m_clock.start();
    emit SearchBegin();

    auto engine = std::make_shared<TFindFile>(criteria);
    m_engine = engine;
    m_thread = QThread::create([this, engine, generation] {
        Relay relay(this, generation);
        engine->Execute(relay);
    });
    // finished is emitted on the worker after its last report, so it arrives after them.
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    connect(m_thread, &QThread::finished, this, [this, engine, generation] {
        if (generation != m_generation)
            return;
        m_thread = nullptr;
        workerEnded(generation, !engine->IsStopped());
    });
    m_thread->start();
}

void TFileSearch::Stop() {
    if (m_thread && m_engine)
        m_engine->Stop();
}

void TFileSearch::WaitForFinished() {
    if (!m_thread)
        return;
    m_thread->wait();
    // Its finish handling and the reports still queued are dropped with the search.
    delete m_thread;
    m_thread = nullptr;
    ++m_generation;
    m_elapsedMs = m_clock.elapsed();
    m_completed = !m_engine->IsStopped();
    m_aborted = !m_completed;
}

bool TFileSearch::SearchFolderNow(const QString &folder) {
    if (m_thread || !m_haveCriteria)
        return false;
    TFindFile engine(m_criteria);
    DirectEvents events(this, m_problems);
    engine.ExecuteFolder(QFile::encodeName(folder), false, events);
    return true;
}

double TFileSearch::ElapsedSeconds() const {
    const qint64 ms = m_elapsedMs >= 0 ? m_elapsedMs : (m_clock.isValid() ? m_clock.elapsed() : 0);
    return double(ms) / 1000.0;
}

QString TFileSearch::StatusText() const {
    return SearchStatusText(m_folders, m_files, ElapsedSeconds(), m_aborted);
}

void TFileSearch::deliverFolder(quint64 generation, const QString &folder) {
    if (generation != m_generation)
        return;
    ++m_folders;
    emit FolderChange(folder);
}

void TFileSearch::deliverMatch(quint64 generation, const QString &path,
                               const QByteArray &nativePath) {
    if (generation != m_generation)
        return;
    ++m_files;
    emit FileMatch(path, nativePath);
}

void TFileSearch::deliverProblem(quint64 generation, const QString &message) {
    if (generation != m_generation)
        return;
    m_problems.append(message);
    emit Problem(message);
}

void TFileSearch::workerEnded(quint64 generation, bool completed) {
    if (generation != m_generation)
        return;
    m_elapsedMs = m_clock.elapsed();
    m_completed = completed;
    m_aborted = !completed;
    emit SearchFinish(m_aborted);
}

} // namespace tarvin
