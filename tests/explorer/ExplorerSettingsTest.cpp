#include "explorer/ExplorerSettings.h"
#include "base/IniFile.h"
#include "explorer/FolderDateCheck.h"
#include "explorer/FolderViewStore.h"
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

TEST(ExplorerSettings, DefaultsRoundTripAndRestoreRules) {
    QTemporaryDir dir;
    const QString path = dir.filePath("CONFIG.INI");
    {
        const TExplorerSettings s = ReadExplorerSettings(TIniFile(path));
        EXPECT_EQ(s.State, 1);
        EXPECT_FALSE(s.RestoresState()); // a first start keeps the designed state
        EXPECT_EQ(s.PaneHeight, -1);
        EXPECT_EQ(s.SortBy, 2);
        EXPECT_TRUE(s.SortAscending && s.QuickViewVisible && s.QuickViewToolbar &&
                    s.AttachmentWindow && s.SystemAttachments && s.PromptToConvert &&
                    s.ConvertSubfolders);
        EXPECT_FALSE(s.IsTimestampUtc);
        EXPECT_EQ(s.RestoredBounds(QRect(10, 20, 769, 579)), QRect(10, 20, 769, 579));
    }
    TExplorerSettings written;
    written.State = 0;
    written.Left = 5;
    written.Top = 6;
    written.Width = 700;
    written.Height = 500;
    written.PaneHeight = 210;
    written.FoldersWidth = 190;
    written.SubjectWidth = 300;
    written.DateWidth = 140;
    written.SortBy = 1;
    written.SortAscending = false;
    written.QuickViewVisible = false;
    written.SystemAttachments = false;
    written.IsTimestampUtc = true;
    written.PromptToConvert = false;
    {
        TIniFile ini(path);
        WriteExplorerSettings(ini, written);
        ini.UpdateFile();
    }
    TExplorerSettings read = ReadExplorerSettings(TIniFile(path));
    EXPECT_EQ(read.RestoredBounds(QRect(0, 0, 769, 579)), QRect(5, 6, 700, 500));
    EXPECT_TRUE(read.RestoresState());
    EXPECT_EQ(read.PaneHeight, 210);
    EXPECT_EQ(read.FoldersWidth, 190);
    EXPECT_EQ(read.SubjectWidth, 300);
    EXPECT_EQ(read.DateWidth, 140);
    EXPECT_EQ(read.SortBy, 1);
    EXPECT_FALSE(read.SortAscending);
    EXPECT_FALSE(read.QuickViewVisible);
    EXPECT_TRUE(read.QuickViewToolbar);
    EXPECT_FALSE(read.SystemAttachments);
    EXPECT_TRUE(read.IsTimestampUtc);
    EXPECT_FALSE(read.PromptToConvert);

    // Closing maximised writes the state and keeps the earlier normal bounds.
    TExplorerSettings maximised = read;
    maximised.State = 2;
    maximised.Left = maximised.Top = 0;
    maximised.Width = 1920;
    maximised.Height = 1080;
    {
        TIniFile ini(path);
        WriteExplorerSettings(ini, maximised);
        ini.UpdateFile();
    }
    read = ReadExplorerSettings(TIniFile(path));
    EXPECT_EQ(read.State, 2);
    EXPECT_EQ(read.RestoredBounds(QRect(0, 0, 769, 579)), QRect(5, 6, 700, 500));

    // A stored minimised state is never restored; a non-integer is the key's default.
    writeFile(path, "[Main Window]\r\nState=1\r\nWidth=-1\r\n[Messages Pane]\r\n"
                    "Sort Ascending=yes\r\n");
    read = ReadExplorerSettings(TIniFile(path));
    EXPECT_FALSE(read.RestoresState());
    EXPECT_TRUE(read.SortAscending);
    EXPECT_EQ(read.RestoredBounds(QRect(3, 4, 769, 579)), QRect(3, 4, 769, 579));
}

TEST(FolderDateCheck, WhenToAskAndWhichWarning) {
    const TFolderDateFacts empty{false, false}, unconverted{true, false}, converted{true, true};
    // Prompted: only an unconverted folder with messages, and only while prompting is on.
    EXPECT_TRUE(ShouldAskToConvert(true, unconverted, true));
    EXPECT_FALSE(ShouldAskToConvert(true, unconverted, false));
    EXPECT_FALSE(ShouldAskToConvert(true, empty, true));
    EXPECT_FALSE(ShouldAskToConvert(true, converted, true));
    // From the menu: always.
    EXPECT_TRUE(ShouldAskToConvert(false, empty, false));
    EXPECT_TRUE(ShouldAskToConvert(false, converted, false));

    auto outcome = [](bool prompted, TFolderDateFacts facts, int warnings, bool ran) {
        const TDateCheckOutcome o = DateCheckOutcome(prompted, facts, warnings, ran);
        return std::pair{o.Warning, o.RefreshList};
    };
    using W = TDateWarning;
    // No message files: hidden whatever happened; the menu refreshes the list.
    EXPECT_EQ(outcome(true, empty, 0, false), std::pair(W::Hidden, false));
    EXPECT_EQ(outcome(false, empty, 0, true), std::pair(W::Hidden, true));
    EXPECT_EQ(outcome(false, empty, 0, false), std::pair(W::Hidden, true));
    // Unconverted and not converted now.
    EXPECT_EQ(outcome(true, unconverted, 0, false), std::pair(W::MayBeWrong, false));
    EXPECT_EQ(outcome(false, unconverted, 0, false), std::pair(W::Unchanged, false));
    // A run with problems, whoever started it.
    EXPECT_EQ(outcome(true, converted, 2, true), std::pair(W::Problems, false));
    EXPECT_EQ(outcome(false, unconverted, 1, true), std::pair(W::Problems, false));
    // A clean run.
    EXPECT_EQ(outcome(true, converted, 0, true), std::pair(W::Hidden, false));
    EXPECT_EQ(DateWarningText(W::MayBeWrong),
              "The Date column may display incorrect dates for this folder");
    EXPECT_EQ(DateWarningText(W::Problems),
              "Convert Dates: there were problems while converting this folder");
}

TEST(FolderDateCheck, MessageFilesAreVisiblePmlFilesOfAnyCase) {
    QTemporaryDir dir;
    EXPECT_FALSE(FolderHasMessageFiles(dir.path()));
    writeFile(dir.filePath(".hidden.pml"), "x");
    writeFile(dir.filePath("note.txt"), "x");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.pml"));
    EXPECT_FALSE(FolderHasMessageFiles(dir.path()));
    writeFile(dir.filePath("Mail.PML"), "x");
    EXPECT_TRUE(FolderHasMessageFiles(dir.path() + "/"));
    EXPECT_FALSE(FolderHasMessageFiles(dir.filePath("missing")));
}

TEST(FolderViewStore, SavesViewsByNameAndIgnoresForeignFiles) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Folders.DAT");
    EXPECT_TRUE(LoadFolderViews(path).isEmpty());
    TFolderViews views;
    views.insert(kFoldersTreeView, TFolderView{{"/home/ann", "/home/ann/mail"},
                                               "/home/ann/mail/2024",
                                               "/home/ann/mail/2024",
                                               "/home/ann"});
    views.insert("Other", TFolderView{{}, "/srv", "", ""});
    SaveFolderViews(path, views);
    const TFolderViews read = LoadFolderViews(path);
    ASSERT_EQ(read.size(), 2);
    const TFolderView &tree = read[kFoldersTreeView];
    EXPECT_EQ(tree.Expanded, QStringList({"/home/ann", "/home/ann/mail"}));
    EXPECT_EQ(tree.Selected, "/home/ann/mail/2024");
    EXPECT_EQ(tree.Top, "/home/ann");
    EXPECT_EQ(read["Other"].Selected, "/srv");

    writeFile(path, "\x01\x02 not json");
    EXPECT_TRUE(LoadFolderViews(path).isEmpty());
    EXPECT_THROW(SaveFolderViews(dir.filePath("missing/Folders.DAT"), views), std::exception);
}
