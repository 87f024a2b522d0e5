#include "explorer/MessageListModel.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPersistentModelIndex>
#include <QTemporaryDir>
#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarvin;

namespace {

constexpr qint64 kSecond = 1000000000;

// Creates an empty file (name in file-system bytes) with the given last-write time in seconds.
void makeFile(const QString &folder, const QByteArray &name, qint64 mtimeSeconds = 1700000000) {
    const QByteArray path = QFile::encodeName(folder) + '/' + name;
    const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    const struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(mtimeSeconds), 0}};
    ASSERT_EQ(futimens(fd, times), 0);
    close(fd);
}

TMessageRow row(const char *name, qint64 lastWrite, qint64 creation = 0) {
    TMessageRow r;
    r.Name = QByteArray(name);
    r.LastWriteTime = lastWrite;
    r.CreationTime = creation;
    return r;
}

QStringList orderedNames(const TMessageRows &rows, int column, Qt::SortOrder order) {
    QStringList names;
    for (qsizetype i : MessageRowOrder(rows, column, order))
        names.append(QString::fromUtf8(rows[i].Name));
    return names;
}

QStringList modelNames(const TMessageListModel &model) {
    QStringList names;
    for (int i = 0; i < model.rowCount(); ++i)
        names.append(model.FileName(i));
    return names;
}

// Runs the event loop until the model's listing has ended; false after 10 s.
bool waitForListing(TMessageListModel &model) {
    return tarvin::testing::WaitFor([&] { return !model.IsListing(); }, 10000);
}

} // namespace

TEST(MessageListModel, ListsOnlyVisibleMessageFilesAndKeepsNameBytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path();
    makeFile(folder, "Budget review [2241a0f3c2d1].pml");
    makeFile(folder, "Report.PML");
    makeFile(folder, "Caf\xe9 [8081].pml"); // not UTF-8
    makeFile(folder, "Report.pml.bak");
    makeFile(folder, ".hidden.pml");
    makeFile(folder, "notes.txt");
    makeFile(folder, "pmlver.000");
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("sub.pml")));
    ASSERT_EQ(symlink("Report.PML", QFile::encodeName(folder + "/link.pml").constData()), 0);
    ASSERT_EQ(symlink("missing.pml", QFile::encodeName(folder + "/dangling.pml").constData()), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(folder + "/pipe.pml").constData(), 0600), 0);
    makeFile(folder, "locked.pml");
    ASSERT_EQ(chmod(QFile::encodeName(folder + "/locked.pml").constData(), 0444), 0);

    TMessageListModel model;
    model.SetSort(mlcSubject, Qt::AscendingOrder);
    model.ListFolderNow(folder);
    QList<QByteArray> names;
    for (int i = 0; i < model.rowCount(); ++i)
        names.append(model.Row(i).Name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (QList<QByteArray>{"Budget review [2241a0f3c2d1].pml", "Caf\xe9 [8081].pml",
                                        "Report.PML", "link.pml", "locked.pml"}));
    for (int i = 0; i < model.rowCount(); ++i) {
        const TMessageRow &r = model.Row(i);
        SCOPED_TRACE(r.Name.constData());
        EXPECT_EQ(r.LastWriteTime, 1700000000 * kSecond);
        EXPECT_NE(r.CreationTime, 0);
        EXPECT_EQ(bool(r.Attributes & faReadOnly), r.Name == "locked.pml");
        EXPECT_TRUE(r.Attributes & faArchive);
    }
    EXPECT_EQ(model.CountText(), QStringLiteral("5 messages"));
    // A name that is not UTF-8 keeps its bytes in the row's path.
    const int latin1 = model.RowOfPath(folder + QLatin1Char('/') +
                                       QFile::decodeName(QByteArray("Caf\xe9 [8081].pml")));
    ASSERT_GE(latin1, 0);
    EXPECT_EQ(model.NativeFilePath(latin1), QFile::encodeName(folder) + "/Caf\xe9 [8081].pml");
    // QTemporaryDir does not remove what its listing leaves out.
    unlink(QFile::encodeName(folder + "/dangling.pml").constData());
    unlink(QFile::encodeName(folder + "/pipe.pml").constData());
}

TEST(MessageListModel, SortOrders) {
    const TMessageRows rows = {
        row("Item 10 [2241].pml", 5 * kSecond, 1 * kSecond),
        row("item 9 [2241].pml", 3 * kSecond, 2 * kSecond),
        row("Item 2 [2241].pml", 4 * kSecond, 3 * kSecond),
        row("Same [2241].pml", 3 * kSecond, 4 * kSecond),
        row("Same [0001].pml", 1 * kSecond, 5 * kSecond),
    };
    // Numbers in names compare by value; equal subjects order by their codes.
    EXPECT_EQ(orderedNames(rows, mlcSubject, Qt::AscendingOrder),
              QStringList({"Item 2 [2241].pml", "item 9 [2241].pml", "Item 10 [2241].pml",
                           "Same [0001].pml", "Same [2241].pml"}));
    // Last-write times (not creation times), equal times by name; descending reverses all.
    const QStringList byDate = {"Same [0001].pml", "item 9 [2241].pml", "Same [2241].pml",
                                "Item 2 [2241].pml", "Item 10 [2241].pml"};
    EXPECT_EQ(orderedNames(rows, mlcDate, Qt::AscendingOrder), byDate);
    QStringList reversed = byDate;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(orderedNames(rows, mlcDate, Qt::DescendingOrder), reversed);
    // The icon column has no sort key.
    EXPECT_EQ(orderedNames(rows, mlcIcons, Qt::DescendingOrder).first(), "Item 10 [2241].pml");
}

TEST(MessageListModel, HeaderClicksResortAndSelectionFollowsTheRow) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    makeFile(dir.path(), "b.pml", 1000);
    makeFile(dir.path(), "a.pml", 3000);
    makeFile(dir.path(), "c.pml", 2000);
    TMessageListModel model;
    model.ListFolderNow(dir.path()); // Date, ascending by default
    EXPECT_EQ(modelNames(model), QStringList({"b.pml", "c.pml", "a.pml"}));
    const QPersistentModelIndex selected = model.index(1, mlcSubject);

    model.HeaderClicked(mlcSubject); // another column: direction unchanged
    EXPECT_EQ(model.SortColumn(), mlcSubject);
    EXPECT_EQ(model.SortOrder(), Qt::AscendingOrder);
    EXPECT_EQ(modelNames(model), QStringList({"a.pml", "b.pml", "c.pml"}));
    EXPECT_EQ(selected.row(), 2);    // still "c.pml"
    model.HeaderClicked(mlcSubject); // the sort column: direction flips
    EXPECT_EQ(model.SortOrder(), Qt::DescendingOrder);
    EXPECT_EQ(modelNames(model), QStringList({"c.pml", "b.pml", "a.pml"}));
    model.HeaderClicked(mlcIcons); // not sortable
    EXPECT_EQ(model.SortColumn(), mlcSubject);

    // An added file waits at the end until the update ends.
    makeFile(dir.path(), "d.pml", 500);
    EXPECT_TRUE(model.AddFile("d.pml"));
    EXPECT_FALSE(model.AddFile("d.pml"));
    EXPECT_FALSE(model.AddFile("e.txt"));
    EXPECT_TRUE(model.ResortNeeded());
    EXPECT_EQ(model.FileName(3), QStringLiteral("d.pml"));
    model.EndUpdate();
    EXPECT_FALSE(model.ResortNeeded());
    EXPECT_EQ(modelNames(model), QStringList({"d.pml", "c.pml", "b.pml", "a.pml"}));
    EXPECT_TRUE(model.RemoveFile("b.pml"));
    EXPECT_EQ(model.CountText(), QStringLiteral("3 messages"));

    // Row to select after an update: the quick-view file without regard to case, else the first.
    EXPECT_EQ(model.RowToSelect(dir.path() + QStringLiteral("/A.PML")), 2);
    EXPECT_EQ(model.RowToSelect(QString()), 0);
    EXPECT_EQ(model.RowToSelect(dir.path() + QStringLiteral("/gone.pml")), -1);
    // A name that differs only in case is another file: the exact one is chosen.
    makeFile(dir.path(), "C.pml", 100);
    EXPECT_TRUE(model.AddFile("C.pml"));
    model.EndUpdate();
    EXPECT_EQ(model.FileName(model.RowToSelect(dir.path() + QStringLiteral("/C.pml"))), "C.pml");
    EXPECT_EQ(model.FileName(model.RowToSelect(dir.path() + QStringLiteral("/c.pml"))), "c.pml");
}

TEST(MessageListModel, WorkerListingArrivesInBatchesAndANewFolderCancelsTheOld) {
    QTemporaryDir first, second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    for (int i = 0; i < 50; ++i)
        makeFile(first.path(), QByteArray("m") + QByteArray::number(i) + ".pml", 1000 + i);
    for (int i = 0; i < 7; ++i)
        makeFile(second.path(), QByteArray("n") + QByteArray::number(i) + ".pml", 2000 - i);

    TMessageListModel model;
    int inserts = 0, finished = 0;
    QString error = QStringLiteral("none");
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&inserts] { ++inserts; });
    QObject::connect(&model, &TMessageListModel::ListingFinished, [&](const QString &message) {
        ++finished;
        error = message;
    });
    model.ListFolder(first.path(), 3);
    model.ListFolder(second.path(), 3); // the first listing's rows must not show up
    ASSERT_TRUE(waitForListing(model));
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(inserts, 3); // 3 + 3 + 1
    EXPECT_EQ(modelNames(model),
              QStringList({"n6.pml", "n5.pml", "n4.pml", "n3.pml", "n2.pml", "n1.pml", "n0.pml"}));

    model.ListFolder(first.path() + QStringLiteral("/missing"));
    ASSERT_TRUE(waitForListing(model));
    EXPECT_EQ(finished, 2);
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot list folder "))) << error.toStdString();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.CountText(), QStringLiteral("0 messages"));
}

TEST(MessageListModel, RescanAppliesTheFolderChangesAndKeepsRowsThatStay) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char *name : {"a.pml", "b.pml", "c.pml", "d.pml", "e.pml"})
        makeFile(dir.path(), name, 1000 + name[0]);
    TMessageListModel model;
    model.ListFolderNow(dir.path());
    ASSERT_EQ(modelNames(model), QStringList({"a.pml", "b.pml", "c.pml", "d.pml", "e.pml"}));
    const QPersistentModelIndex kept = model.index(4, mlcSubject);

    ASSERT_TRUE(QFile::remove(dir.path() + "/b.pml"));
    ASSERT_TRUE(QFile::remove(dir.path() + "/c.pml"));
    makeFile(dir.path(), "a.pml", 5000); // now the newest
    makeFile(dir.path(), "f.pml", 10);   // the oldest
    int finished = 0;
    QObject::connect(&model, &TMessageListModel::ListingFinished, [&finished] { ++finished; });
    model.RescanFolder();
    ASSERT_TRUE(waitForListing(model));
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(model.ResortNeeded());
    EXPECT_EQ(modelNames(model), QStringList({"f.pml", "d.pml", "e.pml", "a.pml"}));
    EXPECT_EQ(kept.row(), 2); // still "e.pml"
    EXPECT_EQ(model.Row(3).LastWriteTime, 5000 * kSecond);
}
