#include "base/Settings.h"
#include "base/AppFolders.h"
#include "base/DesktopServices.h"
#include "base/Error.h"
#include "base/IniFile.h"
#include "base/VersionInfo.h"
#include "support/RecordingDesktop.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;

namespace {

QString writeFile(const QString &path, const QByteArray &content) {
    return tarvin::testing::WriteTestFile(path, content);
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

TEST(DesktopServices, ScopedServicesAreInstalledAndPutBack) {
    IDesktopServices *headless = &Desktop();
    {
        tarvin::testing::TRecordingDesktop outer;
        EXPECT_EQ(&Desktop(), &outer);
        {
            tarvin::testing::TRecordingDesktop inner;
            inner.Answers.push_back(TMessageAnswer::Yes);
            EXPECT_TRUE(Desktop().AskYesNo(nullptr, "Tarvin", "Convert?"));
            Desktop().ShowError(nullptr, "Tarvin", "Failed");
            EXPECT_EQ(inner.MessageTexts(), QStringList({"Convert?", "Failed"}));
        }
        EXPECT_EQ(&Desktop(), &outer);
        EXPECT_TRUE(outer.Messages.empty());
    }
    EXPECT_EQ(&Desktop(), headless);
    // Without a desktop, questions take their default and opening fails with a reason.
    EXPECT_FALSE(Desktop().AskYesNo(nullptr, "", "Question?", TMessageAnswer::No));
    EXPECT_THROW(Desktop().OpenFile(nullptr, "/tmp/x.txt"), Error);
}
