#include "convert/MessageConverter.h"
#include "TestFolders.h"
#include "base/Error.h"
#include "convert/FolderMarker.h"
#include "support/HostileFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarvin;
using namespace tarvin::test;

namespace {

const TDateTime kJan = EncodeDateTime(2003, 1, 15, 10, 30, 0);
const TDateTime kJun = EncodeDateTime(2004, 6, 2, 8, 5, 9);
const TDateTime kNov = EncodeDateTime(1999, 11, 30, 23, 59, 58);
const qint64 kUntouched = 86400000; // SetMTimeMarker's default, in milliseconds

// Records what the converter reports.
struct Recorder {
    QStringList errors, files, readOnlyFolders;
    void Attach(TMessageConverter &converter) {
        converter.OnError = [this](TMessageConverter &, const QString &message) {
            errors.append(message);
        };
        converter.OnFile = [this](TMessageConverter &, const TConverterFileEntry &entry, bool &) {
            files.append(entry.Name);
        };
        converter.OnReadOnly = [this](TMessageConverter &, const QString &folder) {
            readOnlyFolders.append(folder);
        };
    }
};

class MessageConverterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path(const QString &name) const { return m_dir.filePath(name); }
    QString Folder() const { return m_dir.path(); }
    QString MakeFolder(const QString &name) const {
        QDir(m_dir.path()).mkpath(name);
        return Path(name);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(MessageConverterTest, ThreeMessagesGetTheirDatesAndTheMarker) {
    WriteMail(Path("a.pml"), kJan);
    PmlWriter(mtAppointment).SetItem("start-date", IsoBasic(kJun)).WriteFile(Path("b.pml"));
    PmlWriter(mtNote).SetItem("start-date", IsoBasic(kNov)).WriteFile(Path("c.pml"));
    WriteBytes(Path("notes.txt"), "not a message");
    SetMTimeMarker(Path("notes.txt"));

    ScopedTimeZone zone("Europe/Berlin"); // local values are stored unchanged
    TMessageConverter converter;
    Recorder recorder;
    recorder.Attach(converter);
    EXPECT_TRUE(converter.Convert(Folder()));
    EXPECT_EQ(converter.Count, 3);
    EXPECT_FALSE(converter.Cancel);
    EXPECT_DOUBLE_EQ(MTimeAsDateTime(Path("a.pml")), kJan);
    EXPECT_DOUBLE_EQ(MTimeAsDateTime(Path("b.pml")), kJun);
    EXPECT_DOUBLE_EQ(MTimeAsDateTime(Path("c.pml")), kNov);
    EXPECT_EQ(MTimeMSecs(Path("notes.txt")), kUntouched);
    EXPECT_EQ(ReadAll(Path("pmlver.000")), MarkerFileContent(false));
    EXPECT_TRUE(recorder.errors.isEmpty());
    EXPECT_TRUE(recorder.readOnlyFolders.isEmpty());
    QStringList announced = recorder.files;
    announced.sort();
    EXPECT_EQ(announced, (QStringList{"a.pml", "b.pml", "c.pml"}));
    // Files are announced in listing order.
    QStringList listed = ListingOrder(Folder());
    listed.removeAll("notes.txt");
    listed.removeAll("pmlver.000");
    EXPECT_EQ(recorder.files, listed);
    EXPECT_TRUE(TMessageConverter::MarkerExists(Folder()));
}

TEST_F(MessageConverterTest, UtcShiftsByTheCurrentOffset) {
    WriteMail(Path("winter.pml"), kJan);
    {
        // Daylight saving time in force all year: the winter mail is shifted by the summer
        // offset (UTC-2), the offset of the moment of conversion.
        ScopedTimeZone zone("AAA3BBB,J1/0,J365/25");
        TMessageConverter converter;
        converter.UseUtc = true;
        EXPECT_TRUE(converter.Convert(Folder()));
        EXPECT_NEAR(MTimeAsDateTime(Path("winter.pml")), kJan + 2.0 / 24, 1e-9);
        EXPECT_EQ(ReadAll(Path("pmlver.000")), MarkerFileContent(true));
    }
    {
        ScopedTimeZone zone("XST-5:30");
        TMessageConverter converter;
        converter.UseUtc = true;
        EXPECT_TRUE(converter.Convert(Folder()));
        EXPECT_NEAR(MTimeAsDateTime(Path("winter.pml")), kJan - 5.5 / 24, 1e-9);
        // Without UTC the same zone leaves the clock value as it is, and the marker says so.
        converter.UseUtc = false;
        EXPECT_TRUE(converter.Convert(Folder()));
        EXPECT_DOUBLE_EQ(MTimeAsDateTime(Path("winter.pml")), kJan);
        EXPECT_EQ(ReadAll(Path("pmlver.000")), MarkerFileContent(false));
    }
}

TEST_F(MessageConverterTest, FolderWithoutMessagesGetsNoMarker) {
    TMessageConverter converter;
    EXPECT_FALSE(converter.Convert(Folder()));
    WriteBytes(Path("readme.txt"), "x");
    WriteMail(Path("old.pml.bak"), kJan);
    WriteMail(Path(".hidden.pml"), kJan);
    EXPECT_FALSE(converter.Convert(Folder()));
    EXPECT_EQ(converter.Count, 0);
    EXPECT_FALSE(TMessageConverter::MarkerExists(Folder()));
    EXPECT_FALSE(TMessageConverter::HasMessageFiles(Folder()));
}

TEST_F(MessageConverterTest, FailingFileIsReportedAndTheOthersConverted) {
    WriteBroken(Path("broken.pml"));
    WriteMail(Path("good.pml"), kJan);
    SetMTimeMarker(Path("broken.pml"));

    TMessageConverter converter;
    Recorder recorder;
    recorder.Attach(converter);
    EXPECT_TRUE(converter.Convert(Folder()));
    EXPECT_EQ(converter.Count, 1);
    ASSERT_EQ(recorder.errors.size(), 1);
    // The model's own message for the file.
    QString expected;
    try {
        ReadMessageFileDate(Path("broken.pml"));
    } catch (const Error &e) {
        expected = e.message();
    }
    EXPECT_FALSE(expected.isEmpty());
    EXPECT_EQ(recorder.errors.first(), expected);
    EXPECT_EQ(recorder.files.size(), 2); // the failing file was announced too
    EXPECT_EQ(MTimeMSecs(Path("broken.pml")), kUntouched);
    EXPECT_DOUBLE_EQ(MTimeAsDateTime(Path("good.pml")), kJan);
    EXPECT_TRUE(TMessageConverter::MarkerExists(Folder()));

    // Only failing files: nothing converted, no marker.
    QFile::remove(Path("good.pml"));
    QFile::remove(Path("pmlver.000"));
    EXPECT_FALSE(converter.Convert(Folder()));
    EXPECT_EQ(converter.Count, 0);
    EXPECT_FALSE(TMessageConverter::MarkerExists(Folder()));
}

TEST_F(MessageConverterTest, FailingFileWithoutErrorHandlerRaises) {
    WriteBroken(Path("broken.pml"));
    TMessageConverter converter;
    EXPECT_THROW(converter.Convert(Folder()), Error);
    EXPECT_FALSE(TMessageConverter::MarkerExists(Folder()));
}

TEST_F(MessageConverterTest, ReadOnlyFileStopsTheListing) {
    // Files and subfolders mixed, so that the listing holds entries after the read-only file.
    for (int i = 0; i < 6; ++i) {
        WriteMail(Path(QString("m%1.pml").arg(i)), kJan + i);
        SetMTimeMarker(Path(QString("m%1.pml").arg(i)));
        WriteMail(MakeFolder(QString("sub%1").arg(i)) + "/x.pml", kJun);
    }
    const QStringList listed = ListingOrder(Folder());
    QStringList messages;
    for (const QString &name : listed)
        if (name.endsWith(".pml"))
            messages.append(name);
    const QString readOnly = messages[2];
    ASSERT_EQ(chmod(QFile::encodeName(Path(readOnly)).constData(), 0444), 0);

    TMessageConverter converter;
    converter.Recursive = true;
    Recorder recorder;
    recorder.Attach(converter);
    EXPECT_FALSE(converter.Convert(Folder()));
    EXPECT_EQ(recorder.readOnlyFolders, QStringList{Folder() + "/"});
    EXPECT_FALSE(TMessageConverter::MarkerExists(Folder()));
    const qsizetype stop = listed.indexOf(readOnly);
    int visited = 0;
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const QString &name = listed[i];
        if (name.endsWith(".pml")) {
            // The files before it keep their new times; it and the ones after are untouched.
            if (i < stop)
                EXPECT_NE(MTimeMSecs(Path(name)), kUntouched) << name;
            else
                EXPECT_EQ(MTimeMSecs(Path(name)), kUntouched) << name;
        } else {
            // Subfolders listed before it are still converted, later ones are not visited.
            EXPECT_EQ(TMessageConverter::MarkerExists(Path(name)), i < stop) << name;
            visited += i < stop;
        }
    }
    EXPECT_EQ(converter.Count, 2 + visited);
}

TEST_F(MessageConverterTest, ExtensionTestIgnoresCaseButNotFurtherExtensions) {
    const QStringList converted{"UPPER.PML", "Mixed.Pml"};
    const QStringList skipped{"old.pml.bak", "pml", "notes.pmlx", ".hidden.pml"};
    for (const QString &name : converted + skipped) {
        WriteMail(Path(name), kJan);
        SetMTimeMarker(Path(name));
    }
    MakeFolder("folder.pml"); // a folder is no message file
    ASSERT_EQ(mkfifo(QFile::encodeName(Path("pipe.pml")).constData(), 0600), 0);

    TMessageConverter converter;
    Recorder recorder;
    recorder.Attach(converter);
    EXPECT_TRUE(converter.Convert(Folder())); // the pipe is left alone: no hang, no error
    EXPECT_EQ(converter.Count, 2);
    EXPECT_TRUE(recorder.errors.isEmpty());
    for (const QString &name : converted)
        EXPECT_DOUBLE_EQ(MTimeAsDateTime(Path(name)), kJan) << name;
    for (const QString &name : skipped)
        EXPECT_EQ(MTimeMSecs(Path(name)), kUntouched) << name;
}

TEST_F(MessageConverterTest, RecursionConvertsSubfoldersThatHoldMessages) {
    WriteMail(Path("top.pml"), kJan);
    WriteMail(MakeFolder("a") + "/a.pml", kJun);
    WriteMail(MakeFolder("a/deep") + "/d.pml", kNov);
    MakeFolder("empty");
    WriteMail(MakeFolder(".hidden") + "/h.pml", kNov);
    SetMTimeMarker(Path(".hidden/h.pml"));
    // A link back up the tree is not followed.
    ASSERT_EQ(symlink("..", QFile::encodeName(Path("a/up")).constData()), 0);

    {
        TMessageConverter converter; // not recursive: subfolders stay as they are
        EXPECT_TRUE(converter.Convert(Folder()));
        EXPECT_EQ(converter.Count, 1);
        EXPECT_FALSE(TMessageConverter::MarkerExists(Path("a")));
        QFile::remove(Path("pmlver.000"));
    }
    TMessageConverter converter;
    converter.Recursive = true;
    Recorder recorder;
    recorder.Attach(converter);
    EXPECT_TRUE(converter.Convert(Folder()));
    EXPECT_EQ(converter.Count, 3);
    EXPECT_TRUE(TMessageConverter::MarkerExists(Folder()));
    EXPECT_TRUE(TMessageConverter::MarkerExists(Path("a")));
    EXPECT_TRUE(TMessageConverter::MarkerExists(Path("a/deep")));
    EXPECT_FALSE(TMessageConverter::MarkerExists(Path("empty")));
    EXPECT_FALSE(TMessageConverter::MarkerExists(Path(".hidden")));
    EXPECT_EQ(MTimeMSecs(Path(".hidden/h.pml")), kUntouched);
    EXPECT_DOUBLE_EQ(MTimeAsDateTime(Path("a/deep/d.pml")), kNov);

    // A parent without messages is not converted; its subfolders are.
    QFile::remove(Path("top.pml"));
    QFile::remove(Path("pmlver.000"));
    EXPECT_FALSE(converter.Convert(Folder()));
    EXPECT_EQ(converter.Count, 2);
    EXPECT_FALSE(TMessageConverter::MarkerExists(Folder()));
}

TEST_F(MessageConverterTest, CancelStopsBeforeTheFileAndSkipsSubfolders) {
    for (int i = 0; i < 4; ++i) {
        WriteMail(Path(QString("m%1.pml").arg(i)), kJan);
        SetMTimeMarker(Path(QString("m%1.pml").arg(i)));
    }
    WriteMail(MakeFolder("sub") + "/s.pml", kJun);

    TMessageConverter converter;
    converter.Recursive = true;
    QStringList announced;
    converter.OnFile = [&](TMessageConverter &, const TConverterFileEntry &entry, bool &cancel) {
        announced.append(entry.Name);
        EXPECT_EQ(entry.Path, Folder() + "/" + entry.Name);
        if (announced.size() == 2)
            cancel = true;
    };
    EXPECT_FALSE(converter.Convert(Folder()));
    EXPECT_TRUE(converter.Cancel);
    EXPECT_EQ(converter.Count, 1);
    ASSERT_EQ(announced.size(), 2);
    EXPECT_NE(MTimeMSecs(Path(announced[0])), kUntouched);
    EXPECT_EQ(MTimeMSecs(Path(announced[1])), kUntouched);
    EXPECT_FALSE(TMessageConverter::MarkerExists(Folder()));
    EXPECT_FALSE(TMessageConverter::MarkerExists(Path("sub")));

    // The next call starts afresh.
    converter.OnFile = nullptr;
    EXPECT_TRUE(converter.Convert(Folder()));
    EXPECT_FALSE(converter.Cancel);
    EXPECT_EQ(converter.Count, 5);
}

TEST_F(MessageConverterTest, MarkerThatCannotBeWrittenRaises) {
    WriteMail(Path("m.pml"), kJan);
    MakeFolder("pmlver.000"); // a folder where the marker should go
    TMessageConverter converter;
    converter.OnError = [](TMessageConverter &, const QString &) {};
    try {
        converter.Convert(Folder());
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), "Cannot create file " + Folder() + "/pmlver.000");
    }
    EXPECT_EQ(converter.Count, 1);
}

TEST_F(MessageConverterTest, LinksAreNeitherConvertedNorWrittenThrough) {
    // Targets outside the converted folder: a message and a file where a marker link points.
    QTemporaryDir outside;
    const QString target = outside.filePath("target.pml");
    const QString victim = outside.filePath("victim.txt");
    WriteMail(target, kJun);
    SetMTimeMarker(target);
    WriteBytes(victim, "keep me");
    const QString folder = MakeFolder("linked");
    WriteMail(folder + "/m.pml", kJan);
    ASSERT_EQ(symlink(QFile::encodeName(target).constData(),
                      QFile::encodeName(folder + "/x.pml").constData()),
              0);
    ASSERT_EQ(symlink(QFile::encodeName(victim).constData(),
                      QFile::encodeName(folder + "/pmlver.000").constData()),
              0);
    const QString dangling = MakeFolder("dangling");
    WriteMail(dangling + "/m.pml", kJan);
    const QString missing = outside.filePath("created.txt");
    ASSERT_EQ(symlink(QFile::encodeName(missing).constData(),
                      QFile::encodeName(dangling + "/pmlver.000").constData()),
              0);

    for (const QString &path : {folder, dangling}) {
        TMessageConverter converter;
        Recorder recorder;
        recorder.Attach(converter);
        try {
            converter.Convert(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const Error &e) {
            EXPECT_EQ(e.message(), "Cannot create file " + path + "/pmlver.000");
        }
        EXPECT_EQ(recorder.files, QStringList{"m.pml"}); // the linked message is not listed
        EXPECT_EQ(converter.Count, 1);
        EXPECT_FALSE(TMessageConverter::MarkerExists(path));
    }
    EXPECT_EQ(MTimeMSecs(target), kUntouched);
    EXPECT_EQ(ReadAll(victim), "keep me");
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(TMessageConverter::HasMessageFiles(outside.path() + "/none"));
}

TEST_F(MessageConverterTest, TimeThatCannotBeSetIsReportedAndTheFolderStaysUnconverted) {
    // Only a file's owner may set its times, even when others may write it. As root the test
    // takes the identity of an ordinary user for the conversion.
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give files another owner";
    const uid_t user = 65534; // nobody
    const QString folder = MakeFolder("shared");
    ASSERT_EQ(chmod(QFile::encodeName(Folder()).constData(), 0777), 0);
    ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), 0777), 0);
    WriteMail(folder + "/own.pml", kJan);
    WriteMail(folder + "/other.pml", kJun);
    SetMTimeMarker(folder + "/other.pml");
    // Group-writable for the group the test runs in, owned by a third user.
    ASSERT_EQ(chown(QFile::encodeName(folder + "/own.pml").constData(), user, getegid()), 0);
    ASSERT_EQ(chown(QFile::encodeName(folder + "/other.pml").constData(), 4242, getegid()), 0);
    ASSERT_EQ(chmod(QFile::encodeName(folder + "/other.pml").constData(), 0664), 0);

    TMessageConverter converter;
    Recorder recorder;
    recorder.Attach(converter);
    ASSERT_EQ(seteuid(user), 0);
    const bool converted = converter.Convert(folder);
    ASSERT_EQ(seteuid(0), 0);
    EXPECT_FALSE(converted);
    EXPECT_EQ(converter.Count, 1);
    EXPECT_DOUBLE_EQ(MTimeAsDateTime(folder + "/own.pml"), kJan);
    EXPECT_EQ(MTimeMSecs(folder + "/other.pml"), kUntouched);
    ASSERT_EQ(recorder.errors.size(), 1);
    EXPECT_EQ(recorder.errors.first(), "Cannot set the time of file " + folder + "/other.pml: " +
                                           QString::fromLocal8Bit(strerror(EPERM)));
    EXPECT_FALSE(TMessageConverter::MarkerExists(folder));
}

TEST_F(MessageConverterTest, NamesThatAreNotUtf8AreConvertedAndShownReadably) {
    // A folder and files named in Latin-1, as copied from old Windows shares.
    const QByteArray folder = QFile::encodeName(Folder()) + "/d\xE9p\xF4t";
    ASSERT_EQ(mkdir(folder.constData(), 0700), 0);
    WriteMail(Path("cafe.pml"), kJun);
    WriteBroken(Path("creme.pml"));
    ASSERT_EQ(rename(QFile::encodeName(Path("cafe.pml")).constData(),
                     (folder + "/caf\xE9.pml").constData()),
              0);
    ASSERT_EQ(rename(QFile::encodeName(Path("creme.pml")).constData(),
                     (folder + "/cr\xE8me.pml").constData()),
              0);

    TMessageConverter converter;
    converter.Recursive = true;
    Recorder recorder;
    recorder.Attach(converter);
    converter.Convert(Folder());
    EXPECT_EQ(converter.Count, 1);
    struct stat st {};
    ASSERT_EQ(stat((folder + "/caf\xE9.pml").constData(), &st), 0);
    EXPECT_DOUBLE_EQ(UnixMSecsToDateTime(qint64(st.st_mtim.tv_sec) * 1000), kJun);
    ASSERT_EQ(recorder.errors.size(), 1);
    EXPECT_TRUE(recorder.errors.first().startsWith("Cannot load file:\r\n\r\n" + Folder() +
                                                   QString::fromUtf8("/dépôt/crème.pml\r\n")))
        << recorder.errors.first();
    EXPECT_EQ(stat((folder + "/pmlver.000").constData(), &st), 0);
    std::filesystem::remove_all(folder.toStdString()); // QTemporaryDir cannot name it
}

TEST_F(MessageConverterTest, EveryProblemNamesItsFile) {
    // Inflation, value and date errors of the model do not name the file by themselves.
    WriteBytes(Path("field.pml"), hostile::CorruptField());
    WriteBytes(Path("date.pml"), hostile::BadDate());
    TMessageConverter converter;
    Recorder recorder;
    recorder.Attach(converter);
    converter.Convert(Folder());
    ASSERT_EQ(recorder.errors.size(), 2);
    recorder.errors.sort();
    auto expected = [&](const char *name, const QString &reason) {
        return "Cannot load file:\r\n\r\n" + Path(name) + "\r\n\r\n" + reason;
    };
    EXPECT_EQ(recorder.errors[0],
              expected("date.pml",
                       "IsoDateTimeToDateTime(20030230T000000): Invalid argument to date encode"));
    EXPECT_EQ(recorder.errors[1], expected("field.pml", "data error"));
}

TEST_F(MessageConverterTest, HasMessageFilesLooksAtVisibleFilesOnly) {
    EXPECT_FALSE(TMessageConverter::HasMessageFiles(Folder()));
    WriteMail(Path(".hidden.pml"), kJan);
    ASSERT_EQ(mkfifo(QFile::encodeName(Path("pipe.pml")).constData(), 0600), 0);
    WriteMail(MakeFolder("sub") + "/s.pml", kJan);
    MakeFolder("dir.pml");
    EXPECT_FALSE(TMessageConverter::HasMessageFiles(Folder()));
    WriteMail(Path("X.PML"), kJan);
    EXPECT_TRUE(TMessageConverter::HasMessageFiles(Folder()));
    EXPECT_FALSE(TMessageConverter::HasMessageFiles(Path("missing")));
    EXPECT_FALSE(TMessageConverter::MarkerExists(Folder()));
}

TEST_F(MessageConverterTest, UnreadableSubfolderIsReportedAndTheWalkGoesOn) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    WriteMail(Path("top.pml"), kJan);
    WriteMail(MakeFolder("closed") + "/c.pml", kJan);
    WriteMail(MakeFolder("open") + "/o.pml", kJan);
    ASSERT_EQ(chmod(QFile::encodeName(Path("closed")).constData(), 0), 0);

    TMessageConverter converter;
    converter.Recursive = true;
    Recorder recorder;
    recorder.Attach(converter);
    EXPECT_TRUE(converter.Convert(Folder()));
    chmod(QFile::encodeName(Path("closed")).constData(), 0700);
    EXPECT_EQ(converter.Count, 2);
    ASSERT_EQ(recorder.errors.size(), 1);
    EXPECT_TRUE(recorder.errors.first().startsWith("Cannot list folder " + Path("closed") + "/: "));
    EXPECT_TRUE(TMessageConverter::MarkerExists(Path("open")));
}
