#include "util/WorkFolder.h"
#include "base/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarvin;

namespace {

class WorkFolderTest : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QString base() const { return temp.path() + "/"; }
    void makeDir(const QString &name) {
        ASSERT_TRUE(QDir(temp.path()).mkdir(name)) << name.toStdString();
    }
    void makeFile(const QString &path, const QByteArray &data = "x") {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        f.write(data);
    }
    QString next() { return NewTempFolderName("_vwr", temp.path()); }
};

mode_t modeOf(const QString &path) {
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 07777;
}

} // namespace

TEST_F(WorkFolderTest, NumbersCountUpInHex) {
    EXPECT_EQ(next(), base() + "_vwr0000");
    makeDir("_vwr0000");
    makeDir("_vwr0009");
    EXPECT_EQ(next(), base() + "_vwr000a");
    makeDir("_vwr000a");
    EXPECT_EQ(next(), base() + "_vwr000b");
    // Nothing was created by asking.
    EXPECT_FALSE(QFileInfo::exists(base() + "_vwr000b"));
}

TEST_F(WorkFolderTest, PlainFilesDoNotCountButAreNeverHandedOut) {
    makeFile(base() + "_vwr0007");
    EXPECT_EQ(next(), base() + "_vwr0000");
    makeDir("_vwr0004");
    makeFile(base() + "_vwr0005");
    makeFile(base() + "_vwr0006");
    EXPECT_EQ(next(), base() + "_vwr0008"); // 5, 6 and 7 are taken by files
    ASSERT_EQ(::symlink("/nonexistent", QFile::encodeName(base() + "_vwr0008").constData()), 0);
    EXPECT_EQ(next(), base() + "_vwr0009"); // a dangling link holds its name too
}

TEST_F(WorkFolderTest, OddNamesWithThePrefix) {
    makeDir("_vwr");
    EXPECT_EQ(next(), base() + "_vwr0001"); // the bare prefix counts as 0
    makeDir("_vwr0003");
    makeDir("_vwrzzzz"); // sorts last as text but is not a number: ignored, no restart at 1
    makeDir("_vwr-old");
    EXPECT_EQ(next(), base() + "_vwr0004");
    makeDir("_VWR00A0");
    EXPECT_EQ(next(), base() + "_vwr00a1");
    makeDir("other");
    EXPECT_EQ(next(), base() + "_vwr00a1");
}

TEST_F(WorkFolderTest, NumbersAboveFfffGrowAndTheSweepLeavesThem) {
    makeDir("_vwrffff");
    EXPECT_EQ(next(), base() + "_vwr10000");
    makeDir("_vwr10000");
    // "_vwr10000" sorts before "_vwrffff" as text; the highest value still wins.
    EXPECT_EQ(next(), base() + "_vwr10001");

    makeDir("_vwr0001");
    makeFile(base() + "_vwr0002");
    makeFile(base() + "_vwr0001/inside");
    DeleteTempFolders("_vwr????", temp.path());
    EXPECT_FALSE(QFileInfo::exists(base() + "_vwr0001"));
    EXPECT_FALSE(QFileInfo::exists(base() + "_vwrffff"));
    EXPECT_TRUE(QFileInfo::exists(base() + "_vwr10000"));
    EXPECT_TRUE(QFileInfo::exists(base() + "_vwr0002")); // plain files are left alone
}

TEST_F(WorkFolderTest, SweepDoesNotFollowLinks) {
    QTemporaryDir outside;
    makeFile(outside.path() + "/keep.txt");
    ASSERT_EQ(::symlink(QFile::encodeName(outside.path()).constData(),
                        QFile::encodeName(base() + "_vwr0001").constData()),
              0);
    DeleteTempFolders("_vwr????", temp.path());
    EXPECT_TRUE(QFileInfo::exists(outside.path() + "/keep.txt"));
}

TEST_F(WorkFolderTest, SweepLeavesFoldersInUse) {
    // Another Tarvin beside this one sweeps at its start: the folders of frames that are still
    // alive must stay, those whose holder has gone are removed.
    auto inUse = std::make_unique<TWorkFolder>("TTarvinFrame", temp.path());
    const QString held = inUse->Path();
    makeFile(held + "text.htm");
    makeDir("_vwr00aa");
    DeleteTempFolders("_vwr????", temp.path());
    EXPECT_TRUE(QFileInfo::exists(held + "text.htm"));
    EXPECT_FALSE(QFileInfo::exists(base() + "_vwr00aa"));
    // A folder that had to be made again is held again.
    ASSERT_TRUE(DeleteTree(held));
    EXPECT_EQ(inUse->Path(), held);
    DeleteTempFolders("_vwr????", temp.path());
    EXPECT_TRUE(QFileInfo::exists(held));
    inUse.reset();
    EXPECT_FALSE(QFileInfo::exists(held));
}

TEST_F(WorkFolderTest, DeleteTreeRemovesReadOnlyContents) {
    const QString root = base() + "tree";
    ASSERT_TRUE(QDir().mkpath(root + "/sub/deeper"));
    makeFile(root + "/a.txt");
    makeFile(root + "/sub/b.txt");
    makeFile(root + "/sub/deeper/.hidden");
    QFile::setPermissions(root + "/a.txt", QFile::ReadOwner);
    QFile::setPermissions(root + "/sub/b.txt", QFile::ReadOwner);
    // A folder without write or execute permission must be opened up before emptying.
    ::chmod(QFile::encodeName(root + "/sub/deeper").constData(), 0500);
    ::chmod(QFile::encodeName(root + "/sub").constData(), 0400);
    QTemporaryDir outside;
    makeFile(outside.path() + "/keep.txt");
    ASSERT_EQ(::symlink(QFile::encodeName(outside.path()).constData(),
                        QFile::encodeName(root + "/link").constData()),
              0);

    EXPECT_TRUE(DeleteTree(root + "/"));
    EXPECT_FALSE(QFileInfo::exists(root));
    EXPECT_TRUE(QFileInfo::exists(outside.path() + "/keep.txt")); // link removed, not followed
    EXPECT_FALSE(DeleteTree(root));                               // already gone
    makeFile(base() + "plain");
    EXPECT_FALSE(DeleteTree(base() + "plain")); // not a folder: left alone
    EXPECT_TRUE(QFileInfo::exists(base() + "plain"));
}

TEST_F(WorkFolderTest, DeleteTreeReportsAFolderItCouldNotRemove) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may remove anything";
    const QString parent = base() + "parent";
    ASSERT_TRUE(QDir().mkpath(parent + "/child"));
    makeFile(parent + "/child/f");
    // The parent is not part of the tree, so its missing write permission is not restored.
    ::chmod(QFile::encodeName(parent).constData(), 0500);
    EXPECT_FALSE(DeleteTree(parent + "/child"));
    EXPECT_FALSE(QFileInfo::exists(parent + "/child/f")); // the walk still emptied it
    ::chmod(QFile::encodeName(parent).constData(), 0700);
    EXPECT_TRUE(DeleteTree(parent));
}

TEST_F(WorkFolderTest, WorkFolderLifecycle) {
    QString path;
    {
        TWorkFolder folder("TTarvinFrame", temp.path());
        EXPECT_TRUE(folder.HeldPath().isEmpty());
        makeDir("_vwr0002");
        path = folder.Path();
        EXPECT_EQ(path, base() + "_vwr0003/");
        EXPECT_TRUE(QFileInfo(path).isDir());
        EXPECT_EQ(modeOf(path), 0700u);
        makeFile(path + "text.htm");
        QFile::setPermissions(path + "text.htm", QFile::ReadOwner);

        // Removed while the frame lives: made again at the same path.
        ASSERT_TRUE(DeleteTree(path));
        EXPECT_EQ(folder.Path(), path);
        EXPECT_TRUE(QFileInfo(path).isDir());

        TWorkFolder second("TTarvinFrame", temp.path());
        EXPECT_EQ(second.Path(), base() + "_vwr0004/");
        makeFile(path + "attachment.pdf");
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(QFileInfo::exists(base() + "_vwr0004"));
    EXPECT_TRUE(QFileInfo::exists(base() + "_vwr0002"));
}

TEST_F(WorkFolderTest, WorkFolderThatCannotBeMadeRaisesTheFrameError) {
    TWorkFolder folder("TViewerFrame", temp.path());
    const QString path = folder.Path();
    ASSERT_TRUE(DeleteTree(path));
    makeFile(path.chopped(1)); // a plain file now holds the name
    try {
        folder.Path();
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(),
                  QString("TViewerFrame.GetWorkFolder: Cannot create directory '%1'").arg(path));
    }
    QFile::remove(path.chopped(1));

    TWorkFolder missingBase("TTarvinFrame", temp.path() + "/no/such/folder");
    try {
        missingBase.Path();
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QString("TTarvinFrame.GetWorkFolder: Cannot create directory "
                                       "'%1/no/such/folder/_vwr0000/'")
                                   .arg(temp.path()));
    }
}

TEST_F(WorkFolderTest, NameInAFolderThatCannotBeLookedIntoIsAnError) {
    // A plain file where the folder should be: every look-up fails with ENOTDIR, which must
    // end in an error rather than a search for ever.
    makeFile(base() + "plain");
    try {
        NewTempFolderName("_vwr", base() + "plain");
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QString("Cannot choose a work folder name in '%1plain': %2")
                                   .arg(base(), QString::fromLocal8Bit(strerror(ENOTDIR))));
    }
}

TEST_F(WorkFolderTest, PrivateFolderIsCreatedAndNarrowed) {
    const QString folder = base() + "tarvin";
    EXPECT_EQ(EnsurePrivateFolder(folder), folder + "/");
    EXPECT_EQ(modeOf(folder), 0700u);
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    EXPECT_EQ(EnsurePrivateFolder(folder + "/"), folder + "/");
    EXPECT_EQ(modeOf(folder), 0700u);
}

TEST_F(WorkFolderTest, PrivateFolderRefusesLinksFilesAndForeignOwners) {
    makeDir("real");
    const QString link = base() + "tarvin";
    ASSERT_EQ(::symlink(QFile::encodeName(base() + "real").constData(),
                        QFile::encodeName(link).constData()),
              0);
    try {
        EnsurePrivateFolder(link);
        FAIL() << "link accepted";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().contains("is a symbolic link")) << e.what();
    }
    makeFile(base() + "file");
    EXPECT_THROW(EnsurePrivateFolder(base() + "file"), Error);
    EXPECT_THROW(EnsurePrivateFolder(base() + "missing/tarvin"), Error);

    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder to another user";
    makeDir("foreign");
    ASSERT_EQ(::chown(QFile::encodeName(base() + "foreign").constData(), 65534, 65534), 0);
    try {
        EnsurePrivateFolder(base() + "foreign");
        FAIL() << "foreign folder accepted";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().contains("belongs to another user")) << e.what();
    }
}

TEST(PrivateTempFolder, FollowsTheRuntimeFolder) {
    QTemporaryDir runtime;
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    EXPECT_EQ(PrivateTempFolderPath(), runtime.path() + "/tarvin");
    EXPECT_EQ(PrivateTempFolder(), runtime.path() + "/tarvin/");
    EXPECT_TRUE(QFileInfo(runtime.path() + "/tarvin").isDir());
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(PrivateTempFolderPath(), QDir::tempPath() + QString("/tarvin-%1").arg(::geteuid()));
    if (saved.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", saved);
}
