#include "app/SingleInstance.h"
#include "LoadedLibraries.h"
#include "app/InstanceMessage.h"
#include "support/PmlWriter.h"
#include "support/Wait.h"
#include "util/NativePath.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

using namespace tarvin;
using tarvin::testing::DisplayLibrariesLoaded;
using tarvin::testing::WaitFor;

namespace {

QByteArray frameOf(const QByteArray &body) {
    char length[4];
    qToBigEndian(quint32(body.size()), length);
    return QByteArray(length, 4) + body;
}

QByteArray record(quint32 kind, const QByteArray &data) {
    char header[8];
    qToBigEndian(kind, header);
    qToBigEndian(quint32(data.size()), header + 4);
    return QByteArray(header, 8) + data;
}

} // namespace

TEST(InstanceMessage, CarriesTheArgumentsAsTypedWithTheSendersFolder) {
    const QStringList arguments{"x.pml", "/S", QString::fromUtf8("d\xC3\xA9j\xC3\xA0.pml"),
                                DecodeNativePath(QByteArray("caf\xE9.pml"))};
    const QByteArray frame = EncodeInstanceMessage(arguments, "/home/ann/mail");
    // The folder comes first, then every argument followed by CR LF, the last one too.
    EXPECT_EQ(frame, frameOf(record(2, "/home/ann/mail") +
                             record(1, "x.pml\r\n/S\r\nd\xC3\xA9j\xC3\xA0.pml\r\ncaf\xE9.pml\r\n")))
        << frame.toHex().toStdString();
    TInstanceMessage message;
    ASSERT_EQ(ParseInstanceMessage(frame, message), TParseState::Complete);
    EXPECT_EQ(message.Lines, arguments); // bytes that are not UTF-8 survive
    EXPECT_EQ(message.SenderFolder, "/home/ann/mail");
    EXPECT_EQ(ParseInstanceMessage(frame.left(frame.size() - 1), message), TParseState::Incomplete);

    // No arguments at all is a message too: it asks to show the main window.
    ASSERT_EQ(ParseInstanceMessage(EncodeInstanceMessage({}, QByteArray()), message),
              TParseState::Complete);
    EXPECT_TRUE(message.Lines.isEmpty());
    EXPECT_TRUE(message.SenderFolder.isEmpty());

    // Lines end with CR LF, CR or LF; the last line end adds no empty line.
    EXPECT_EQ(SplitCommandLineText("a\r\n\r\nb\rc\nd"), QStringList({"a", "", "b", "c", "d"}));
    EXPECT_EQ(SplitCommandLineText("a\r\n"), QStringList({"a"}));

    // Relative names are the sender's; switches and absolute names stay.
    EXPECT_EQ(ResolveReceivedArguments({"x.pml", "sub/y.pml", "/S", "/tmp/z.pml"}, "/home/ann"),
              QStringList({"/home/ann/x.pml", "/home/ann/sub/y.pml", "/S", "/tmp/z.pml"}));
    EXPECT_EQ(ResolveReceivedArguments({"x.pml"}, QString()), QStringList({"x.pml"}));

    // Too many arguments: the ones that do not fit are left off, never the first.
    const QString longName = QString(40000, QLatin1Char('n'));
    ASSERT_EQ(ParseInstanceMessage(EncodeInstanceMessage({longName, longName}, "/"), message),
              TParseState::Complete);
    EXPECT_EQ(message.Lines, QStringList({longName}));
    EXPECT_TRUE(EncodeInstanceMessage({QString(70000, QLatin1Char('n'))}, "/").isEmpty());

    // Qt's own options are not arguments of ours.
    EXPECT_EQ(WithoutQtOptions({"-style", "fusion", "--platform=xcb", "-reverse", "a.pml",
                                "-display", ":1", "-x.pml", "-style"}),
              QStringList({"a.pml", "-x.pml", "-style"}));
}

TEST(InstanceMessage, RefusesWhatNoSenderOfOursWrites) {
    TInstanceMessage message;
    const QByteArray lines = record(1, "a.pml\r\n");
    EXPECT_EQ(ParseInstanceMessage(frameOf(lines), message), TParseState::Complete);
    // Over the limit: refused from the length alone.
    EXPECT_EQ(ParseInstanceMessage(QByteArray("\xFF\xFF\xFF\xFF", 4), message),
              TParseState::Invalid);
    EXPECT_EQ(ParseInstanceMessage(QByteArray("\x00\x01\x00\x01", 4), message),
              TParseState::Invalid);
    // A second message on the same connection.
    EXPECT_EQ(ParseInstanceMessage(frameOf(lines) + frameOf(lines), message), TParseState::Invalid);
    // NUL bytes, records running past the body, half a record header, repeats, nothing to do.
    EXPECT_EQ(ParseInstanceMessage(frameOf(record(1, QByteArray("a\0b\r\n", 5))), message),
              TParseState::Invalid);
    EXPECT_EQ(ParseInstanceMessage(frameOf(record(2, QByteArray("/a\0", 3)) + lines), message),
              TParseState::Invalid);
    EXPECT_EQ(ParseInstanceMessage(frameOf(lines.left(lines.size() - 1)), message),
              TParseState::Invalid);
    EXPECT_EQ(ParseInstanceMessage(frameOf(lines + QByteArray("\x00\x00\x00", 3)), message),
              TParseState::Invalid);
    EXPECT_EQ(ParseInstanceMessage(frameOf(lines + lines), message), TParseState::Invalid);
    EXPECT_EQ(ParseInstanceMessage(frameOf(record(2, "/tmp")), message), TParseState::Invalid);
    EXPECT_EQ(ParseInstanceMessage(frameOf(QByteArray()), message), TParseState::Invalid);
    // Unknown records are passed over; a folder that is not absolute is not used.
    ASSERT_EQ(ParseInstanceMessage(frameOf(record(7, "?") + record(2, "rel") + lines), message),
              TParseState::Complete);
    EXPECT_TRUE(message.SenderFolder.isEmpty());

    // Damaged copies of a valid frame never read past their end and never crash.
    const QByteArray valid = EncodeInstanceMessage({"a.pml", "b.pml"}, "/home/ann");
    QRandomGenerator random(20261209);
    for (int round = 0; round < 20000; ++round) {
        QByteArray damaged = valid.left(random.bounded(valid.size() + 1));
        for (int flips = random.bounded(4); flips > 0 && !damaged.isEmpty(); --flips)
            damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
        ParseInstanceMessage(damaged, message);
    }
}

namespace {

// Runs the built program in folders of its own: a private runtime folder (where the instance
// socket and the viewers' work folders lie) and configuration folder, offscreen. Every process
// started is killed at the end.
class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        for (const char *folder : {"runtime", "config", "here", "there"})
            ASSERT_TRUE(QDir(m_root.path()).mkpath(folder));
        ASSERT_EQ(::chmod(QFile::encodeName(Path("runtime")).constData(), 0700), 0);
    }
    void TearDown() override {
        for (auto &process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(10000);
            }
        }
    }

    QString Path(const QString &name) const { return m_root.path() + "/" + name; }

    // A mail whose HTML body holds `marker`; a viewer showing it writes the body into its work
    // folder, which is how these tests see what a running viewer opened.
    QString WriteMessage(const QString &path, const QString &marker) const {
        PmlWriter mail(mtMail);
        mail.SetCore("subject", marker);
        mail.AddAttachment(
            PmlAttachment::File("TEXT.htm", "<html><body>" + marker.toUtf8() + "</body></html>"));
        EXPECT_TRUE(mail.WriteFile(path));
        return path;
    }

    // The markers of the HTML bodies that viewers have written so far.
    QStringList Opened() const {
        QStringList markers;
        QDirIterator it(Path("runtime/tarvin"), {"text.htm"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly)) {
                const QByteArray text = file.readAll();
                const qsizetype start = text.indexOf("<body>") + 6, end = text.indexOf("</body>");
                if (start >= 6 && end > start)
                    markers.append(QString::fromUtf8(text.mid(start, end - start)));
            }
        }
        markers.sort();
        return markers;
    }

    QProcess *Start(const QStringList &arguments, const QString &folder,
                    const QString &program = TARVIN_PROGRAM) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", Path("runtime"));
        env.insert("XDG_CONFIG_HOME", Path("config"));
        if (::geteuid() == 0)
            env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
        for (const QString &entry : m_extraEnvironment)
            env.insert(entry.section('=', 0, 0), entry.section('=', 1));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(folder);
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted(10000));
        m_processes.push_back(std::move(process));
        return m_processes.back().get();
    }

    QString SocketPath(const QString &program = TARVIN_PROGRAM) const {
        const QString canonical = QFileInfo(program).canonicalFilePath();
        return InstanceSocketPath(QFile::encodeName(canonical), Path("runtime/tarvin/"));
    }

    // Starts the first viewer with a message and waits until it shows it, so that it serves.
    QProcess *StartViewer(const QString &marker, const QString &program = TARVIN_PROGRAM) {
        const QString file = WriteMessage(Path("here/" + marker + ".pml"), marker);
        QProcess *viewer = Start({file}, Path("here"), program);
        EXPECT_TRUE(WaitFor([&] { return Opened().contains(marker); }, 60000))
            << Opened().join(',').toStdString();
        EXPECT_TRUE(QFile::exists(SocketPath(program)));
        return viewer;
    }

    // Runs a second start to its end; its exit status, or -1 when it did not end in time.
    int HandOver(const QStringList &arguments, const QString &folder) {
        QProcess *second = Start(arguments, folder);
        if (!second->waitForFinished(60000))
            return -1;
        EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
        return second->exitCode();
    }

    // Waits until the viewers have opened exactly `markers` (the answer to a second start comes
    // before the running viewer opens its file).
    ::testing::AssertionResult OpenedBecomes(const QStringList &markers) const {
        if (WaitFor([&] { return Opened() == markers; }, 60000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << Opened().join(',').toStdString();
    }

    int Running() const {
        int running = 0;
        for (const auto &process : m_processes)
            running += process->state() != QProcess::NotRunning;
        return running;
    }

    QTemporaryDir m_root;
    std::vector<std::unique_ptr<QProcess>> m_processes;
    QStringList m_extraEnvironment; // "NAME=value" for the processes started from now on
};

} // namespace

TEST_F(SingleInstance, SecondStartOpensTheFirstOfItsFilesInTheRunningViewer) {
    QProcess *viewer = StartViewer("AAA");
    const QString b = WriteMessage(Path("there/b.pml"), "BBB");
    const QString c = WriteMessage(Path("there/c.pml"), "CCC");
    // The second start hands over without loading any library that needs a display.
    m_extraEnvironment = {"LD_DEBUG=files"};
    QProcess *second = Start({b, c}, Path("there"));
    m_extraEnvironment.clear();
    ASSERT_TRUE(second->waitForFinished(60000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(DisplayLibrariesLoaded(QString::fromLocal8Bit(second->readAllStandardError())),
              QStringList());
    // Both windows are in the first process, the third file is not opened.
    EXPECT_TRUE(OpenedBecomes({"AAA", "BBB"}));
    EXPECT_EQ(viewer->state(), QProcess::Running);
    EXPECT_EQ(Running(), 1);

    // A conversion never takes part: it runs in its own process while the viewer runs.
    EXPECT_EQ(HandOver({"/C", "/S", Path("there")}, Path("here")), 0);
    EXPECT_TRUE(QFile::exists(Path("there/pmlver.000")));
    EXPECT_EQ(Opened(), QStringList({"AAA", "BBB"}));
}

TEST_F(SingleInstance, SecondStartWithoutArgumentsShowsTheExplorer) {
    QProcess *viewer = StartViewer("AAA");
    // Started with a file, the explorer stays hidden and is never activated, so it keeps no
    // folder-tree state.
    const QString folders = Path("config/Halvorn/Tarvin/Folders.DAT");
    EXPECT_FALSE(QFile::exists(folders));
    EXPECT_EQ(HandOver({}, Path("there")), 0);
    // Now shown and activated, it saves its state when the viewer is told to end.
    viewer->terminate();
    ASSERT_TRUE(viewer->waitForFinished(20000));
    EXPECT_EQ(viewer->exitStatus(), QProcess::NormalExit)
        << viewer->readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(folders));
}

TEST_F(SingleInstance, RelativeNameMeansTheSendersFolder) {
    StartViewer("AAA");
    WriteMessage(Path("here/same.pml"), "HERE");
    WriteMessage(Path("there/same.pml"), "THERE");
    EXPECT_EQ(HandOver({"same.pml"}, Path("there")), 0);
    EXPECT_TRUE(OpenedBecomes({"AAA", "THERE"}));
}

TEST_F(SingleInstance, CopiesInOtherFoldersRunSideBySideAndAStaleSocketIsReplaced) {
    // A socket left by a crashed viewer of the copy: nobody listens on it.
    ASSERT_TRUE(QDir(m_root.path()).mkpath("copy"));
    const QString copy = Path("copy/tarvin");
    ASSERT_TRUE(QFile::copy(TARVIN_PROGRAM, copy));
    // The launcher finds its windows beside it.
    ASSERT_TRUE(QDir(m_root.path()).mkpath("copy/lib/tarvin"));
    ASSERT_TRUE(QFile::copy(TARVIN_GUI_LIBRARY, Path("copy/lib/tarvin/tarvin-gui.so")));
    ASSERT_TRUE(QDir(Path("runtime")).mkpath("tarvin"));
    {
        const QByteArray stale = QFile::encodeName(SocketPath(copy));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        ASSERT_LT(size_t(stale.size()), sizeof address.sun_path);
        memcpy(address.sun_path, stale.constData(), size_t(stale.size()));
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
        ASSERT_TRUE(QFile::exists(SocketPath(copy)));
    }

    QProcess *original = StartViewer("AAA");
    QProcess *copied = StartViewer("COPY", copy);
    EXPECT_EQ(original->state(), QProcess::Running);
    EXPECT_EQ(copied->state(), QProcess::Running);
    EXPECT_NE(SocketPath(), SocketPath(copy));

    // Each hands over to its own program's viewer.
    EXPECT_EQ(HandOver({WriteMessage(Path("there/b.pml"), "BBB")}, Path("there")), 0);
    EXPECT_TRUE(OpenedBecomes({"AAA", "BBB", "COPY"}));
    EXPECT_EQ(Running(), 2);

    // A viewer that is told to end removes its socket; one killed leaves it behind, and the
    // next start replaces it.
    copied->terminate();
    ASSERT_TRUE(copied->waitForFinished(20000));
    EXPECT_EQ(copied->exitStatus(), QProcess::NormalExit)
        << copied->readAllStandardError().toStdString();
    EXPECT_FALSE(QFile::exists(SocketPath(copy)));
    original->kill();
    ASSERT_TRUE(original->waitForFinished(20000));
    EXPECT_TRUE(QFile::exists(SocketPath()));
    StartViewer("DDD");
    EXPECT_EQ(Running(), 1);
}

TEST(InstanceServer, RemovesItsSocketWhenItEnds) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/viewer";
    TViewerStart first = StartSingleInstance({}, path);
    ASSERT_FALSE(first.HandedOver);
    ASSERT_GE(first.ListeningSocket, 0);
    {
        TInstanceServer server(first.ListeningSocket, path);
        EXPECT_TRUE(server.Listen());
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_EQ(QFileInfo(path).permissions() &
                      (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                  QFile::Permissions());
    }
    EXPECT_FALSE(QFile::exists(path));
    TViewerStart next = StartSingleInstance({}, path);
    EXPECT_FALSE(next.HandedOver);
    EXPECT_GE(next.ListeningSocket, 0);
    TInstanceServer closing(next.ListeningSocket, path);
}

TEST_F(SingleInstance, RacingStartsMakeOneViewer) {
    // Several starts at the same moment: one becomes the viewer and every other one hands its
    // file to it (and is answered only after the viewer has opened it).
    std::vector<QProcess *> starts;
    QStringList markers;
    for (int i = 0; i < 4; ++i) {
        markers.append(QStringLiteral("RACE%1").arg(i));
        starts.push_back(Start(
            {WriteMessage(Path("here/" + markers.last() + ".pml"), markers.last())}, Path("here")));
    }
    EXPECT_TRUE(WaitFor([&] { return Running() == 1; }, 120000)) << Running();
    for (QProcess *start : starts) {
        if (start->state() == QProcess::NotRunning) {
            EXPECT_EQ(start->exitCode(), 0) << start->readAllStandardError().toStdString();
        }
    }
    EXPECT_TRUE(WaitFor([&] { return Opened() == markers; }, 60000))
        << Opened().join(',').toStdString();
}

TEST_F(SingleInstance, HostileClientsNeitherStopNorBlockTheViewer) {
    QProcess *viewer = StartViewer("AAA");
    auto connectClient = [&] {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(SocketPath());
        EXPECT_TRUE(socket->waitForConnected(5000));
        return socket;
    };
    auto answer = [](QLocalSocket &socket) {
        WaitFor([&] { return socket.bytesAvailable() >= 4; }, 20000);
        const QByteArray reply = socket.read(4);
        return reply.size() == 4 ? qFromBigEndian<qint32>(reply.constData()) : -1;
    };

    // Clients that connect and say nothing are dropped after a few seconds.
    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < 3; ++i)
        silent.push_back(connectClient());

    auto oversized = connectClient();
    oversized->write(QByteArray("\x00\x01\x00\x01", 4) + QByteArray(1000, 'x'));
    EXPECT_EQ(answer(*oversized), 0);

    auto garbage = connectClient();
    garbage->write(frameOf(record(1, QByteArray("AAA.pml\0\r\n", 10))));
    EXPECT_EQ(answer(*garbage), 0);

    auto noise = connectClient();
    noise->write(frameOf(QByteArray("\x01\x02\x03\x04\x05\x06\x07", 7)));
    EXPECT_EQ(answer(*noise), 0);

    // Meanwhile a real second start is served at once.
    EXPECT_EQ(HandOver({WriteMessage(Path("there/b.pml"), "BBB")}, Path("there")), 0);
    EXPECT_TRUE(OpenedBecomes({"AAA", "BBB"}));

    for (auto &socket : silent) {
        EXPECT_TRUE(
            WaitFor([&] { return socket->state() == QLocalSocket::UnconnectedState; }, 20000));
    }
    EXPECT_EQ(viewer->state(), QProcess::Running);
}
