#include "LoadedLibraries.h"
#include "support/PmlWriter.h"
#include "support/Wait.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

using namespace tarvin;

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

// Runs the built program with arguments passed byte for byte (names need not be UTF-8) and
// `setEnv` added to the environment; standard input is empty. With `closedOutput` standard
// output is a pipe whose reading end is already closed, as after "tarvin /C dir | head".
// Returns the exit status, or -1 when the program was killed or ran past 30 s.
int runRaw(const std::vector<QByteArray> &arguments, const QStringList &setEnv, bool closedOutput) {
    std::vector<QByteArray> environment;
    for (char **entry = environ; *entry; ++entry) {
        const QByteArray text(*entry);
        const QByteArray key = text.left(text.indexOf('=') + 1);
        bool replaced = false;
        for (const QString &set : setEnv)
            replaced = replaced || set.toUtf8().startsWith(key);
        if (!replaced)
            environment.push_back(text);
    }
    for (const QString &entry : setEnv)
        environment.push_back(entry.toUtf8());
    std::vector<char *> envp, argv{const_cast<char *>(TARVIN_PROGRAM)};
    for (QByteArray &entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<QByteArray> args = arguments;
    for (QByteArray &argument : args)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    int pipeEnds[2] = {-1, -1};
    if (closedOutput) {
        EXPECT_EQ(pipe(pipeEnds), 0);
        close(pipeEnds[0]);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = -1;
    const int spawned =
        posix_spawn(&pid, TARVIN_PROGRAM, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (closedOutput)
        close(pipeEnds[1]);
    EXPECT_EQ(spawned, 0);
    if (spawned != 0)
        return -1;
    int status = 0;
    if (!tarvin::testing::WaitFor([&] { return waitpid(pid, &status, WNOHANG) != 0; }, 30000)) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

qint64 mtimeSeconds(const QByteArray &nativePath) {
    struct stat st {};
    return ::stat(nativePath.constData(), &st) == 0 ? qint64(st.st_mtim.tv_sec) : -1;
}

// A folder of messages and a private configuration folder for the log.
class HostileRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkpath("config"));
        ASSERT_TRUE(QDir(m_dir.path()).mkpath("runtime"));
    }
    QByteArray Native(const QByteArray &name) const {
        return QFile::encodeName(m_dir.path()) + "/" + name;
    }
    QString LogText() const {
        QFile log(m_dir.path() + "/config/Halvorn/Tarvin/CVTDATES.LOG");
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }
    QStringList Env(const QStringList &more = {}) const {
        // A private runtime folder: a viewer started here must not meet the user's own.
        return QStringList{"XDG_CONFIG_HOME=" + m_dir.path() + "/config",
                           "XDG_RUNTIME_DIR=" + m_dir.path() + "/runtime"} +
               more;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(HostileRun, ClosedOutputPipeStillConvertsEveryFileAndSavesTheLog) {
    const QByteArray folder = Native("many");
    ASSERT_EQ(mkdir(folder.constData(), 0700), 0);
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(
            PmlWriter(mtMail)
                .SetItem("date-delivered", "20030115T103000")
                .WriteFile(QFile::decodeName(folder + "/m" + QByteArray::number(i) + ".pml")));
    EXPECT_EQ(runRaw({"/C", folder}, Env(), true), 0);
    for (int i = 0; i < 40; ++i)
        EXPECT_LT(mtimeSeconds(folder + "/m" + QByteArray::number(i) + ".pml"), 1100000000) << i;
    EXPECT_TRUE(LogText().contains("40 messages converted")) << LogText().toStdString();
}

TEST_F(HostileRun, CommaDecimalLocaleAndLatin1NamesConvert) {
    // The appointment's fractional duration is read with "." under a German desktop, and the
    // folder named in Latin-1 on the command line is found as it is.
    const QByteArray folder = Native("d\xE9p\xF4t");
    ASSERT_EQ(mkdir(folder.constData(), 0700), 0);
    ASSERT_TRUE(PmlWriter(mtAppointment)
                    .SetItem("start-date", "20040602T080509")
                    .SetItem("duration", "1.5")
                    .WriteFile(QFile::decodeName(Native("appointment.pml"))));
    ASSERT_EQ(rename(Native("appointment.pml").constData(), (folder + "/caf\xE9.pml").constData()),
              0);
    EXPECT_EQ(runRaw({"/C", "/S", folder}, Env({"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"}), false),
              0);
    EXPECT_LT(mtimeSeconds(folder + "/caf\xE9.pml"), 1100000000);
    EXPECT_TRUE(LogText().contains("1 message converted")) << LogText().toStdString();
    EXPECT_TRUE(LogText().contains(QString::fromUtf8("/dépôt"))) << LogText().toStdString();
    std::filesystem::remove_all(folder.toStdString()); // QTemporaryDir cannot name it
}

TEST_F(HostileRun, QtOptionsAreNotTakenForAFile) {
    // "-style fusion" alone is a start without files: the explorer opens and the program keeps
    // running (a file that opened nothing would have ended it at once).
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : Env())
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    env.insert("XDG_RUNTIME_DIR", m_dir.path());
    process.setProcessEnvironment(env);
    process.start(TARVIN_PROGRAM, {"-style", "fusion", "-platform", "offscreen"});
    ASSERT_TRUE(process.waitForStarted());
    EXPECT_FALSE(process.waitForFinished(3000)) << process.exitCode();
    process.kill();
    process.waitForFinished();
}

TEST_F(HostileRun, SignalsToEndRemoveTheWorkFoldersAsANormalExitDoes) {
    // SIGINT and SIGHUP killed the viewer and left its work folder (often in RAM) behind.
    PmlWriter mail(mtMail);
    mail.AddAttachment(PmlAttachment::File("TEXT.htm", "<p>body</p>"));
    const QString file = m_dir.path() + "/html.pml";
    ASSERT_TRUE(mail.WriteFile(file));
    const QString workFolder = m_dir.path() + "/runtime/tarvin/_vwr0000";
    for (int signal : {SIGINT, SIGHUP, SIGTERM}) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &entry : Env({"QT_QPA_PLATFORM=offscreen"}))
            env.insert(entry.section('=', 0, 0), entry.section('=', 1));
        process.setProcessEnvironment(env);
        process.start(TARVIN_PROGRAM, {file});
        ASSERT_TRUE(process.waitForStarted());
        EXPECT_TRUE(tarvin::testing::WaitFor(
            [&] { return QFileInfo::exists(workFolder + "/text.htm"); }, 20000))
            << signal;
        ::kill(pid_t(process.processId()), signal);
        EXPECT_TRUE(process.waitForFinished(20000)) << signal;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_FALSE(QFileInfo::exists(workFolder)) << signal;
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
}

TEST(Program, UsageTextWithoutDisplay) {
    RunResult result = runTarvin({"/?"});
    EXPECT_EQ(result.exitCode, 0);
    QStringList lines = result.output.split('\n');
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines.at(0), "Opens Tarvin, displays the specified message, or executes the");
    EXPECT_EQ(lines.at(3), "tarvin [ message filename ] [/C[:options] foldernames] [/S] [/?|/H]");
    EXPECT_EQ(lines.at(10), "  /?, /H    Show this help display.");
    EXPECT_TRUE(lines.at(11).startsWith("  /E:PDF    "));
    EXPECT_EQ(lines.at(12), "");
    EXPECT_EQ(lines.at(13), "Press Enter to continue.");
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

TEST(Program, UsageAndConversionLoadNoDisplayLibrary) {
    // The launcher serves these with QtCore alone; what it does not know goes to the windows'
    // library, which is seen here loading Qt's widgets (and so that the check can see them).
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto run = [](const QStringList &arguments, int expectedStatus) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        env.insert("LD_DEBUG", "files");
        process.setProcessEnvironment(env);
        process.start(TARVIN_PROGRAM, arguments);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), expectedStatus) << arguments.join(' ').toStdString();
        return tarvin::testing::DisplayLibrariesLoaded(
            QString::fromLocal8Bit(process.readAllStandardError()));
    };
    EXPECT_EQ(run({"/?"}, 0), QStringList());
    EXPECT_EQ(run({"/C", "/S", folder.path()}, 0), QStringList());
    EXPECT_EQ(run({"/Cx", folder.path()}, 2), QStringList());
    EXPECT_TRUE(run({"/Q"}, 2).join(' ').contains("Qt6Widgets"));
}

TEST_F(HostileRun, OnlyAnHtmlBodyLoadsTheHtmlEngine) {
    // The HTML engine is a library of its own, loaded when an HTML body is about to be shown:
    // a plain-text message and the explorer (with its folder tree and list) never load it.
    PmlWriter plain(mtMail);
    plain.SetPlainText("plain body");
    const QString plainFile = m_dir.path() + "/plain.pml";
    ASSERT_TRUE(plain.WriteFile(plainFile));
    PmlWriter html(mtMail);
    html.AddAttachment(PmlAttachment::File("TEXT.htm", "<p>html body</p>"));
    const QString htmlFile = m_dir.path() + "/html.pml";
    ASSERT_TRUE(html.WriteFile(htmlFile));
    // An empty home: the explorer shows no message in its quick view.
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("home"));
    // Runs the viewer until `shown` is traced (and `linger` ms more), then ends it; returns
    // the HTML engine's libraries that it loaded.
    auto engineLoaded = [&](const QStringList &arguments, const QString &shown, int linger) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &entry :
             Env({"QT_QPA_PLATFORM=offscreen", "LD_DEBUG=files", "TARVIN_TRACE_STARTUP=1",
                  "HOME=" + m_dir.path() + "/home"}))
            env.insert(entry.section('=', 0, 0), entry.section('=', 1));
        process.setProcessEnvironment(env);
        process.start(TARVIN_PROGRAM, arguments);
        EXPECT_TRUE(process.waitForStarted());
        QString report;
        EXPECT_TRUE(tarvin::testing::WaitFor(
            [&] {
                report += QString::fromLocal8Bit(process.readAllStandardError());
                return report.contains(shown);
            },
            30000))
            << shown.toStdString();
        process.waitForFinished(linger);
        ::kill(pid_t(process.processId()), SIGTERM);
        EXPECT_TRUE(process.waitForFinished(20000));
        report += QString::fromLocal8Bit(process.readAllStandardError());
        return tarvin::testing::DisplayLibrariesLoaded(report).filter("WebEngine");
    };
    EXPECT_EQ(engineLoaded({plainFile}, "tarvin-trace body", 500), QStringList());
    // The splash stays 2 s; then the folder tree and the message list come alive.
    EXPECT_EQ(engineLoaded({}, "tarvin::TExplorerForm", 3000), QStringList());
    EXPECT_FALSE(engineLoaded({htmlFile}, "tarvin-trace body", 0).isEmpty());
}
