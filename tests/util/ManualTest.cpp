#include "util/Manual.h"
#include "base/Error.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;

namespace {

void writeFile(const QString &path, const QByteArray &content) {
    tarvin::testing::WriteTestFile(path, content);
}

} // namespace

TEST(Manual, HelpFolderLookup) {
    QTemporaryDir user, system, install, program;
    const QString missing = "Could not determine the location of Pelorin";
    auto expectMissing = [&](const QStringList &folders) {
        try {
            HelpFolder(folders);
            FAIL();
        } catch (const Error &e) {
            EXPECT_EQ(e.message(), missing);
        }
    };
    expectMissing({user.path(), system.path()});

    writeFile(system.filePath("pelorin.ini"),
              ("[1.0]\npelorin=" + install.path() + "\n").toLocal8Bit());
    EXPECT_EQ(HelpFolder({user.path(), system.path()}), install.path() + "/Help/");

    // The user's file comes first; "Applet Help" wins over the installation folder.
    writeFile(user.filePath("pelorin.ini"),
              ("[1.0]\npelorin=" + install.path() + "\nApplet Help=  /opt/help  \n").toLocal8Bit());
    EXPECT_EQ(HelpFolder({user.path(), system.path()}), "/opt/help/");

    writeFile(user.filePath("pelorin.ini"), "[1.0]\npelorin=/no/such/folder\n");
    expectMissing({user.path(), system.path()});
    writeFile(user.filePath("pelorin.ini"), "[1.0]\nApplet Help=/opt/help\n");
    expectMissing({user.path()});
}

TEST(Manual, TarvinsOwnManualNeedsNoSuite) {
    // <prefix>/bin/tarvin with <prefix>/share/doc/tarvin/.
    QTemporaryDir prefix, user, install;
    ASSERT_TRUE(QDir(prefix.path()).mkpath("bin") &&
                QDir(prefix.path()).mkpath("share/doc/tarvin"));
    const QString bin = prefix.filePath("bin");
    const QString doc = prefix.filePath("share/doc/tarvin/halvorn-tarvin-manual.pdf");
    EXPECT_EQ(InstalledDocFolder(bin), prefix.filePath("share/doc/tarvin") + "/");

    // Without the suite and without a manual of our own: the suite's error.
    EXPECT_THROW(ManualFilePath(bin, {user.path()}), Error);
    // The installed manual opens without the suite.
    writeFile(doc, "%PDF");
    EXPECT_EQ(ManualFilePath(bin, {user.path()}), doc);
    // The one beside the program comes first.
    writeFile(bin + "/halvorn-tarvin-manual.pdf", "%PDF");
    EXPECT_EQ(ManualFilePath(bin, {user.path()}), bin + "/halvorn-tarvin-manual.pdf");
    // Neither: the suite's help folder.
    QFile::remove(doc);
    QFile::remove(bin + "/halvorn-tarvin-manual.pdf");
    writeFile(user.filePath("pelorin.ini"),
              ("[1.0]\npelorin=" + install.path() + "\n").toLocal8Bit());
    EXPECT_EQ(ManualFilePath(bin, {user.path()}),
              install.path() + "/Help/halvorn-tarvin-manual.pdf");
}
