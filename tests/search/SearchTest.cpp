#include "search/FileSearch.h"
#include "search/FindFile.h"
#include "search/PhraseMatcher.h"
#include "search/SearchCriteria.h"
#include "support/PmlWriter.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <ostream>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

inline std::ostream &operator<<(std::ostream &out, const QString &text) {
    return out << text.toStdString();
}
inline std::ostream &operator<<(std::ostream &out, const QStringList &list) {
    return out << list.join(QStringLiteral(" | ")).toStdString();
}

namespace tarvin {
namespace {

// For its lifetime, the calling thread works without the capabilities that let root read and
// list any file (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH): file permissions apply to it as to
// anyone. They stay permitted and are put back at the end. Other threads keep theirs.
class TWithoutFileAccessOverride {
public:
    TWithoutFileAccessOverride() {
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        m_header.pid = 0; // the calling thread
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct lowered[2];
        std::memcpy(lowered, m_saved, sizeof lowered);
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_lowered = ::syscall(SYS_capset, &m_header, lowered) == 0;
    }
    ~TWithoutFileAccessOverride() {
        if (m_lowered)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    TWithoutFileAccessOverride(const TWithoutFileAccessOverride &) = delete;
    TWithoutFileAccessOverride &operator=(const TWithoutFileAccessOverride &) = delete;
    bool Lowered() const { return m_lowered; }

private:
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
    bool m_lowered = false;
};

struct Recorder : TFindFileEvents {
    QStringList Folders, Hits, Problems;
    void FolderChange(const QString &folder) override { Folders << folder; }
    void FileMatch(const QString &path, const QByteArray &) override { Hits << path; }
    void Problem(const QString &message) override { Problems << message; }
};

class SearchFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString Path(const QString &relative) const { return m_dir.filePath(relative); }

    void Write(const QString &relative, const QByteArray &bytes) {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    void SetModified(const QString &relative, int year, int month, int day, int hour, int minute) {
        struct tm local {};
        local.tm_year = year - 1900;
        local.tm_mon = month - 1;
        local.tm_mday = day;
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_isdst = -1;
        struct timespec times[2];
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = mktime(&local);
        times[1].tv_nsec = 0;
        ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(Path(relative)).constData(), times, 0), 0);
    }

    TSearchCriteria Criteria(const QString &pattern = QStringLiteral("*.pml")) const {
        TSearchCriteria criteria;
        criteria.Files.FileName = pattern;
        criteria.Files.Location = m_dir.path();
        return criteria;
    }

    // The hits, relative to the test folder, sorted.
    QStringList Run(const TSearchCriteria &criteria, Recorder *recorder = nullptr) {
        Recorder local;
        Recorder &events = recorder ? *recorder : local;
        TFindFile engine(criteria);
        EXPECT_TRUE(engine.Execute(events));
        QStringList hits;
        for (const QString &hit : events.Hits)
            hits << QDir(m_dir.path()).relativeFilePath(hit);
        hits.sort();
        return hits;
    }

    QTemporaryDir m_dir;
};

TEST(SearchCriteriaTest, SubjectTextBecomesNamePatterns) {
    EXPECT_EQ(SubjectToNamePattern(QString()), QStringLiteral("*.pml"));
    EXPECT_EQ(SubjectToNamePattern(QStringLiteral("Report.PML")), QStringLiteral("*Report*.pml"));
    EXPECT_EQ(SubjectToNamePattern(QStringLiteral("Re: Budget")),
              QStringLiteral("*Re_ Budget*.pml"));
    EXPECT_EQ(SubjectToNamePattern(QStringLiteral("a*b?\"|")), QStringLiteral("*a*b?__*.pml"));
    EXPECT_EQ(SplitSearchList(SubjectToNamePattern(QStringLiteral("a;b"))),
              (QStringList{QStringLiteral("*a"), QStringLiteral("b*.pml")}));
    EXPECT_EQ(SplitSearchList(QStringLiteral(" x ;; y;x ;")),
              (QStringList{QStringLiteral("x"), QStringLiteral("y")}));

    const TWildcardPattern pattern(QStringLiteral("*re_ budget*.pml"));
    EXPECT_TRUE(pattern.Matches(QByteArrayLiteral("RE_ BUDGET 2024.PML")));
    EXPECT_FALSE(pattern.Matches(QByteArrayLiteral("RE_ BUDGET 2024.pml.bak")));
    EXPECT_TRUE(TWildcardPattern(QStringLiteral("*größe?.pml"))
                    .Matches(QStringLiteral("Die GRÖSSE GRÖßEN.pml").toUtf8()));
    EXPECT_TRUE(TWildcardPattern(QStringLiteral("a*b*c")).Matches("axxbyybc", 8));
    EXPECT_FALSE(TWildcardPattern(QStringLiteral("a*b*c")).Matches("axxbyyb", 7));

    EXPECT_EQ(SearchStatusText(3, 2, 1.5, true),
              QStringLiteral("Search aborted - 3 folder(s) searched and 2 file(s) found - 1.500 "
                             "second(s)"));
}

TEST_F(SearchFolderTest, LocationsPatternsAndTheWalk) {
    Write("a/one.pml", "x");
    Write("a/sub/two.pml", "x");
    Write("b/three.pml", "x");
    Write("b/sub/four.PML", "x");
    Write("b/other.txt", "x");
    // A link back up the tree is not followed, so the walk ends and reports each file once.
    ASSERT_EQ(symlink("..", QFile::encodeName(Path("b/sub/up")).constData()), 0);

    TSearchCriteria criteria = Criteria(QStringLiteral("*.pml;t*"));
    criteria.Files.Location = "<" + Path("b") + " ; " + Path("a") + ";" + Path("a") + "/";
    Recorder events;
    EXPECT_EQ(Run(criteria, &events), (QStringList{"a/one.pml", "a/sub/two.pml", "b/three.pml"}));
    // Locations last to first, a folder's subfolders after the folder, each folder once.
    EXPECT_EQ(events.Folders, (QStringList{Path("a"), Path("a/sub"), Path("b")}));

    // Overlapping locations report a file once; a missing location is a problem, not the end.
    criteria.Files.Location = Path("b") + ";" + Path("b/sub") + ";" + Path("missing");
    criteria.Files.IncludeSubfolders = true;
    Recorder second;
    EXPECT_EQ(Run(criteria, &second), (QStringList{"b/sub/four.PML", "b/three.pml"}));
    ASSERT_EQ(second.Problems.size(), 1);
    EXPECT_TRUE(second.Problems[0].startsWith("Cannot open folder \"" + Path("missing") + "\""))
        << second.Problems;
}

TEST_F(SearchFolderTest, Attributes) {
    Write("plain.pml", "x");
    Write("locked.pml", "x");
    ASSERT_EQ(chmod(QFile::encodeName(Path("locked.pml")).constData(), 0444), 0);
    Write(".hidden.pml", "x");
    ASSERT_EQ(mkfifo(QFile::encodeName(Path("pipe.pml")).constData(), 0644), 0);
    ASSERT_TRUE(QDir().mkdir(Path("folder.pml")));
    ASSERT_EQ(symlink("plain.pml", QFile::encodeName(Path("link.pml")).constData()), 0);

    // Default: read-only, archive and directory; hidden and system entries are left out.
    EXPECT_EQ(Run(Criteria()), (QStringList{"folder.pml", "link.pml", "locked.pml", "plain.pml"}));

    TSearchCriteria criteria = Criteria();
    criteria.Attributes.Allowed = TFileAttribute::Archive;
    EXPECT_EQ(Run(criteria), (QStringList{"link.pml", "plain.pml"}));
    criteria.Attributes.Allowed = TFileAttribute::Archive | TFileAttribute::ReadOnly;
    criteria.Attributes.ExactMatch = true;
    EXPECT_EQ(Run(criteria), (QStringList{"locked.pml"}));
    criteria.Attributes.Allowed = TFileAttribute::System;
    EXPECT_EQ(Run(criteria), (QStringList{"pipe.pml"}));
    criteria.Attributes.Allowed = TFileAttribute::Hidden | TFileAttribute::Archive; // exact
    EXPECT_EQ(Run(criteria), (QStringList{".hidden.pml"}));

    // With a phrase, folders are never hits and a pipe is never read.
    criteria = Criteria();
    criteria.Attributes.Allowed |= TFileAttribute::System;
    criteria.Content.Phrase = "x";
    EXPECT_EQ(Run(criteria), (QStringList{"link.pml", "locked.pml", "plain.pml"}));
}

TEST_F(SearchFolderTest, SizesAreSixtyFourBit) {
    Write("small.pml", QByteArray(1000, 'x'));
    Write("kilo.pml", QByteArray(1024, 'x'));
    // A sparse 5 GB file: its size does not fit 32 bits.
    {
        QFile big(Path("big.pml"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(Q_INT64_C(5) * 1024 * 1024 * 1024));
    }
    TSearchCriteria criteria = Criteria();
    criteria.Sizes.SizeMin = Q_INT64_C(4) * 1024 * 1024 * 1024;
    EXPECT_EQ(Run(criteria), (QStringList{"big.pml"}));
    criteria.Sizes.SizeMin = 1024;
    criteria.Sizes.SizeMax = 1024 * 1024;
    EXPECT_EQ(Run(criteria), (QStringList{"kilo.pml"}));
    criteria.Sizes.SizeMin = 0;
    criteria.Sizes.SizeMax = 1024;
    EXPECT_EQ(Run(criteria), (QStringList{"kilo.pml", "small.pml"}));
}

TEST_F(SearchFolderTest, DateBoundsByTheirForm) {
    Write("morning.pml", "x");
    SetModified("morning.pml", 2024, 3, 10, 8, 30);
    Write("evening.pml", "x");
    SetModified("evening.pml", 2024, 3, 10, 22, 15);
    Write("later.pml", "x");
    SetModified("later.pml", 2024, 3, 11, 7, 0);

    TSearchCriteria criteria = Criteria();
    // Before a date alone: the whole day counts.
    criteria.Dates.ModifiedBefore = EncodeDateTime(2024, 3, 10, 0, 0, 0);
    EXPECT_EQ(Run(criteria), (QStringList{"evening.pml", "morning.pml"}));
    // Before a time alone: the time of day on any date (inclusive).
    criteria.Dates.ModifiedBefore = EncodeDateTime(1899, 12, 30, 8, 30, 0);
    EXPECT_EQ(Run(criteria), (QStringList{"later.pml", "morning.pml"}));
    // Date and time together: the full date-time.
    criteria.Dates.ModifiedBefore = EncodeDateTime(2024, 3, 10, 22, 15, 0);
    EXPECT_EQ(Run(criteria), (QStringList{"evening.pml", "morning.pml"}));
    criteria.Dates.ModifiedAfter = EncodeDateTime(2024, 3, 10, 12, 0, 0);
    EXPECT_EQ(Run(criteria), (QStringList{"evening.pml"}));
    // After a date alone includes that day; the other file times have no bound.
    criteria = Criteria();
    criteria.Dates.ModifiedAfter = EncodeDateTime(2024, 3, 11, 0, 0, 0);
    EXPECT_EQ(Run(criteria), (QStringList{"later.pml"}));
}

TEST_F(SearchFolderTest, ContentOnRawBytes) {
    const size_t block = TPhraseMatcher::kBlockSize;
    // The phrase straddles the first block boundary.
    QByteArray straddle(int(block) - 3, 'a');
    straddle += "Needle";
    Write("straddle.pml", straddle);
    // The phrase is longer than a block and starts just before a boundary.
    QByteArray longPhrase;
    for (int i = 0; longPhrase.size() < int(block) + 100; ++i)
        longPhrase += QByteArray::number(i) + ' ';
    Write("long.pml", QByteArray(int(block) - 7, 'z') + longPhrase + "tail");
    Write("shorter.pml", longPhrase.left(longPhrase.size() - 1));
    Write("accents.pml", QStringLiteral("NEEDLE naïve").toUtf8());
    Write("upper.pml", QStringLiteral("NAÏVE").toUtf8());
    // The phrase only inside an attachment's compressed, encoded data.
    PmlWriter message;
    message.SetPlainText(QStringLiteral("nothing to see"));
    message.AddAttachment(
        PmlAttachment::File("a.txt", QByteArray("secret phrase here ").repeated(50)));
    Write("attachment.pml", message.ToXml());

    auto hits = [&](const QString &phrase, bool ignoreCase) {
        TSearchCriteria criteria = Criteria();
        criteria.Content.Phrase = phrase;
        criteria.Content.IgnoreCase = ignoreCase;
        return Run(criteria);
    };
    EXPECT_EQ(hits("Needle", false), (QStringList{"straddle.pml"}));
    EXPECT_EQ(hits("nEEDLE", true), (QStringList{"accents.pml", "straddle.pml"}));
    EXPECT_EQ(hits(QString::fromLatin1(longPhrase), false), (QStringList{"long.pml"}));
    // A phrase finds its own bytes with ignore case; beyond A to Z, case is not folded in UTF-8.
    EXPECT_EQ(hits(QStringLiteral("Naïve"), true), (QStringList{"accents.pml"}));
    EXPECT_EQ(hits(QStringLiteral("nAÏVE"), true), (QStringList{"upper.pml"}));
    EXPECT_EQ(hits(QStringLiteral("NAÏVE"), false), (QStringList{"upper.pml"}));
    EXPECT_EQ(hits(QStringLiteral("secret phrase"), true), QStringList());
    EXPECT_EQ(hits(QString(), true).size(), 6);

    EXPECT_EQ(TPhraseMatcher::FoldByte(0xC9), 0xE9);
    EXPECT_EQ(TPhraseMatcher::FoldByte(0xD7), 0xD7);
    EXPECT_EQ(TPhraseMatcher::FoldByte(0x8A), 0x9A);
    EXPECT_EQ(TPhraseMatcher::FoldByte(0x9F), 0xFF);
}

TEST_F(SearchFolderTest, UnreadableFileIsLoggedAndTheSearchGoesOn) {
    Write("a.pml", "phrase");
    Write("b.pml", "phrase");
    ASSERT_EQ(chmod(QFile::encodeName(Path("a.pml")).constData(), 0), 0);
    TSearchCriteria criteria = Criteria();
    criteria.Content.Phrase = "phrase";
    Recorder events;
    {
        // Root reads any file; here it reads as its owner does.
        TWithoutFileAccessOverride asOwner;
        ASSERT_TRUE(asOwner.Lowered());
        const int probe = ::open(QFile::encodeName(Path("a.pml")).constData(), O_RDONLY);
        if (probe >= 0) {
            ::close(probe);
            GTEST_SKIP() << "this file system lets a file without read permission be read";
        }
        EXPECT_EQ(Run(criteria, &events), (QStringList{"b.pml"}));
    }
    ASSERT_EQ(events.Problems.size(), 1) << events.Problems;
    EXPECT_TRUE(events.Problems[0].startsWith("Cannot open file \"" + Path("a.pml") + "\". "))
        << events.Problems;
}

TEST_F(SearchFolderTest, WorkerReportsOnTheOwningThreadAndStops) {
    for (int i = 0; i < 40; ++i)
        Write(QStringLiteral("f%1/m%1.pml").arg(i), "x");
    TFileSearch search;
    QStringList hits;
    int finishes = 0;
    bool aborted = false, onOwner = true;
    QObject::connect(&search, &TFileSearch::FileMatch, [&](const QString &path) {
        onOwner = onOwner && QThread::currentThread() == search.thread();
        hits << path;
    });
    QObject::connect(&search, &TFileSearch::SearchFinish, [&](bool wasAborted) {
        ++finishes;
        aborted = wasAborted;
    });

    search.Start(Criteria());
    ASSERT_TRUE(testing::WaitFor([&] { return finishes == 1; }));
    EXPECT_FALSE(aborted);
    EXPECT_TRUE(onOwner);
    EXPECT_EQ(hits.size(), 40);
    EXPECT_EQ(search.FoldersSearched(), 41);
    EXPECT_TRUE(search.LastSearchCompleted());
    EXPECT_TRUE(search.StatusText().startsWith("41 folder(s) searched and 40 file(s) found - "));

    // Re-check of one folder on this thread, with the same criteria; a ";" in its name is
    // part of the name.
    hits.clear();
    Write("f3/new.pml", "x");
    Write("f3/a;b/deeper.pml", "x");
    EXPECT_TRUE(search.SearchFolderNow(Path("f3")));
    EXPECT_TRUE(search.SearchFolderNow(Path("f3/a;b")));
    hits.sort();
    EXPECT_EQ(hits,
              (QStringList{Path("f3/a;b/deeper.pml"), Path("f3/m3.pml"), Path("f3/new.pml")}));

    // A second Start drops the first search's reports; Stop right after Start always ends
    // the search as aborted.
    hits.clear();
    search.Start(Criteria());
    search.Start(Criteria());
    ASSERT_TRUE(testing::WaitFor([&] { return finishes == 2; }));
    EXPECT_FALSE(aborted);
    EXPECT_EQ(hits.size(), 42); // with the two new files
    search.Start(Criteria());
    search.Stop();
    ASSERT_TRUE(testing::WaitFor([&] { return finishes == 3; }));
    EXPECT_TRUE(aborted);
    EXPECT_FALSE(search.LastSearchCompleted());
    EXPECT_TRUE(search.StatusText().startsWith("Search aborted - "));
    EXPECT_FALSE(search.IsBusy());
    // Nothing further arrives.
    QCoreApplication::processEvents();
    EXPECT_EQ(finishes, 3);
}

} // namespace
} // namespace tarvin
