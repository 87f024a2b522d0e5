#include "app/AppFolders.h"
#include "app/Config.h"
#include "app/IniFile.h"
#include "app/Manual.h"
#include "app/Settings.h"
#include "app/VersionInfo.h"
#include "util/Error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;

namespace {

QString writeFile(const QString &path, const QByteArray &content) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

} // namespace

TEST(IniFile, ReadsIntegersByTheProfileRules) {
    QTemporaryDir dir;
    QString path = writeFile(dir.filePath("a.ini"), "[Main Window]\r\n"
                                                    "Left=0x1F\r\n"
                                                    "Top = -12 \r\n"
                                                    "Width=12abc\r\n"
                                                    "Height=\r\n"
                                                    "State=0xZZ\n"
                                                    "Big=99999999999\n"
                                                    "[Messages Pane]\n"
                                                    "Sort Ascending=yes\n"
                                                    "Quoted=\"  spaced  \"\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Main Window", "Left", -1), 31);
    EXPECT_EQ(ini.ReadInteger("main window", "TOP", -1), -12);
    EXPECT_EQ(ini.ReadInteger("Main Window", "Width", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Main Window", "Height", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Main Window", "State", 1), 1);
    EXPECT_EQ(ini.ReadInteger("Main Window", "Big", 5), 5);
    EXPECT_EQ(ini.ReadInteger("Main Window", "Missing", 3), 3);
    EXPECT_EQ(ini.ReadInteger("No Section", "Left", 4), 4);
    // "yes" is not an integer, so the boolean takes its default.
    EXPECT_TRUE(ini.ReadBool("Messages Pane", "Sort Ascending", true));
    EXPECT_FALSE(ini.ReadBool("Messages Pane", "Sort Ascending", false));
    EXPECT_EQ(ini.ReadString("Messages Pane", "Quoted", "d"), "  spaced  ");
}

TEST(IniFile, BooleansAreWrittenAsDigitsAndReadAsIntegers) {
    QTemporaryDir dir;
    QString path = dir.filePath("b.ini");
    {
        TIniFile ini(path);
        ini.WriteBool("QuickViewer", "Visible", false);
        ini.WriteBool("QuickViewer", "ShowToolbar", true);
        ini.WriteInteger("QuickViewer", "Other", 42);
        ini.UpdateFile();
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[QuickViewer]\r\nVisible=0\r\nShowToolbar=1\r\nOther=42\r\n");
    TIniFile ini(path);
    EXPECT_FALSE(ini.ReadBool("QuickViewer", "Visible", true));
    EXPECT_TRUE(ini.ReadBool("QuickViewer", "ShowToolbar", false));
    EXPECT_TRUE(ini.ReadBool("QuickViewer", "Other", false)); // any non-zero is true
}

TEST(IniFile, LongValuesAreCutAt2047Characters) {
    QTemporaryDir dir;
    QString path = dir.filePath("c.ini");
    TIniFile ini(path);
    ini.WriteString("S", "K", QString(3000, 'x'));
    ini.UpdateFile();
    EXPECT_EQ(TIniFile(path).ReadString("S", "K", {}).size(), 2047);
}

TEST(IniFile, RewritingKeepsOtherLinesAndMatchesNamesWithoutCase) {
    QTemporaryDir dir;
    QString path = writeFile(dir.filePath("d.ini"), "; comment\n[send mail]\nsubjectreply=AW:\n\n"
                                                    "[Other]\nx=1\n");
    TIniFile ini(path);
    ini.WriteString("Send Mail", "SubjectReply", "Re:");
    ini.WriteString("Send Mail", "SubjectForward", "Fwd:");
    ini.WriteString("New", "k", "v");
    ini.UpdateFile();
    TIniFile again(path);
    EXPECT_EQ(again.ReadString("Send Mail", "SubjectReply", {}), "Re:");
    EXPECT_EQ(again.ReadString("SEND MAIL", "subjectforward", {}), "Fwd:");
    EXPECT_EQ(again.ReadInteger("Other", "x", 0), 1);
    EXPECT_EQ(again.ReadString("New", "k", {}), "v");
    EXPECT_TRUE(again.Text().startsWith("; comment\r\n[send mail]\r\nSubjectReply=Re:\r\n"
                                        "SubjectForward=Fwd:\r\n"));
}

TEST(IniFile, MissingFileReadsAsDefaultsAndUnwritableFileFails) {
    TIniFile ini("/nonexistent-folder/CONFIG.INI");
    EXPECT_EQ(ini.ReadString("A", "B", "def"), "def");
    ini.WriteString("A", "B", "x");
    try {
        ini.UpdateFile();
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), "Unable to write to /nonexistent-folder/CONFIG.INI");
    }
}

TEST(Settings, TableHoldsEveryKeyWithItsDefault) {
    EXPECT_EQ(AllSettingKeys().size(), 23);
    QTemporaryDir dir;
    TIniFile empty(dir.filePath("none.ini"));
    EXPECT_EQ(ReadIntegerSetting(empty, Setting::MainWindowState), 1);
    EXPECT_EQ(ReadIntegerSetting(empty, Setting::MessagesSubjectWidth), 360);
    EXPECT_EQ(ReadIntegerSetting(empty, Setting::MessagesDateWidth), 152);
    EXPECT_EQ(ReadIntegerSetting(empty, Setting::MessagesSortBy), 2);
    EXPECT_EQ(ReadIntegerSetting(empty, Setting::FoldersMessagesPaneHeight, 250), 250);
    EXPECT_TRUE(ReadBoolSetting(empty, Setting::MessagesSortAscending));
    EXPECT_FALSE(ReadBoolSetting(empty, Setting::FileOptionsIsTimestampUtc));
    EXPECT_TRUE(ReadBoolSetting(empty, Setting::ConvertDatesPromptToConvert));
    EXPECT_FALSE(ReadBoolSetting(empty, Setting::ViewerLoadRemoteContent));
}

TEST(Config, DefaultsAndRoundTrip) {
    TConfig config;
    EXPECT_TRUE(config.IncludeViewerTrailer);
    EXPECT_EQ(config.SubjectForward, "Fwd:");
    EXPECT_EQ(config.SubjectReply, "Re:");
    EXPECT_FALSE(config.LoadRemoteContent);
    EXPECT_TRUE(
        config.ViewerTrailer.startsWith("Download a viewer for the attached PML file from "));

    QTemporaryDir dir;
    QString path = dir.filePath("CONFIG.INI");
    config.IncludeViewerTrailer = false;
    config.SubjectForward = QString::fromUtf8("Wg:");
    config.SubjectReply = QString::fromUtf8("Antw: ü");
    config.ViewerTrailer = "Get it.";
    config.LoadRemoteContent = true;
    TIniFile ini(path);
    config.SaveToIni(ini);
    ini.UpdateFile();

    TConfig loaded;
    loaded.LoadFromIni(TIniFile(path));
    EXPECT_FALSE(loaded.IncludeViewerTrailer);
    EXPECT_EQ(loaded.SubjectForward, "Wg:");
    EXPECT_EQ(loaded.SubjectReply, QString::fromUtf8("Antw: ü"));
    EXPECT_EQ(loaded.ViewerTrailer, "Get it.");
    EXPECT_TRUE(loaded.LoadRemoteContent);
}

TEST(VersionInfo, ComesFromTheCompiledResource) {
    EXPECT_EQ(VersionKey(2), "Halvorn");
    EXPECT_EQ(VersionKey(4), "2.0.3.0");
    EXPECT_EQ(VersionKey(9), "Tarvin");
    EXPECT_EQ(VersionKey(99), "");
    EXPECT_FALSE(VersionValue("LegalCopyright").isEmpty());
}

TEST(AppFolders, FollowXdgConfigHomeAndAreNotCreated) {
    QTemporaryDir dir;
    QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    EXPECT_EQ(ComputeAppDataFolder(), dir.path() + "/Halvorn/Tarvin/");
    EXPECT_FALSE(QDir(dir.path() + "/Halvorn").exists());
    qputenv("XDG_CONFIG_HOME", "relative/path"); // not absolute: ignored
    EXPECT_EQ(ComputeAppDataFolder(), QDir::homePath() + "/.config/Halvorn/Tarvin/");
    qputenv("XDG_CONFIG_HOME", old);
    EXPECT_TRUE(ConfigIniPath().endsWith("/Halvorn/Tarvin/CONFIG.INI"));
    EXPECT_TRUE(FoldersDatPath().endsWith("/Tarvin/Folders.DAT"));
    EXPECT_TRUE(ConvertLogPath().endsWith("/Tarvin/CVTDATES.LOG"));
    EXPECT_TRUE(ForceDirectories(dir.path() + "/a/b/c"));
    EXPECT_TRUE(QDir(dir.path() + "/a/b/c").exists());
}

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
