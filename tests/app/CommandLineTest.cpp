#include "app/CommandLine.h"
#include "base/Console.h"
#include "base/RunMode.h"
#include "support/RecordingDesktop.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;

namespace {

TStartupOptions parse(const QStringList &args) {
    return ParseArguments(args, "Tarvin", "tarvin");
}

const char *const kUsageLines[] = {
    "Opens Tarvin, displays the specified message, or executes the",
    "command(s) specified by the switches below.",
    "",
    "tarvin [ message filename ] [/C[:options] foldernames] [/S] [/?|/H]",
    "  /C        Convert file dates in the specified folders.",
    "            Folder names can be relative.",
    "            Use double quotes around folder names that contain spaces.",
    "  options     R Recursive: apply to subfolders.",
    "              U Set message file time to UTC (default is local time).",
    "  /S        Run silently: hide status messages.",
    "  /?, /H    Show this help display.",
};

} // namespace

TEST(UsageText, ElevenDescribedLinesThenTheExportLineJoinedByCrLf) {
    QStringList lines = UsageText("Tarvin", "tarvin").split("\r\n");
    ASSERT_EQ(lines.size(), 12);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(lines.at(i), QString::fromLatin1(kUsageLines[i])) << "line " << i + 1;
    EXPECT_TRUE(lines.at(11).startsWith("  /E:PDF    ")) << lines.at(11).toStdString();
    EXPECT_FALSE(UsageText("Tarvin", "tarvin").endsWith("\n"));
    EXPECT_TRUE(UsageText("Prod", "prog").startsWith("Opens Prod,"));
}

TEST(ParseArguments, NoArgumentsAndFilesSelectViewerMode) {
    EXPECT_EQ(parse({}).Mode, rmViewer);
    TStartupOptions options = parse({"a.pml", "b.pml"});
    EXPECT_EQ(options.Mode, rmViewer);
    EXPECT_EQ(options.Folders, QStringList({"a.pml", "b.pml"}));
    // "/S" alone does not select conversion mode.
    options = parse({"/S"});
    EXPECT_EQ(options.Mode, rmViewer);
    EXPECT_TRUE(options.Silent);
}

TEST(ParseArguments, ConvertSwitchAndItsOptions) {
    TStartupOptions options = parse({"/C", "one", "two"});
    EXPECT_EQ(options.Mode, rmConvert);
    EXPECT_FALSE(options.Recursive);
    EXPECT_FALSE(options.Utc);
    EXPECT_EQ(options.Folders, QStringList({"one", "two"}));

    options = parse({"/C:RX", "f"});
    EXPECT_TRUE(options.Recursive);
    EXPECT_FALSE(options.Utc);

    options = parse({"/c:ur"});
    EXPECT_TRUE(options.Recursive);
    EXPECT_TRUE(options.Utc);

    options = parse({"/C:"});
    EXPECT_EQ(options.Mode, rmConvert);
    EXPECT_FALSE(options.Recursive || options.Utc);
}

TEST(ParseArguments, SwitchesAndFoldersInAnyOrder) {
    for (const QStringList &args :
         {QStringList{"/S", "/C:R", "x", "y"}, QStringList{"x", "/C:R", "y", "/S"},
          QStringList{"x", "y", "/Silent", "/c:r"}}) {
        TStartupOptions options = parse(args);
        EXPECT_EQ(options.Mode, rmConvert) << args.join(' ').toStdString();
        EXPECT_TRUE(options.Silent);
        EXPECT_TRUE(options.Recursive);
        EXPECT_EQ(options.Folders, QStringList({"x", "y"}));
    }
}

TEST(ParseArguments, UsageAndInvalidSwitches) {
    for (const char *help : {"/?", "/H", "/h", "/Help"}) {
        try {
            parse({"/C", help});
            FAIL() << help;
        } catch (const UsageError &e) {
            EXPECT_TRUE(e.Requested());
            EXPECT_EQ(e.message(), UsageText("Tarvin", "tarvin"));
        }
    }
    try {
        parse({"/Cx", "folder"});
        FAIL();
    } catch (const UsageError &e) {
        EXPECT_FALSE(e.Requested());
        EXPECT_EQ(e.message(), UsageText("Tarvin", "tarvin"));
    }
    try {
        parse({"folder", "/Q"});
        FAIL();
    } catch (const InvalidArgumentError &e) {
        EXPECT_EQ(e.message(), "Invalid command-line argument: /Q");
    }
    // The first bad switch decides.
    EXPECT_THROW(parse({"/Q", "/?"}), InvalidArgumentError);
    EXPECT_THROW(parse({"/?", "/Q"}), UsageError);
    EXPECT_THROW(parse({"/"}), InvalidArgumentError);
    // Only a colon may follow "/C".
    EXPECT_THROW(parse({"/Convert:R"}), UsageError);
}

TEST(ParseArguments, ExportToPdfNeedsItsInputsAndOutputFolder) {
    TStartupOptions options = parse({"/e:pdf", "in", "/O", "/out/put", "b.pml", "/s"});
    EXPECT_EQ(options.Mode, rmExportPdf);
    EXPECT_EQ(options.Folders, QStringList({"in", "b.pml"}));
    EXPECT_EQ(options.OutputFolder, "/out/put");
    EXPECT_TRUE(options.Silent);
    // "/O" takes the next argument even when it looks like a switch.
    EXPECT_EQ(parse({"/E:PDF", "in", "/O", "/S"}).OutputFolder, "/S");
    for (const QStringList &bad :
         {QStringList{"/E:PDF", "in"}, QStringList{"/E:PDF", "/O", "out"},
          QStringList{"/E:PDF", "in", "/O"}, QStringList{"/E", "in", "/O", "o"},
          QStringList{"/E:TXT", "in", "/O", "o"}, QStringList{"in", "/O", "o"},
          QStringList{"/E:PDF", "in", "/Out", "o"}}) {
        try {
            parse(bad);
            FAIL() << bad.join(' ').toStdString();
        } catch (const UsageError &e) {
            EXPECT_FALSE(e.Requested());
        }
    }
}

TEST(ParseArguments, AbsolutePathsAreNotSwitches) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TStartupOptions options = parse({"/C", dir.path()});
    EXPECT_EQ(options.Folders, QStringList({dir.path()}));
    options = parse({"/tmp"});
    EXPECT_EQ(options.Mode, rmViewer);
    EXPECT_EQ(options.Folders, QStringList({"/tmp"}));
    EXPECT_TRUE(IsSwitchArgument("/Silent"));
    EXPECT_FALSE(IsSwitchArgument("/no/such/folder"));
}

TEST(ParseCommandLine, ShowsErrorsOnTheConsoleAndSetsExitStatus) {
    tarvin::testing::TRecordingDesktop console;
    int runs = 0;
    auto runner = [&](const TStartupOptions &) { ++runs; };

    EXPECT_EQ(ParseCommandLine({"/Q"}, runner), esInvalidCommandLine);
    EXPECT_EQ(console.ConsoleOutput,
              "Invalid command-line argument: /Q\n\nPress Enter to continue.");
    EXPECT_EQ(console.ConsoleReads, 1);
    EXPECT_EQ(RunMode(), rmNone);

    console.ConsoleOutput.clear();
    EXPECT_EQ(ParseCommandLine({"/?"}, runner), esSuccess);
    EXPECT_TRUE(console.ConsoleOutput.contains("Show this help display.") &&
                console.ConsoleOutput.endsWith("named after /O.\n\nPress Enter to continue."));

    EXPECT_EQ(ParseCommandLine({"/Cx", "f"}, runner), esInvalidCommandLine);
    EXPECT_EQ(runs, 0);

    // Conversion mode without folders does nothing at all.
    console.ConsoleOutput.clear();
    EXPECT_EQ(ParseCommandLine({"/C"}, runner), esSuccess);
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(console.ConsoleOutput.isEmpty());
    EXPECT_EQ(RunMode(), rmConvert);

    EXPECT_EQ(ParseCommandLine({"/C:U", "f", "/S"}, runner), esSuccess);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(SilentFlag());
    EXPECT_TRUE(UtcOption());
    EXPECT_EQ(FolderList(), QStringList({"f"}));
}

TEST(ParseCommandLine, AnEscapedConversionErrorIsShownEvenWhenSilent) {
    tarvin::testing::TRecordingDesktop console;
    auto failing = [](const TStartupOptions &) {
        throw Error("Cannot create file /x/CVTDATES.LOG");
    };
    EXPECT_EQ(ParseCommandLine({"/C", "/S", "f"}, failing), esConversionFailed);
    EXPECT_EQ(console.ConsoleOutput,
              "Cannot create file /x/CVTDATES.LOG\n\nPress Enter to continue.");
    EXPECT_EQ(RunMode(), rmConvert);
}
