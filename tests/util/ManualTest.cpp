#include "util/Manual.h"
#include "base/Error.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;

namespace {

void writeFile(const QString &path, const QByteArray &content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
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

    // The manual beside the program wins, but only once the help folder is known.
    writeFile(user.filePath("pelorin.ini"),
              ("[1.0]\npelorin=" + install.path() + "\n").toLocal8Bit());
    EXPECT_EQ(ManualFilePath(program.path(), {user.path()}),
              install.path() + "/Help/halvorn-tarvin-manual.pdf");
    writeFile(program.filePath("halvorn-tarvin-manual.pdf"), "%PDF");
    EXPECT_EQ(ManualFilePath(program.path(), {user.path()}),
              program.path() + "/halvorn-tarvin-manual.pdf");
    QFile::remove(user.filePath("pelorin.ini"));
    EXPECT_THROW(ManualFilePath(program.path(), {user.path()}), Error);
}
