#include "TestFolders.h"
#include "base/Error.h"
#include "convert/ConversionLog.h"
#include "convert/FileAttributes.h"
#include "convert/FileTimes.h"
#include "convert/FolderMarker.h"
#include "util/DateTime.h"

#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarvin;
using namespace tarvin::test;

TEST(FolderMarker, HoldsTheSixLinesWithTheTrademarkByte) {
    const QByteArray expected =
        "; This is a system file created by Halvorn\x99 Stowell.\r\n"
        ";\r\n"
        "; Please keep this file in the same location as the .PML files in this folder.\r\n"
        "\r\n"
        "[File Options]\r\n"
        "IsTimestampUtc=1\r\n";
    EXPECT_EQ(MarkerFileContent(true), expected);
    QByteArray local = MarkerFileContent(false);
    EXPECT_TRUE(local.endsWith("IsTimestampUtc=0\r\n"));
    EXPECT_EQ(local.count('\x99'), 1);
    EXPECT_EQ(local.count("\r\n"), 6);
    EXPECT_EQ(local.count('\n'), 6);
}

TEST(FolderMarker, WritesReplacesAndReadsBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(FolderMarkerExists(dir.path()));
    EXPECT_FALSE(ReadFolderMarker(dir.path()).Exists);

    WriteFolderMarker(dir.path(), true);
    EXPECT_TRUE(FolderMarkerExists(dir.path() + "/"));
    EXPECT_EQ(ReadAll(dir.filePath("pmlver.000")), MarkerFileContent(true));
    TFolderMarker marker = ReadFolderMarker(dir.path());
    EXPECT_TRUE(marker.Exists);
    ASSERT_TRUE(marker.IsTimestampUtc.has_value());
    EXPECT_TRUE(*marker.IsTimestampUtc);

    WriteFolderMarker(dir.path() + "/", false);
    EXPECT_EQ(ReadAll(dir.filePath("pmlver.000")), MarkerFileContent(false));
    EXPECT_FALSE(*ReadFolderMarker(dir.path()).IsTimestampUtc);
    // Nothing but the marker is left behind by the replacing write.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"pmlver.000"});
}

TEST(FolderMarker, ReadsMarkersOfOtherWriters) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("pmlver.000");
    WriteBytes(path, "[File Options]\nistimestamputc = 0x10\n");
    EXPECT_TRUE(*ReadFolderMarker(dir.path()).IsTimestampUtc);
    WriteBytes(path, "[Other]\nIsTimestampUtc=1\n");
    EXPECT_FALSE(ReadFolderMarker(dir.path()).IsTimestampUtc.has_value());
    WriteBytes(path, "[File Options]\r\nIsTimestampUtc=yes\r\n");
    TFolderMarker marker = ReadFolderMarker(dir.path());
    EXPECT_TRUE(marker.Exists);
    EXPECT_FALSE(marker.IsTimestampUtc.has_value()); // not an integer: the reader's default
    WriteBytes(path, "[File Options]\r\nIsTimestampUtc=1 (UTC)\r\n");
    EXPECT_FALSE(ReadFolderMarker(dir.path()).IsTimestampUtc.has_value()); // nor is this
    // A folder of that name is not a marker.
    QFile::remove(path);
    QDir(dir.path()).mkdir("pmlver.000");
    EXPECT_FALSE(FolderMarkerExists(dir.path()));
}

TEST(FolderMarker, UnwritableFolderRaisesCannotCreateFile) {
    const QString folder = "/proc/tarvin-no-such-folder";
    try {
        WriteFolderMarker(folder, false);
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), "Cannot create file /proc/tarvin-no-such-folder/pmlver.000");
    }
}

TEST(ConversionLog, SavesLinesWithCrLfAndSplitsEmbeddedBreaks) {
    QStringList lines{"first\tline", "two\nlines", "crlf\r\ninside", "", "Fran\u00e7ois"};
    EXPECT_EQ(
        ConversionLogText(lines),
        QByteArray("first\tline\r\ntwo\r\nlines\r\ncrlf\r\ninside\r\n\r\nFran\xc3\xa7ois\r\n"));
    EXPECT_EQ(ConversionLogText({}), QByteArray());
}

TEST(ConversionLog, CreatesMissingFoldersAndReplacesTheLog) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("config/Halvorn/Tarvin/CVTDATES.LOG");
    SaveConversionLog({"one"}, path);
    EXPECT_EQ(ReadAll(path), QByteArray("one\r\n"));
    SaveConversionLog({"two", "three"}, path);
    EXPECT_EQ(ReadAll(path), QByteArray("two\r\nthree\r\n"));
}

TEST(ConversionLog, FolderThatCannotBeMadeRaisesCannotCreateFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A file stands where the folder should be.
    WriteBytes(dir.filePath("Halvorn"), "x");
    const QString path = dir.filePath("Halvorn/Tarvin/CVTDATES.LOG");
    try {
        SaveConversionLog({"line"}, path);
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), "Cannot create file " + path);
    }
}

TEST(ConversionLog, SummaryLinesTakeSingularForOne) {
    EXPECT_EQ(MessagesConvertedLine("S", 1), "S\t1 message converted");
    EXPECT_EQ(MessagesConvertedLine("S", 0), "S\t0 messages converted");
    EXPECT_EQ(MessagesConvertedLine("S", 12), "S\t12 messages converted");
    EXPECT_EQ(WarningsLine("S", 1), "S\t1 warning");
    EXPECT_EQ(WarningsLine("S", 2), "S\t2 warnings");
}

TEST(ConversionLog, StampIsShortDateBlankLongTime) {
    const QString stamp = ConversionStamp();
    const qsizetype blank = stamp.indexOf(' ');
    ASSERT_GT(blank, 0);
    const TDateTime now = QDateTimeToDateTime(QDateTime::currentDateTime());
    // The date part is today's (unless the test runs across midnight).
    EXPECT_TRUE(stamp.startsWith(FormatShortDate(now)) ||
                stamp.startsWith(FormatShortDate(now - 1.0 / 24)));
    EXPECT_FALSE(stamp.contains('\t'));
}

TEST(FileAttributes, HiddenAndSystemEntries) {
    EXPECT_TRUE(IsHiddenName(QString(".hidden.pml")));
    EXPECT_TRUE(IsHiddenName(".."));
    EXPECT_FALSE(IsHiddenName("visible.pml"));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteBytes(dir.filePath("file"), "x");
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
    EXPECT_FALSE(IsSystemEntry(StatOf(dir.filePath("file"))));
    EXPECT_FALSE(IsSystemEntry(StatOf(dir.path())));
    EXPECT_TRUE(IsSystemEntry(StatOf(dir.filePath("pipe"))));
}

TEST(FileAttributes, OwnerWriteBitDecidesEvenForRoot) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("m.pml");
    WriteBytes(path, "x");
    const QByteArray native = QFile::encodeName(path);
    ASSERT_EQ(chmod(native.constData(), 0644), 0);
    EXPECT_FALSE(IsReadOnlyFile(native));
    ASSERT_EQ(chmod(native.constData(), 0444), 0);
    EXPECT_TRUE(IsReadOnlyFile(native)); // also when running as root
    // Group and others may write, the owner may not: still read-only.
    ASSERT_EQ(chmod(native.constData(), 0466), 0);
    EXPECT_TRUE(IsReadOnlyFile(native));
}

TEST(FileAttributes, WriteAccessFollowsOwnerGroupAndOther) {
    struct stat st {};
    st.st_mode = S_IFREG | 0644;
    st.st_uid = geteuid();
    st.st_gid = getegid();
    EXPECT_TRUE(CurrentUserCanWrite(st));
    EXPECT_FALSE(IsReadOnly(st, false));
    EXPECT_TRUE(IsReadOnly(st, true)); // a file system mounted read-only
    if (geteuid() == 0) {
        st.st_uid = 12345; // root writes files of other users
        st.st_mode = S_IFREG | 0600;
        EXPECT_TRUE(CurrentUserCanWrite(st));
    } else {
        st.st_uid = geteuid() + 1;
        st.st_gid = static_cast<gid_t>(-2);
        st.st_mode = S_IFREG | 0664; // another user's file, we are "other"
        EXPECT_FALSE(CurrentUserCanWrite(st));
        EXPECT_TRUE(IsReadOnly(st, false));
        st.st_mode = S_IFREG | 0666;
        EXPECT_TRUE(CurrentUserCanWrite(st));
    }
}

TEST(FileTimes, SetsLastWriteTimeAsIfUtcAndKeepsAccessTime) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("m.pml");
    WriteBytes(path, "x");
    const QByteArray native = QFile::encodeName(path);
    struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, native.constData(), times, 0), 0);

    ScopedTimeZone zone("Europe/Berlin"); // the zone must not matter
    ASSERT_TRUE(SetLastWriteTime(native, EncodeDateTime(2003, 1, 15, 10, 30, 0, 250)));
    EXPECT_EQ(MTimeMSecs(path),
              QDateTime(QDate(2003, 1, 15), QTime(10, 30, 0, 250), Qt::UTC).toMSecsSinceEpoch());
    EXPECT_EQ(ATimeMSecs(path), 1000000000000LL);

    ASSERT_TRUE(SetLastWriteTime(native, EncodeDateTime(1969, 12, 31, 23, 59, 59, 500)));
    EXPECT_EQ(MTimeMSecs(path), -500);
    EXPECT_FALSE(SetLastWriteTime(QFile::encodeName(dir.filePath("missing.pml")), 40000.0));
}

TEST(FileTimes, UtcStepUsesTheOffsetOfNowForEveryDate) {
    const TDateTime winter = EncodeDateTime(2003, 1, 15, 12, 0, 0);
    {
        ScopedTimeZone zone("UTC");
        EXPECT_DOUBLE_EQ(CurrentUtcOffsetDays(), 0.0);
        EXPECT_DOUBLE_EQ(LocalToUtcWithCurrentOffset(winter), winter);
    }
    {
        // A fixed zone five and a half hours east of Greenwich (POSIX signs are inverted).
        ScopedTimeZone zone("XST-5:30");
        EXPECT_DOUBLE_EQ(CurrentUtcOffsetDays(), 5.5 / 24);
        EXPECT_NEAR(LocalToUtcWithCurrentOffset(winter), EncodeDateTime(2003, 1, 15, 6, 30, 0),
                    1e-9);
    }
    {
        // A zone whose daylight saving time lasts all year: the winter date gets the summer
        // offset, because the offset is the one in force now.
        ScopedTimeZone zone("AAA3BBB,J1/0,J365/25");
        EXPECT_DOUBLE_EQ(CurrentUtcOffsetDays(), -2.0 / 24);
        EXPECT_NEAR(LocalToUtcWithCurrentOffset(winter), EncodeDateTime(2003, 1, 15, 14, 0, 0),
                    1e-9);
    }
}
