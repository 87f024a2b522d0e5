#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

struct RunResult {
    int exitCode = -1;
    QString output;
};

// Runs the built program without a display, answering its prompt with Enter.
RunResult runTarvin(const QStringList &arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    process.setProcessEnvironment(env);
    process.start(TARVIN_PROGRAM, arguments);
    EXPECT_TRUE(process.waitForStarted());
    process.write("\n");
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput())};
}

} // namespace

TEST(Program, UsageTextWithoutDisplay) {
    RunResult result = runTarvin({"/?"});
    EXPECT_EQ(result.exitCode, 0);
    QStringList lines = result.output.split('\n');
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines.at(0), "Opens Tarvin, displays the specified message, or executes the");
    EXPECT_EQ(lines.at(3), "tarvin [ message filename ] [/C[:options] foldernames] [/S] [/?|/H]");
    EXPECT_EQ(lines.at(10), "  /?, /H    Show this help display.");
    EXPECT_EQ(lines.at(11), "");
    EXPECT_EQ(lines.at(12), "Press Enter to continue.");
}

TEST(Program, InvalidSwitchAndEmptyConversion) {
    RunResult invalid = runTarvin({"/Q"});
    EXPECT_EQ(invalid.exitCode, 2);
    EXPECT_EQ(invalid.output, "Invalid command-line argument: /Q\n\nPress Enter to continue.");

    RunResult empty = runTarvin({"/C"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.output, "");

    RunResult malformed = runTarvin({"/Cx", "folder"});
    EXPECT_EQ(malformed.exitCode, 2);
    EXPECT_TRUE(malformed.output.startsWith("Opens Tarvin,"));
}
